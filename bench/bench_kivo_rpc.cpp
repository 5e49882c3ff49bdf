// Round trips of the RPC server on loopback, next to a raw TCP ping-pong in the same run:
// small calls per second with their p50/p99 latency (the built-in ping, answered by the
// server's loop, and a registered call run by a worker), the throughput of the registered
// call with 1, 4 and 16 concurrent clients, then 64 clients each making 300 echo calls of
// random values (calls per second, p50/p99, every reply checked), alone and with hostile
// clients connected. Runs the server in this process with the test services, on free ports.
// Argument: the number of round trips per measurement (default 5000).
#include "EchoPayload.h"
#include "FreePort.h"
#include "KivoClient.h"
#include "kivo_marshal.h"
#include "kivo_server.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const int kServerPort = kivotest::freeTcpPort();

struct Figures {
    double perSecond, p50us, p99us;
};

Figures summarise(std::vector<double> us, double seconds) {
    std::sort(us.begin(), us.end());
    return {us.size() / seconds, us[us.size() / 2], us[us.size() * 99 / 100]};
}

template <typename F> Figures measure(int n, F&& roundTrip) {
    std::vector<double> us(static_cast<size_t>(n));
    const auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        const auto t0 = Clock::now();
        if (!roundTrip()) {
            std::fprintf(stderr, "round trip failed\n");
            std::exit(1);
        }
        us[static_cast<size_t>(i)] =
            std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    }
    return summarise(std::move(us), std::chrono::duration<double>(Clock::now() - start).count());
}

// A plain TCP echo of 16-byte messages on its own thread.
void rawEchoServer(SOCKET listener) {
    SOCKET s = accept(listener, nullptr, nullptr);
    const int one = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    char buf[16];
    for (;;) {
        int got = 0;
        while (got < 16) {
            const int n = recv(s, buf + got, 16 - got, 0);
            if (n <= 0) {
                closesocket(s);
                return;
            }
            got += n;
        }
        send(s, buf, 16, 0);
    }
}

Figures rawPingPong(int n) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof a;
    bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a); // a free port, asked for below
    getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
    listen(listener, 1);
    std::thread server(rawEchoServer, listener);
    SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
    const int one = 1;
    setsockopt(c, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    char buf[16] = "ping-pong-bytes";
    const Figures f = measure(n, [&] {
        if (send(c, buf, 16, 0) != 16)
            return false;
        int got = 0;
        while (got < 16) {
            const int r = recv(c, buf + got, 16 - got, 0);
            if (r <= 0)
                return false;
            got += r;
        }
        return true;
    });
    closesocket(c);
    server.join();
    closesocket(listener);
    return f;
}

bool connectClient(kivotest::KivoClient& c) {
    return c.connectTo(kServerPort) && c.handshake() && c.setVersion(13);
}

kivotest::Bytes slowArguments() {
    kivotest::Bytes b(8);
    kivo_sprintf1(13, 0, nullptr, reinterpret_cast<char*>(b.data()), "%n%n", nullptr, 0, 0);
    return b;
}

bool smallCall(kivotest::KivoClient& c, const kivotest::Bytes& args) {
    const kivotest::Message m = c.call("kivotest_slow", args);
    return m.kind == kivotest::Message::kReply && m.code == 4;
}

void print(const char* what, const Figures& f, const Figures& raw) {
    std::printf("%-34s %9.0f /s   p50 %7.1f us   p99 %7.1f us   p50 / raw p50 %.2f\n", what,
                f.perSecond, f.p50us, f.p99us, f.p50us / raw.p50us);
}

// 64 clients at several protocol versions, each making `calls` echo calls of random values;
// every reply is checked. The figures count every call; `wrong` the replies that were lost or
// did not carry what was sent.
Figures echoLoad(int calls, int& wrong) {
    const int versions[] = {2, 5, 9, 11, 13, 16};
    std::mutex lock;
    std::vector<double> us;
    std::atomic<int> bad{0};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int t = 0; t < 64; ++t)
        threads.emplace_back([&, t] {
            const int version = versions[t % 6];
            std::mt19937 rng(static_cast<uint32_t>(t));
            std::vector<double> mine;
            kivotest::KivoClient c;
            if (!c.connectTo(kServerPort) || !c.handshake() ||
                (version > 1 && !c.setVersion(version))) {
                bad += calls;
                return;
            }
            for (int i = 0; i < calls; ++i) {
                const kivotest::EchoValues x = kivotest::randomEcho(rng);
                kivotest::CallOptions o;
                const kivotest::Bytes payload = kivotest::echoPayload(c, x, &o.counter);
                const auto t0 = Clock::now();
                const kivotest::Message m = c.call("kivotest_echo", payload, o, nullptr, 30000);
                mine.push_back(
                    std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
                kivotest::EchoValues got;
                if (m.kind != kivotest::Message::kReply || m.code <= 0 ||
                    kivotest::readEcho(c, m.payload, got) != m.code ||
                    !kivotest::sameEcho(x, got, version))
                    ++bad;
            }
            std::lock_guard<std::mutex> hold(lock);
            us.insert(us.end(), mine.begin(), mine.end());
        });
    for (std::thread& t : threads)
        t.join();
    wrong = bad;
    if (us.empty())
        us.push_back(0);
    return summarise(std::move(us), std::chrono::duration<double>(Clock::now() - start).count());
}

// Clients that try to stop the server for everyone: calls whose counters lie far beyond what
// they sent, repeated; a client that pipelines pings and reads no reply; clients that claim
// 16 MiB of input and send none.
class Hostiles {
public:
    Hostiles() {
        for (int i = 0; i < 16; ++i)
            threads_.emplace_back([this] { farAhead(); });
        threads_.emplace_back([this] { pipeliner(); });
        const std::string claim = "[kivo_call_v2]/kivotest_echo/16777216/";
        for (int i = 0; i < 100; ++i) {
            claimers_.push_back(std::make_unique<kivotest::KivoClient>());
            kivotest::KivoClient& c = *claimers_.back();
            if (c.connectTo(kServerPort) && c.handshake() && c.setVersion(2))
                c.sendTransformed(kivotest::Bytes(claim.begin(), claim.end()));
        }
    }
    ~Hostiles() {
        stop_ = true;
        for (std::thread& t : threads_)
            t.join();
    }
    Hostiles(const Hostiles&) = delete;
    Hostiles& operator=(const Hostiles&) = delete;

private:
    void farAhead() {
        kivotest::KivoClient c;
        if (!c.connectTo(kServerPort) || !c.handshake() || !c.setVersion(13))
            return;
        kivotest::EchoValues x;
        while (!stop_) { // one such call outstanding from each, again and again
            kivotest::CallOptions o;
            const kivotest::Bytes payload = kivotest::echoPayload(c, x);
            o.counter = int64_t{1} << 62;
            if (c.call("kivotest_echo", payload, o).kind != kivotest::Message::kReply)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }
    void pipeliner() {
        while (!stop_) { // each one is dropped once it stalls; the next takes its place
            kivotest::KivoClient c;
            if (!c.connectTo(kServerPort) || !c.handshake() || !c.setVersion(13))
                return;
            kivotest::Bytes pings;
            while (pings.size() < (4u << 20)) {
                const kivotest::Bytes one = c.frameCall("kivo_ping", kivotest::Bytes());
                pings.insert(pings.end(), one.begin(), one.end());
            }
            c.sendUntilStalled(pings, 500);
            for (int i = 0; i < 100 && !stop_; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
    std::vector<std::unique_ptr<kivotest::KivoClient>> claimers_;
};

void printLoad(const char* what, const Figures& f, const Figures& raw, int wrong) {
    std::printf("%-34s %9.0f calls/s   p50 %7.1f us   p99 %8.1f us   p50 / raw p50 %.1f   "
                "%s\n",
                what, f.perSecond, f.p50us, f.p99us, f.p50us / raw.p50us,
                wrong ? "REPLIES LOST OR WRONG" : "every reply correct");
    if (wrong)
        std::printf("  %d replies lost or wrong\n", wrong);
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5000;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));
    SetCurrentDirectoryA(folder.c_str());
    kivotest::networkStart();
    if (kivo_server_init_4((folder + "\\").c_str(), kServerPort, nullptr, -1, 4, -1, 0,
                           "bench_kivo_rpc", "kivo_test_services.txt") != 0) {
        std::fprintf(stderr, "the server did not start\n");
        return 1;
    }
    const kivotest::Bytes args = slowArguments();
    std::printf("kivo_server round trips on loopback, %d per measurement\n", n);
    const Figures raw = rawPingPong(n);
    print("raw TCP ping-pong (16 bytes)", raw, raw);
    {
        kivotest::KivoClient c;
        if (!connectClient(c))
            return 1;
        for (int i = 0; i < 200; ++i)
            smallCall(c, args);
        print("built-in kivo_ping",
              measure(n, [&] { return c.call("kivo_ping", kivotest::Bytes()).code == 0; }), raw);
        print("small call (8 bytes in, 4 out)", measure(n, [&] { return smallCall(c, args); }),
              raw);
    }
    for (int clients : {1, 4, 16}) {
        std::atomic<int> failures{0};
        std::vector<std::thread> threads;
        const int each = std::max(1, n / clients);
        const auto start = Clock::now();
        for (int t = 0; t < clients; ++t)
            threads.emplace_back([&] {
                kivotest::KivoClient c;
                if (!connectClient(c)) {
                    ++failures;
                    return;
                }
                for (int i = 0; i < each; ++i)
                    if (!smallCall(c, args))
                        ++failures;
            });
        for (std::thread& t : threads)
            t.join();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("throughput, %2d concurrent clients   %9.0f calls/s%s\n", clients,
                    clients * each / seconds, failures ? "   (failures!)" : "");
    }
    int wrong = 0, wrongHostile = 0;
    const Figures load = echoLoad(300, wrong);
    printLoad("64 clients x 300 echo calls", load, raw, wrong);
    {
        Hostiles hostiles;
        const Figures hostile = echoLoad(300, wrongHostile);
        printLoad("the same, hostile clients connected", hostile, raw, wrongHostile);
    }
    kivo_server_shutdown();
    return wrong || wrongHostile ? 1 : 0;
}
