// Clients that try to stop the server for everyone: call counters outside what they sent,
// replies they never read, inputs they claim and never send, a cancel followed at once by a
// new protocol version; and many honest clients at once. Each time another client must be
// served meanwhile.
#include "ConformanceTarget.h"
#include "EchoPayload.h"
#include "FreePort.h"
#include "KivoClient.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace kivotest {

size_t heapInUse(); // test_kivo_server.cpp

namespace {

using Clock = std::chrono::steady_clock;
// A stalled server keeps others waiting for as long as the hostile client stays (tens of
// seconds); a busy machine, or 32-bit code under emulation, may take more than a second for a
// served ping.
constexpr int kServedWithinMs = 5000;

void connectAt(KivoClient& c, int port, int version) {
    ASSERT_TRUE(c.connectTo(port));
    ASSERT_TRUE(c.handshake());
    if (version > 1) {
        ASSERT_TRUE(c.setVersion(version)) << version;
    }
}

// A fresh client gets its ping answered within the time.
void expectAnotherClientServed(int port) {
    KivoClient c;
    connectAt(c, port, 13);
    const Message m = c.call("kivo_ping", Bytes(), {}, nullptr, kServedWithinMs);
    EXPECT_EQ(Message::kReply, m.kind) << "another client was not served in time";
    EXPECT_EQ(0, m.code);
}

std::string folderOfThisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string p(path);
    return p.substr(0, p.find_last_of("\\/"));
}

// The test host in a process of its own, on a free port, so that its shutdown can be timed.
// It serves until a line "quit" on its standard input, a pipe held here.
class HostProcess {
public:
    HostProcess() : port_(freeTcpPort()) {}
    ~HostProcess() {
        if (process_) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
        if (input_)
            CloseHandle(input_);
    }
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    bool start() {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE childInput = nullptr;
        if (!CreatePipe(&childInput, &input_, &inherit, 0))
            return false;
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        std::string command = "\"" + folderOfThisProgram() + "\\kivo_test_host.exe\" --port " +
                              std::to_string(port_) + " --keepalive " +
                              std::to_string(target().keepaliveSeconds);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = childInput;
        si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0,
                                            nullptr, nullptr, &si, &pi);
        CloseHandle(childInput);
        if (!started)
            return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        KivoClient probe; // listening once the services are loaded
        return probe.connectTo(port_, 30000);
    }
    int port() const { return port_; }
    // Asks the host to stop; true when it ended within the time.
    bool stopWithin(int ms) {
        DWORD written = 0;
        WriteFile(input_, "quit\n", 5, &written, nullptr);
        if (WaitForSingleObject(process_, static_cast<DWORD>(ms)) != WAIT_OBJECT_0)
            return false;
        CloseHandle(process_);
        process_ = nullptr;
        return true;
    }

private:
    int port_;
    HANDLE input_ = nullptr;
    HANDLE process_ = nullptr;
};

// A call whose counter names no byte the client sent, at once from 16 clients (more than
// the server has general workers): far ahead, one past what was sent, behind the stream.
TEST(Hostile, CountersOutsideWhatTheClientSentAnswerAtOnce) {
    HostProcess host;
    ASSERT_TRUE(host.start());
    enum Kind { kFarAhead, kJustBeyond, kBehind };
    struct Client {
        KivoClient c;
        Kind kind;
    };
    std::vector<std::unique_ptr<Client>> clients;
    EchoValues x;
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<Client>());
        Client& k = *clients.back();
        k.kind = static_cast<Kind>(i % 3);
        connectAt(k.c, host.port(), i % 2 ? 11 : 13);
        if (k.kind == kBehind) { // a call first, so that the server's stream has moved on
            CallOptions o;
            const Bytes payload = echoPayload(k.c, x, &o.counter);
            const Message m = k.c.call("kivotest_echo", payload, o);
            ASSERT_GT(m.code, 0);
            EchoValues got;
            ASSERT_EQ(m.code, readEcho(k.c, m.payload, got));
        }
    }
    for (auto& k : clients) {
        CallOptions o;
        const Bytes payload = echoPayload(k->c, x, &o.counter);
        if (k->kind == kFarAhead)
            o.counter = int64_t{1} << 62;
        else if (k->kind == kJustBeyond)
            o.counter += 1; // nothing was sent since the version was set
        else
            o.counter -= 1;
        ASSERT_TRUE(k->c.sendCall("kivotest_echo", payload, o));
    }
    for (auto& k : clients) {
        const Message m = k->c.readMessage(5000);
        EXPECT_EQ(Message::kReply, m.kind) << k->kind;
        EXPECT_EQ(-1030, m.code) << k->kind;
    }
    expectAnotherClientServed(host.port());
    // The calls leave nothing running that holds the shutdown up (a normal stop takes about
    // a second).
    EXPECT_TRUE(host.stopWithin(10000)) << "the host did not stop";
}

// A client that pipelines pings and never reads a reply: its replies stop being made once it
// holds enough of them, nobody else waits for it, and it is dropped when it takes none for a
// keepalive period.
TEST(Hostile, ClientThatReadsNoRepliesStallsNobody) {
    KivoClient hostile, other;
    connectAt(hostile, target().port, 13);
    connectAt(other, target().port, 13);
    Bytes pings;
    pings.reserve(20u << 20);
    while (pings.size() < (20u << 20)) {
        const Bytes one = hostile.frameCall("kivo_ping", Bytes());
        pings.insert(pings.end(), one.begin(), one.end());
    }
    std::atomic<bool> sending{true};
    size_t sent = 0;
    std::thread sender([&] {
        sent = hostile.sendUntilStalled(pings, 2000);
        sending = false;
    });
    int served = 0;
    bool stalled = false;
    while (!stalled && (sending || served < 20)) {
        const Message m = other.call("kivo_ping", Bytes(), {}, nullptr, kServedWithinMs);
        stalled = m.kind != Message::kReply || m.code != 0;
        served += stalled ? 0 : 1;
    }
    if (stalled)
        hostile.close(); // lets the sender go
    sender.join();
    ASSERT_FALSE(stalled) << "another client was not served after " << served << " pings";
    EXPECT_LT(sent, pings.size()) << "the server took every ping without its replies read";
    EXPECT_TRUE(hostile.resetByServer((4 * target().keepaliveSeconds + 5) * 1000))
        << "the non-reading client was kept";
    EXPECT_EQ(0, other.call("kivo_ping", Bytes()).code);
}

// Headers that claim 16 MiB of input which never comes: memory is taken as input arrives, not
// as it is claimed, and others are served. A real input of that order still arrives whole.
TEST(Hostile, ClaimedInputIsNotAllocatedBeforeItArrives) {
    const size_t before = heapInUse();
    {
        std::vector<std::unique_ptr<KivoClient>> claimers;
        const std::string header = "[kivo_call_v2]/kivotest_echo/16777216/";
        for (int i = 0; i < 100; ++i) {
            claimers.push_back(std::make_unique<KivoClient>());
            connectAt(*claimers.back(), target().port, 2);
            ASSERT_TRUE(claimers.back()->sendTransformed(Bytes(header.begin(), header.end())));
        }
        expectAnotherClientServed(target().port);
        const size_t claimed = heapInUse();
        EXPECT_LT(claimed, before + (64u << 20)) << "claimed inputs were allocated";

        KivoClient big;
        connectAt(big, target().port, 13);
        EchoValues x;
        x.block.resize(4u << 20);
        for (size_t i = 0; i < x.block.size(); ++i)
            x.block[i] = static_cast<unsigned char>(i * 7);
        CallOptions o;
        const Bytes payload = echoPayload(big, x, &o.counter);
        const Message m = big.call("kivotest_echo", payload, o, nullptr, 60000);
        ASSERT_GT(m.code, 0);
        EchoValues got;
        ASSERT_EQ(m.code, readEcho(big, m.payload, got));
        EXPECT_EQ(x.block, got.block);
    }
}

int slowCallsRunning() {
    static auto running = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kivo_server_kivotest.dll"), "kivotest_slow_running")));
    return running ? running() : -1;
}

// A canceled call's worker may still run on the client's keystreams: the client's next call
// (here one that keys new streams) waits until that worker has let go.
TEST(Hostile, CallAfterACancelWaitsForTheCanceledWorker) {
    KivoClient c;
    connectAt(c, target().port, 13);
    Bytes steps(8);
    kivo_sprintf1(13, 0, nullptr, reinterpret_cast<char*>(steps.data()), "%n%n", nullptr, 10, 500);
    ASSERT_TRUE(c.sendCall("kivotest_slow", steps));
    ASSERT_EQ(Message::kProgress, c.readMessage(5000).kind); // it runs, between two steps
    ASSERT_TRUE(c.sendTransformed(Bytes{' '}));
    Message m = c.readMessage(5000);
    ASSERT_EQ(-1027, m.code);
    ASSERT_TRUE(c.setVersion(13));
    EXPECT_EQ(0, slowCallsRunning()) << "the new streams were keyed while the call still ran";
    EchoValues x;
    CallOptions o;
    const Bytes payload = echoPayload(c, x, &o.counter);
    m = c.call("kivotest_echo", payload, o);
    ASSERT_GT(m.code, 0);
    EchoValues got;
    ASSERT_EQ(m.code, readEcho(c, m.payload, got));
    EXPECT_EQ(x.s, got.s);
    EXPECT_EQ(x.hidden, got.hidden);
}

int countFromEnvironment(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

// 64 clients at several protocol versions, each making 300 echo calls of random values
// (KIVO_TEST_LOAD_CALLS): every reply comes back and carries exactly what was sent.
TEST(Load, SixtyFourClientsEchoRandomPayloads) {
    const int calls = countFromEnvironment("KIVO_TEST_LOAD_CALLS", 300);
    const int versions[] = {2, 5, 9, 11, 13, 16};
    std::atomic<int> good{0}, bad{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 64; ++t)
        threads.emplace_back([&, t] {
            const int version = versions[t % 6];
            std::mt19937 rng(static_cast<uint32_t>(1000 + t));
            KivoClient c;
            if (!c.connectTo(target().port) || !c.handshake() ||
                (version > 1 && !c.setVersion(version))) {
                bad += calls;
                return;
            }
            for (int i = 0; i < calls; ++i) {
                const EchoValues x = randomEcho(rng);
                CallOptions o;
                const Bytes payload = echoPayload(c, x, &o.counter);
                const Message m = c.call("kivotest_echo", payload, o, nullptr, 30000);
                EchoValues got;
                if (m.kind == Message::kReply && m.code > 0 &&
                    readEcho(c, m.payload, got) == m.code && sameEcho(x, got, version))
                    ++good;
                else
                    ++bad;
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(64 * calls, good.load());
    EXPECT_EQ(0, bad.load());
}

} // namespace
} // namespace kivotest
