// Round trips of the RPC server on loopback, next to a raw TCP ping-pong in the same run:
// small calls per second with their p50/p99 latency (the built-in ping, answered by the
// server's loop, and a registered call run by a worker), then the throughput of the
// registered call with 1, 4 and 16 concurrent clients. Runs the server in this process with
// the test services. Argument: the number of round trips per measurement (default 5000).
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
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kServerPort = 18041;
constexpr int kRawPort = 18042;

struct Figures {
    double perSecond, p50us, p99us;
};

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
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::sort(us.begin(), us.end());
    return {n / seconds, us[us.size() / 2], us[us.size() * 99 / 100]};
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
    a.sin_port = htons(kRawPort);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
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
    kivo_server_shutdown();
    return 0;
}
