// The server in this process: dedicated pipes, the registry's calls, and clients that break
// the protocol, crowd the server or vanish, with the process's handles and heap watched.
#include "ConformanceTarget.h"
#include "EchoPayload.h"
#include "KivoClient.h"
#include "kivo_server.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kivotest {
namespace {

void connectAt(KivoClient& c, int version) {
    ASSERT_TRUE(c.connectTo(target().port));
    ASSERT_TRUE(c.handshake());
    if (version > 1) {
        ASSERT_TRUE(c.setVersion(version));
    }
}

bool serverAnswersPing() {
    KivoClient c;
    if (!c.connectTo(target().port) || !c.handshake() || !c.setVersion(13))
        return false;
    const Message m = c.call("kivo_ping", Bytes());
    return m.kind == Message::kReply && m.code == 0;
}

TEST(DedicatedPipe, UsePipeContinuesOverTheNamedPipe) {
    // Somebody holds the next pipe names: the server hands out a name of its own instead.
    std::vector<HANDLE> squatted;
    std::vector<std::string> squattedNames;
    for (int i = 0; i < 20; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "\\\\.\\pipe\\kivodpipe_%04d_%03d", target().port, i);
        HANDLE h =
            CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 255, 4096, 4096, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            squatted.push_back(h);
            squattedNames.push_back(name);
        }
    }
    KivoClient c;
    connectAt(c, 13);
    const Message m = c.call("kivo_use_pipe", Bytes());
    ASSERT_EQ(Message::kReply, m.kind);
    ASSERT_GT(m.code, 0);
    const std::string name(reinterpret_cast<const char*>(m.payload.data()));
    EXPECT_EQ(0u, name.find("\\\\.\\pipe\\kivodpipe_" + std::to_string(target().port) + "_"));
    for (const std::string& s : squattedNames)
        EXPECT_NE(s, name);
    for (HANDLE h : squatted)
        CloseHandle(h);
    ASSERT_TRUE(c.openPipe(name));
    EchoValues x;
    x.s = std::string(5000, 'p');
    CallOptions o;
    const Bytes payload = echoPayload(c, x, &o.counter);
    const Message e = c.call("kivotest_echo", payload, o);
    ASSERT_GT(e.code, 0);
    EchoValues got;
    ASSERT_EQ(e.code, readEcho(c, e.payload, got));
    EXPECT_EQ(x.s, got.s);
    EXPECT_EQ(x.innerS, got.innerS);
    EXPECT_EQ(x.hidden, got.hidden);
    EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
    std::vector<Message> progress;
    const Message slow = c.call(
        "kivotest_slow",
        [&] {
            Bytes b(8);
            kivo_sprintf1(13, 0, nullptr, reinterpret_cast<char*>(b.data()), "%n%n", nullptr, 2, 5);
            return b;
        }(),
        {}, &progress);
    EXPECT_EQ(4, slow.code);
    EXPECT_EQ(2u, progress.size());
}

TEST(DedicatedPipe, DedicatedThreadServesOnTheSocket) {
    KivoClient c;
    connectAt(c, 13);
    EXPECT_EQ(-7248, c.call("kivo_dedicated_thread", Bytes()).code);
    EXPECT_EQ(-7249, c.call("kivo_dedicated_thread", Bytes()).code); // already dedicated
    EchoValues x;
    CallOptions o;
    const Bytes payload = echoPayload(c, x, &o.counter);
    EXPECT_GT(c.call("kivotest_echo", payload, o).code, 0);
}

TEST(DedicatedPipe, AllDedicatedWorkersBoundAnswersMinus7249) {
    std::vector<std::unique_ptr<KivoClient>> bound;
    for (int i = 0; i < 4; ++i) {
        bound.push_back(std::make_unique<KivoClient>());
        connectAt(*bound.back(), 13);
        ASSERT_EQ(-7248, bound.back()->call("kivo_dedicated_thread", Bytes()).code);
    }
    KivoClient extra;
    connectAt(extra, 13);
    EXPECT_EQ(-7249, extra.call("kivo_dedicated_thread", Bytes()).code);
    EXPECT_EQ(-7249, extra.call("kivo_use_pipe", Bytes()).code);
    EXPECT_EQ(0, extra.call("kivo_ping", Bytes()).code);
    bound.clear();
    // The workers come free once their clients are gone.
    bool freed = false;
    for (int i = 0; i < 50 && !freed; ++i) {
        KivoClient again;
        connectAt(again, 13);
        freed = again.call("kivo_dedicated_thread", Bytes()).code == -7248;
        if (!freed)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(freed);
}

std::atomic<int> ownLogouts{0};
int ownLogout(const char*, int, int) {
    ++ownLogouts;
    return 0;
}
int ownFunction(int, int, int, char*, int, char**, void*, kivo_worker*, int) {
    return 0;
}

TEST(Registry, RegistrationRulesAndImmediateLogout) {
    const char* names[] = {"regtest_function", "regtest_logout"};
    kivo_service_fn functions[] = {ownFunction, ownFunction};
    const char* prints[] = {"rf", "rl"};
    EXPECT_EQ(1, kivo_register_service(ownLogout, names, functions, names, prints, nullptr, 2, 772,
                                       "regtest", 1, 0));
    EXPECT_EQ(0, kivo_register_service(ownLogout, names, functions, names, prints, nullptr, 2, 773,
                                       "regtest", 1, 0));
    EXPECT_EQ(1, kivo_register_service(ownLogout, names, functions, names, prints, nullptr, 2, 773,
                                       "regtest", 1, 0));
    EXPECT_EQ(1, kivo_register_service(ownLogout, names, functions, names, prints, nullptr, 0, 773,
                                       "kivotest", 1, 0));
    // Functions of the earlier service are still found after a later registration.
    KivoClient c;
    connectAt(c, 13);
    EXPECT_EQ(0, c.call("regtest_function", Bytes()).code);
    EXPECT_EQ(8, c.call("kivotest_logouts", Bytes()).code);

    // No connection has these uids: the logouts run at once, every one of them even when
    // they are queued faster than the auto-logout task wakes.
    const int before = ownLogouts;
    for (int uid = 987654; uid < 987654 + 5; ++uid)
        kivo_login(uid, "regtest_login", "regtest_logout", 1, 2);
    for (int i = 0; i < 100 && ownLogouts < before + 5; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(before + 5, ownLogouts);

    EXPECT_LT(kivo_secure_handle_set(nullptr, 5), 0);
    EXPECT_EQ(0, kivo_secure_handle_check(nullptr, 5));
    EXPECT_EQ(0, kivo_check_canceled(nullptr));
    EXPECT_EQ(KIVO_ERR_ALREADY_INITIALIZED, kivo_server_init(nullptr, -1, nullptr));
    EXPECT_EQ(KIVO_ERR_BAD_PROCESS_ID, kivo_init_ex(2));
    char** list = nullptr;
    int count = 0;
    EXPECT_EQ(0, kivo_server_get_kivo_service_list(&list, &count, std::calloc));
    ASSERT_EQ(3, count); // newest first
    EXPECT_STREQ("regtest", list[0]);
    EXPECT_STREQ("kivotest_other", list[1]);
    EXPECT_STREQ("kivotest", list[2]);
    for (int i = 0; i < count; ++i)
        std::free(list[i]);
    std::free(list);
    auto initialized = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kivo_server_kivotest.dll"), "kivotest_initialized")));
    ASSERT_NE(nullptr, initialized);
    EXPECT_EQ(1, initialized());
}

// Bytes a broken client sends after the key agreement at version 13; the server answers it
// (reply code), ignores what is no call and answers the call after it, or drops it; and goes on
// serving others.
struct Malformed {
    const char* what;
    std::string bytes;
    bool dropped;
    int code; // of the reply when not dropped
};

TEST(Robustness, MalformedHeadersAreAnsweredSkippedOrDropped) {
    const std::string ping = "[kivo_call_v2]/kivo_ping/1/0/0/0/1/match/";
    auto named = [](size_t length) {
        return "[kivo_call_v2]/" + std::string(length, 'n') + "/1/0/0/0/1/match/";
    };
    const Malformed cases[] = {
        {"negative length", "[kivo_call_v2]/kivotest_echo/1/0/0/-5/1/match/", true, 0},
        {"length above the maximum", "[kivo_call_v2]/kivotest_echo/1/0/0/999999999/1/match/", true,
         0},
        {"length not a number", "[kivo_call_v2]/kivotest_echo/1/0/0/12x/1/match/", true, 0},
        {"major not a number", "[kivo_call_v2]/kivotest_echo/one/0/0/0/1/match/", true, 0},
        {"name of 497 characters, unknown", named(497), false, -3},
        {"name of 498 characters is no header", named(498) + ping, false, 0},
        {"name of 600 characters is no header", named(600) + ping, false, 0},
        {"header without end", "[kivo_call_v2]/x/" + std::string(5000, '1'), true, 0},
        {"junk before a call", std::string(3000, 'j') + ping, false, 0},
        {"empty name", "[kivo_call_v2]//1/0/0/0/1/match/", true, 0},
    };
    for (const Malformed& m : cases) {
        KivoClient c;
        connectAt(c, 13);
        ASSERT_TRUE(c.sendTransformed(Bytes(m.bytes.begin(), m.bytes.end()))) << m.what;
        if (m.dropped) {
            EXPECT_TRUE(c.closedByServer(5000)) << m.what;
        } else {
            const Message r = c.readMessage(5000);
            EXPECT_EQ(Message::kReply, r.kind) << m.what;
            EXPECT_EQ(m.code, r.code) << m.what;
            EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code) << m.what;
        }
        EXPECT_TRUE(serverAnswersPing()) << m.what;
    }
}

TEST(Robustness, MalformedHandshakesFailAlone) {
    const std::string cases[] = {
        std::string(3000, '7'),     // a key longer than its buffer
        "zz-not-hex/",              // garbage that still ends
        std::string(1, '\0') + "/", // a NUL key
    };
    for (const std::string& key : cases) {
        KivoClient c;
        ASSERT_TRUE(c.connectTo(target().port));
        unsigned char hello[7];
        ASSERT_TRUE(c.readTransformed(hello, 7, 5000));
        ASSERT_TRUE(c.sendTransformed(Bytes(key.begin(), key.end())));
        if (key.size() > 2048) {
            EXPECT_TRUE(c.closedByServer(5000));
        }
        EXPECT_TRUE(serverAnswersPing());
    }
    // A client that never finishes its key is dropped after the keepalive period.
    KivoClient silent;
    ASSERT_TRUE(silent.connectTo(target().port));
    EXPECT_TRUE(silent.closedByServer((2 * target().keepaliveSeconds + 3) * 1000));
}

int countFrom(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

TEST(Robustness, IdleClientsDoNotExhaustTheServer) {
    const int n = countFrom("KIVO_TEST_IDLE_CLIENTS", 512);
    std::vector<std::unique_ptr<KivoClient>> idle;
    for (int i = 0; i < n; ++i) {
        idle.push_back(std::make_unique<KivoClient>());
        ASSERT_TRUE(idle.back()->connectTo(target().port)) << i;
        if (i % 2 == 0) { // half agree a key, half never answer the server's lines
            ASSERT_TRUE(idle.back()->handshake()) << i;
        }
    }
    EXPECT_TRUE(serverAnswersPing());
    idle.clear();
    EXPECT_TRUE(serverAnswersPing());
}

TEST(Robustness, ClientsThatDropMidCall) {
    for (int i = 0; i < 20; ++i) {
        KivoClient c;
        connectAt(c, i % 2 ? 13 : 2);
        Bytes b(8);
        kivo_sprintf1(c.version(), 0, nullptr, reinterpret_cast<char*>(b.data()), "%n%n", nullptr,
                      20, 10);
        ASSERT_TRUE(c.sendCall("kivotest_slow", b));
    }
    EXPECT_TRUE(serverAnswersPing());
}

} // namespace

// Bytes of the process's heaps in use (the server runs in this process).
size_t heapInUse() {
    size_t total = 0;
    HANDLE heaps[64];
    const DWORD n = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < n && i < 64; ++i) {
        PROCESS_HEAP_ENTRY e{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

namespace {

DWORD handleCount() {
    DWORD n = 0;
    GetProcessHandleCount(GetCurrentProcess(), &n);
    return n;
}

void cycle(int i) {
    KivoClient c;
    ASSERT_TRUE(c.connectTo(target().port));
    ASSERT_TRUE(c.handshake());
    if (i % 2) {
        ASSERT_TRUE(c.setVersion(13));
    }
    Bytes b(8);
    kivo_sprintf1(c.version(), 0, nullptr, reinterpret_cast<char*>(b.data()), "%n%n", nullptr, 0,
                  0);
    ASSERT_EQ(4, c.call("kivotest_slow", b).code);
}

// Connect, call and drop many times: the process's handles and heap come back to where they
// were (the server runs in this process).
TEST(Robustness, NoGrowthAcrossConnectCallDropCycles) {
    const int n = countFrom("KIVO_TEST_CYCLES", 2000);
    for (int i = 0; i < 200; ++i)
        cycle(i);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const DWORD handles = handleCount();
    const size_t heap = heapInUse();
    for (int i = 0; i < n; ++i) {
        cycle(i);
        if (HasFatalFailure())
            return;
    }
    DWORD handlesAfter = 0;
    size_t heapAfter = 0;
    for (int i = 0; i < 30; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        handlesAfter = handleCount();
        heapAfter = heapInUse();
        if (handlesAfter <= handles + 16 && heapAfter <= heap + 256 * 1024)
            break;
    }
    EXPECT_LE(handlesAfter, handles + 16) << n << " cycles";
    EXPECT_LE(heapAfter, heap + 256 * 1024) << n << " cycles";
}

} // namespace
} // namespace kivotest
