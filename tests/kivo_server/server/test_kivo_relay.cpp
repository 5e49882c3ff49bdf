// Discovery and the SSL relay, with the server in this process. Arguments: --automatic-port
// runs it on the automatic port, where alone discovery answers (8021, UDP 9906; the relay then
// stays off), else on a free port P with the relay on P + 10000; --dir FOLDER runs the server
// in that folder beside the program ("relay", where the build puts the relay's "server.pem";
// "." has none), --services FILE names the services list. Which tests apply depends on how
// the program is started: Relay.* with the OpenSSL DLLs on the path and a certificate,
// NoRelay.* without either, Discovery.* on the automatic port, NoDiscovery.* there with a
// services list that brings no discovery providers.
#include "ConformanceTarget.h"
#include "EchoPayload.h"
#include "FreePort.h"
#include "KivoClient.h"
#include "ProcessThreads.h"
#include "SslRelayClient.h"
#include "kivo_server.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace kivotest {

ConformanceTarget& target() {
    static ConformanceTarget t;
    return t;
}

namespace {

int kServerPort = KIVO_DEFAULT_PORT; // set by main
int kRelayPort = KIVO_DEFAULT_PORT + 10000;
constexpr int kDiscoveryPort = 9906;
const std::string kEndSequence = "X0X0X0X0X0X0X0X0";

class UdpSocket {
public:
    UdpSocket() : s_(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {}
    ~UdpSocket() { closesocket(s_); }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    bool send(const std::string& bytes) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(kDiscoveryPort);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return sendto(s_, bytes.data(), static_cast<int>(bytes.size()), 0,
                      reinterpret_cast<sockaddr*>(&to),
                      sizeof to) == static_cast<int>(bytes.size());
    }
    // One datagram, or "" when none comes in time.
    std::string receive(int timeoutMs) const {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s_, &set);
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (select(0, &set, nullptr, nullptr, &tv) <= 0)
            return {};
        std::vector<char> buf(70000);
        const int n = recv(s_, buf.data(), static_cast<int>(buf.size()), 0);
        return n > 0 ? std::string(buf.data(), static_cast<size_t>(n)) : std::string();
    }

private:
    SOCKET s_;
};

// The reply once the services are loaded (the server answers only then).
std::string probe(const std::string& datagram = "Knock Knock!") {
    static bool ready = false;
    UdpSocket u;
    for (int i = 0; i < (ready ? 1 : 50); ++i) {
        u.send(datagram);
        const std::string r = u.receive(ready ? 1500 : 200);
        if (!r.empty()) {
            ready = true;
            return r;
        }
    }
    return {};
}

struct Reply {
    uint32_t length = 0, version = 0, count = 0;
    std::vector<std::string> texts; // every text after the count, in order
};

uint32_t be32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

bool parse(const std::string& b, Reply& r, std::string& name) {
    if (b.size() < 12)
        return false;
    r.length = be32(b, 0);
    r.version = be32(b, 4);
    size_t at = 8;
    const size_t nameEnd = b.find('\0', at);
    if (nameEnd == std::string::npos || nameEnd + 5 > b.size())
        return false;
    name = b.substr(at, nameEnd - at);
    r.count = be32(b, nameEnd + 1);
    for (at = nameEnd + 5; at < b.size();) {
        const size_t end = b.find('\0', at);
        if (end == std::string::npos)
            return false;
        r.texts.push_back(b.substr(at, end - at));
        at = end + 1;
    }
    return true;
}

TEST(Discovery, ProbeIsAnsweredWithTheProvidersTexts) {
    const std::string raw = probe();
    ASSERT_FALSE(raw.empty()) << "no discovery reply";
    Reply r;
    std::string name;
    ASSERT_TRUE(parse(raw, r, name));
    EXPECT_EQ(raw.size(), r.length);
    EXPECT_EQ(1u, r.version);
    EXPECT_EQ("kivotest server", name);
    EXPECT_EQ(2u, r.count);
    const std::vector<std::string> expected = {"Kivotest scanner one",
                                               "Kivotest scanner two",
                                               "kivoscan_one",
                                               "kivoscan_two",
                                               "16.11",
                                               "4.2.1",
                                               "kivotest host",
                                               "Windows",
                                               "release",
                                               "kivotest 1.0.3"};
    EXPECT_EQ(expected, r.texts);
}

TEST(Discovery, OnlyAProbeIsAnsweredAndOversizedDatagramsAreDropped) {
    ASSERT_FALSE(probe().empty());
    const struct {
        std::string datagram;
        bool answered;
    } cases[] = {
        {"Knock Knock", false},
        {"knock knock!", false},
        {"Knock Knock!", true},
        {"Knock Knock! and more", true},
        {"Knock Knock!" + std::string(488, 'x'), true},  // 500 bytes: fits the buffer
        {"Knock Knock!" + std::string(600, 'x'), false}, // larger than the buffer: dropped
        {"Knock Knock!" + std::string(9000, 'x'), false},
        {"", false},
    };
    UdpSocket u;
    for (const auto& c : cases) {
        ASSERT_TRUE(u.send(c.datagram) || c.datagram.empty());
        const std::string r = u.receive(c.answered ? 2000 : 400);
        EXPECT_EQ(c.answered, !r.empty())
            << c.datagram.size() << " bytes: " << c.datagram.substr(0, 20);
    }
    EXPECT_FALSE(probe().empty()) << "the server stopped answering";
}

TEST(Discovery, BurstOfProbesFromSeveralClients) {
    const std::string reference = probe();
    ASSERT_FALSE(reference.empty());
    std::vector<std::unique_ptr<UdpSocket>> clients;
    for (int i = 0; i < 8; ++i)
        clients.push_back(std::make_unique<UdpSocket>());
    for (int round = 0; round < 10; ++round)
        for (auto& c : clients)
            ASSERT_TRUE(c->send("Knock Knock!"));
    int answers = 0;
    for (auto& c : clients)
        for (std::string r; !(r = c->receive(1000)).empty(); ++answers)
            EXPECT_EQ(reference, r);
    EXPECT_EQ(80, answers);
}

TEST(Discovery, ReplyIsBuiltOnce) {
    const std::string before = probe();
    ASSERT_FALSE(before.empty());
    auto addDevice = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kivo_server_kivotest.dll"), "kivotest_add_device")));
    ASSERT_NE(nullptr, addDevice);
    addDevice();
    EXPECT_EQ(before, probe());
}

void connectThrough(KivoClient& c, RelayBridge& bridge, int version) {
    const int port = bridge.start(kRelayPort);
    ASSERT_GT(port, 0) << "no relay";
    ASSERT_TRUE(c.connectTo(port));
    ASSERT_TRUE(c.handshake());
    if (version > 1) {
        ASSERT_TRUE(c.setVersion(version));
    }
}

TEST(Relay, ProtocolEndToEndWithEscapes) {
    ASSERT_TRUE(sslAvailable()) << "the OpenSSL DLLs are not on the DLL search path (WINEPATH)";
    for (int version : {2, 13}) {
        RelayBridge bridge;
        KivoClient c;
        connectThrough(c, bridge, version);
        EchoValues x;
        x.s = "X";
        x.s2 = "XX0XXX\nX0";
        x.innerS = std::string(3000, 'X');
        x.block.assign(70000, 'X'); // more than one piece of the relay's write task
        for (size_t i = 0; i < x.block.size(); i += 3)
            x.block[i] = static_cast<unsigned char>(i);
        CallOptions o;
        const Bytes payload = echoPayload(c, x, &o.counter);
        const Message m = c.call("kivotest_echo", payload, o);
        ASSERT_EQ(Message::kReply, m.kind) << version;
        ASSERT_GT(m.code, 0);
        EchoValues got;
        ASSERT_EQ(m.code, readEcho(c, m.payload, got));
        EXPECT_EQ(x.s, got.s);
        EXPECT_EQ(x.s2, got.s2);
        EXPECT_EQ(x.innerS, got.innerS);
        EXPECT_EQ(x.block, got.block);
        EXPECT_EQ(x.hidden, got.hidden);
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(0, c.call("kivo_ping", Bytes()).code);
        EXPECT_FALSE(bridge.sawBadEscape()) << "an 'X' from the server was not doubled";
        EXPECT_GT(bridge.bytesFromRelay(), 70000u);
    }
}

TEST(Relay, FirstByteOtherThanTIsNotRelayed) {
    SslRelayClient s;
    ASSERT_TRUE(s.connectTo(kRelayPort)) << s.error();
    ASSERT_TRUE(s.send("Q[kivo_call_v2]/kivo_ping/0/"));
    EXPECT_EQ("", s.receiveAll(5000));
    EXPECT_TRUE(s.ended());
}

TEST(Relay, EndOfTheClientStreamIsAnsweredWithTheEndSequence) {
    for (const char* ending : {"X0", "Xq", "X0 and bytes after the end"}) {
        SslRelayClient s;
        ASSERT_TRUE(s.connectTo(kRelayPort)) << s.error();
        ASSERT_TRUE(s.send("T"));
        // The server greets a new connection first: the relay is up when that arrives.
        ASSERT_NE("", s.receive(4096, 5000)) << ending;
        ASSERT_TRUE(s.send(ending));
        const std::string rest = s.receiveAll(8000);
        EXPECT_TRUE(s.ended()) << ending;
        ASSERT_GE(rest.size(), kEndSequence.size()) << ending;
        EXPECT_EQ(kEndSequence, rest.substr(rest.size() - kEndSequence.size())) << ending;
    }
}

int32_t logouts(KivoClient& watcher) {
    const Message m = watcher.call("kivotest_logouts", Bytes());
    int32_t v[2] = {};
    Bytes p = m.payload;
    kivo_sscanf1(nullptr, watcher.version(), watcher.encrypt(), watcher.payloadIn(), 0,
                 reinterpret_cast<char*>(p.data()), static_cast<int>(p.size()), "%n%n", nullptr,
                 &v[0], &v[1]);
    return v[0];
}

TEST(Relay, ClosedSslClientIsDroppedByTheServer) {
    KivoClient watcher;
    ASSERT_TRUE(watcher.connectTo(kServerPort));
    ASSERT_TRUE(watcher.handshake());
    ASSERT_TRUE(watcher.setVersion(13));
    for (bool marker : {true, false}) {
        const int before = logouts(watcher);
        {
            RelayBridge bridge(marker);
            KivoClient user;
            connectThrough(user, bridge, 13);
            Bytes handle(4);
            kivo_sprintf1(user.version(), user.encrypt(), user.payloadOut(),
                          reinterpret_cast<char*>(handle.data()), "%n", nullptr, 99);
            ASSERT_EQ(4, user.call("kivotest_login", handle).code);
        }
        int count = before;
        for (int i = 0; i < 100 && count == before; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            count = logouts(watcher);
        }
        EXPECT_EQ(before + 1, count) << (marker ? "end marker" : "end of the SSL stream");
    }
}

TEST(Relay, ServerClosingFirstEndsTheRelay) {
    RelayBridge bridge;
    KivoClient c;
    connectThrough(c, bridge, 2);
    // An input longer than the server takes: answered -6, and the server drops the client.
    const std::string header = "[kivo_call_v2]/kivotest_echo/99999999/";
    ASSERT_TRUE(c.sendTransformed(Bytes(header.begin(), header.end())));
    const Message m = c.readMessage();
    EXPECT_EQ(Message::kReply, m.kind);
    EXPECT_EQ(-6, m.code);
    // The relay notices at its next failed write to the server (the first write after the
    // server's close may still be taken by the network).
    bool closed = false;
    for (int i = 0; i < 20 && !closed; ++i) {
        c.sendTransformed(Bytes{' '});
        closed = c.closedByServer(400);
    }
    EXPECT_TRUE(closed);
    EXPECT_TRUE(bridge.sawEndMarker());
}

bool relayPortOpen() {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kRelayPort);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool open = connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    closesocket(s);
    return open;
}

// Runs last of the relay's tests: it stops the server.
TEST(Relay, ShutdownStopsTheListenerAndEndsItsClients) {
    RelayBridge bridge;
    KivoClient c;
    connectThrough(c, bridge, 13);
    EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
    SslRelayClient waiting; // connected, no start byte yet
    ASSERT_TRUE(waiting.connectTo(kRelayPort)) << waiting.error();
    EXPECT_EQ(0, kivo_server_shutdown());
    EXPECT_FALSE(relayPortOpen()) << "the relay still listens after the shutdown";
    waiting.receiveAll(2000);
    EXPECT_TRUE(waiting.ended()) << "a relay client outlived the shutdown";
    EXPECT_TRUE(c.closedByServer(2000));
}

TEST(NoRelay, RelayPortIsClosedAndTheServerServes) {
    EXPECT_FALSE(relayPortOpen());
    KivoClient c;
    ASSERT_TRUE(c.connectTo(kServerPort));
    ASSERT_TRUE(c.handshake());
    ASSERT_TRUE(c.setVersion(13));
    EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
}

TEST(NoDiscovery, ProbeIsNotAnsweredWithoutProviders) {
    KivoClient c;
    ASSERT_TRUE(c.connectTo(kServerPort)); // the server listens once the services are loaded
    ASSERT_TRUE(c.handshake());
    EXPECT_EQ(-7246, c.call("are_all_services_ready", Bytes()).code);
    UdpSocket u;
    ASSERT_TRUE(u.send("Knock Knock!"));
    EXPECT_EQ("", u.receive(2000));
}

// A free port whose relay port (+ 10000) is free as well.
bool portWithFreeRelayPort() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int port = freeTcpPort();
        if (port <= 0 || port + 10000 > 65535)
            continue;
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<u_short>(port + 10000));
        const bool free = bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        closesocket(s);
        if (free) {
            kServerPort = port;
            kRelayPort = port + 10000;
            return true;
        }
    }
    return false;
}

} // namespace
} // namespace kivotest

int main(int argc, char** argv) {
    ::testing::GTEST_FLAG(filter) = "Relay.*";
    ::testing::InitGoogleTest(&argc, argv);
    std::string dir = "relay", services = "kivo_test_services.txt";
    bool automatic = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--dir") && i + 1 < argc)
            dir = argv[++i];
        else if (!std::strcmp(argv[i], "--services") && i + 1 < argc)
            services = argv[++i];
        else if (!std::strcmp(argv[i], "--automatic-port"))
            automatic = true;
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));
    // The services module is found beside the program whatever the working folder.
    if (services == "kivo_test_services.txt")
        LoadLibraryA((folder + "\\kivo_server_kivotest.dll").c_str());
    SetCurrentDirectoryA((folder + "\\" + dir).c_str());
    kivotest::networkStart();
    if (!automatic && !kivotest::portWithFreeRelayPort()) {
        std::fprintf(stderr, "no free port pair for the server and its relay\n");
        return 1;
    }
    const int port = automatic ? -1 : kivotest::kServerPort;
    const testsupport::ThreadIds threadsBefore = testsupport::threadsOfThisProcess();
    const int r = kivo_server_init_6((folder + "\\").c_str(), port, nullptr, -1, 4, -1, 0,
                                     "kivo_relay_test", services.c_str(), 1, automatic ? 0 : 1);
    if (r != 0) {
        std::fprintf(stderr, "server start failed: %d\n", r);
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    kivo_server_shutdown();
    return testsupport::noThreadLeftSince(threadsBefore) ? result : 1;
}
