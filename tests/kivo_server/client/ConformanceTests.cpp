// The protocol as a client sees it, against a server that hosts the test services: key
// agreement, the transforms of each protocol version, echo of every directive, built-in
// calls, mismatches, cancel, progress, keepalive and logouts of dropped clients.
#include "ConformanceTarget.h"
#include "EchoPayload.h"
#include "KivoClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace kivotest {

ConformanceTarget& target() {
    static ConformanceTarget t;
    return t;
}

namespace {

void connectAt(KivoClient& c, int version) {
    ASSERT_TRUE(c.connectTo(target().port));
    ASSERT_TRUE(c.handshake());
    ASSERT_EQ(target().fake, c.fakeAgreement());
    if (version > 1) {
        ASSERT_TRUE(c.setVersion(version)) << "version " << version;
    }
}

std::string text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

Bytes ints(KivoClient& c, int32_t a, int32_t b) {
    Bytes out(8);
    kivo_sprintf1(c.version(), c.encrypt(), c.payloadOut(), reinterpret_cast<char*>(out.data()),
                  "%n%n", nullptr, a, b);
    return out;
}

Bytes oneInt(KivoClient& c, int32_t a) {
    Bytes out(4);
    kivo_sprintf1(c.version(), c.encrypt(), c.payloadOut(), reinterpret_cast<char*>(out.data()),
                  "%n", nullptr, a);
    return out;
}

int32_t replyInt(KivoClient& c, Bytes payload, int index = 0) {
    int32_t v[2] = {};
    kivo_sscanf1(nullptr, c.version(), c.encrypt(), c.payloadIn(), 0,
                 reinterpret_cast<char*>(payload.data()), static_cast<int>(payload.size()),
                 index ? "%n%n" : "%n", nullptr, &v[0], &v[1]);
    return v[index];
}

void expectEcho(const EchoValues& sent, const EchoValues& got, int version) {
    EXPECT_EQ(sent.i, got.i);
    EXPECT_EQ(sent.r, got.r);
    EXPECT_EQ(sent.n, got.n);
    EXPECT_EQ(sent.l, got.l);
    EXPECT_EQ(sent.b, got.b);
    EXPECT_EQ(sent.v, got.v);
    EXPECT_EQ(sent.s, got.s);
    EXPECT_EQ(sent.s2Null, got.s2Null);
    if (!sent.s2Null) {
        EXPECT_EQ(sent.s2, got.s2);
    }
    EXPECT_EQ(sent.present, got.present);
    EXPECT_EQ(sent.pointerSet ? 1 : 0, got.pointerSet);
    EXPECT_EQ(sent.hidden, got.hidden);
    EXPECT_EQ(sent.block, got.block);
    EXPECT_EQ(sent.cells, got.cells);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(sent.shorts[k], got.shorts[k]);
    EXPECT_EQ(sent.innerNull, got.innerNull);
    if (!sent.innerNull) {
        EXPECT_EQ(sent.innerN, got.innerN);
        EXPECT_EQ(sent.innerS, got.innerS);
    }
    if (version >= 7) {
        EXPECT_EQ(sent.f, got.f);
        EXPECT_EQ(sent.d, got.d);
    } else {
        EXPECT_EQ(0.5f, got.f);
        EXPECT_EQ(-2.5, got.d);
    }
}

void echoRoundTrip(KivoClient& c, const EchoValues& x, const char* function = "kivotest_echo") {
    CallOptions o;
    const Bytes payload = echoPayload(c, x, &o.counter);
    const Message m = c.call(function, payload, o);
    ASSERT_EQ(Message::kReply, m.kind);
    ASSERT_GT(m.code, 0);
    ASSERT_EQ(static_cast<size_t>(m.code), m.payload.size());
    EchoValues got;
    ASSERT_EQ(m.code, readEcho(c, m.payload, got));
    expectEcho(x, got, c.version());
}

class Versions : public ::testing::TestWithParam<int> {};

TEST_P(Versions, EchoOfEveryDirectiveAndBuiltIns) {
    const int version = GetParam();
    KivoClient c;
    connectAt(c, version);
    EchoValues plain;
    echoRoundTrip(c, plain);

    EchoValues absent; // null string, structure and array; a zero %O
    absent.s2Null = true;
    absent.innerNull = true;
    absent.pointerSet = 0;
    absent.block.clear();
    absent.cells.clear();
    echoRoundTrip(c, absent);

    EchoValues large; // a reply of several kilobytes goes out as header and payload apart
    large.s = std::string(3000, 'x');
    large.innerS = std::string(1500, 'y');
    large.block.assign(700, 0x5A);
    echoRoundTrip(c, large);

    echoRoundTrip(c, plain, "kivotest_query_api_version");
    EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
    EXPECT_EQ(-3, c.call("kivotest_no_such_function", Bytes()).code);
    EXPECT_EQ(-7246, c.call("are_all_services_ready", Bytes()).code);
    // The stream is still in step after the built-ins.
    echoRoundTrip(c, plain);
}

INSTANTIATE_TEST_SUITE_P(Conformance, Versions, ::testing::Values(1, 2, 5, 6, 9, 10, 11, 13, 16));

TEST(Conformance, CallSplitOverSeveralWritesIsServedOnceComplete) {
    for (int version : {2, 13}) {
        KivoClient c;
        connectAt(c, version);
        EchoValues x;
        x.s = std::string(2000, 's');
        CallOptions o;
        const Bytes payload = echoPayload(c, x, &o.counter);
        const Bytes wire = c.frameCall("kivotest_echo", payload, o);
        for (size_t at = 0; at < wire.size(); at += 7 + at) {
            const size_t end = std::min(wire.size(), at + 7 + at);
            ASSERT_TRUE(c.sendRaw(Bytes(wire.begin() + static_cast<long>(at),
                                        wire.begin() + static_cast<long>(end))));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const Message m = c.readMessage();
        ASSERT_GT(m.code, 0);
        EchoValues got;
        ASSERT_EQ(m.code, readEcho(c, m.payload, got));
        EXPECT_EQ(x.s, got.s);
        EXPECT_EQ(x.hidden, got.hidden);
    }
}

TEST(Conformance, MalformedPayloadAnswersNegativeWithoutPayload) {
    for (int version : {2, 13}) {
        KivoClient c;
        connectAt(c, version);
        EchoValues x;
        CallOptions o;
        Bytes payload = echoPayload(c, x, &o.counter);
        payload.resize(payload.size() / 2);
        const Message m = c.call("kivotest_echo", payload, o);
        ASSERT_EQ(Message::kReply, m.kind);
        EXPECT_LT(m.code, 0);
        EXPECT_TRUE(m.payload.empty());
        EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
    }
}

TEST(Conformance, VersionAndFingerprintMismatchAnswerMinusFour) {
    KivoClient c;
    connectAt(c, 13);
    CallOptions wrongMajor;
    wrongMajor.major = 2;
    EXPECT_EQ(-4, c.call("kivotest_slow", ints(c, 0, 0), wrongMajor).code);
    // The API-version query answers whatever major version the client has.
    EchoValues x;
    CallOptions o = wrongMajor;
    Bytes payload = echoPayload(c, x, &o.counter);
    EXPECT_GT(c.call("kivotest_query_api_version", payload, o).code, 0);

    CallOptions wrongPrint;
    wrongPrint.fingerprint = "not-the-fingerprint";
    EXPECT_EQ(-4, c.call("kivotest_slow", ints(c, 0, 0), wrongPrint).code);
    for (const char* fp : {"kivotest_slow-fp1", "none", "match"}) {
        CallOptions ok;
        ok.fingerprint = fp;
        const Message m = c.call("kivotest_slow", ints(c, 0, 0), ok);
        EXPECT_EQ(4, m.code) << fp;
    }
    const Message prints = c.call("kivo_get_fingerprints", Bytes());
    ASSERT_GT(prints.code, 0);
    const std::string t = text(prints.payload);
    EXPECT_EQ('\0', t.back());
    // "count " and then "name fingerprint " for each entry, in the order of the names.
    const size_t echo = t.find(" kivotest_echo kivotest_echo-fp1 ");
    const size_t slow = t.find(" kivotest_slow kivotest_slow-fp1 ");
    const size_t api = t.find(" kivotest_query_api_version kivotest_query_api_version-fp1 ");
    EXPECT_NE(std::string::npos, echo) << t;
    EXPECT_NE(std::string::npos, slow) << t;
    EXPECT_LT(echo, api) << t;
    EXPECT_LT(api, slow) << t;
    size_t words = 0;
    for (size_t at = 0; (at = t.find(' ', at)) != std::string::npos; ++at)
        ++words;
    EXPECT_EQ(std::to_string((words - 1) / 2) + " ", t.substr(0, t.find(' ') + 1)) << t;
}

TEST(Conformance, CallCounterBehindTheStreamAnswersMinus1030) {
    KivoClient c;
    connectAt(c, 11);
    EchoValues x;
    echoRoundTrip(c, x);
    CallOptions behind;
    const Bytes payload = echoPayload(c, x, &behind.counter);
    behind.counter -= 1;
    EXPECT_EQ(-1030, c.call("kivotest_echo", payload, behind).code);
    // The server skips ahead to where the next call says its payload starts.
    echoRoundTrip(c, x);
}

TEST(Conformance, SecureHandlesBelongToConnectionAndService) {
    KivoClient a, b;
    connectAt(a, 13);
    connectAt(b, 13);
    auto ask = [](KivoClient& c, const char* function, int32_t handle) {
        const Message m = c.call(function, oneInt(c, handle));
        return m.code == 4 ? replyInt(c, m.payload) : -999;
    };
    EXPECT_EQ(0, ask(a, "kivotest_handle_set", 5));
    EXPECT_EQ(0, ask(a, "kivotest_handle_set", 6));
    EXPECT_EQ(0, ask(a, "kivotest_handle_set", 7)); // the arrays grow past their first size
    EXPECT_EQ(1, ask(a, "kivotest_handle_check", 5));
    EXPECT_EQ(1, ask(a, "kivotest_handle_check", 7));
    EXPECT_EQ(0, ask(a, "kivotest_handle_check", 8));
    EXPECT_EQ(0, ask(a, "kivotest_other_handle_check", 5)); // another service's handle
    EXPECT_EQ(0, ask(b, "kivotest_handle_check", 5));       // another connection's handle
}

TEST(Conformance, NewKeyAgreementOnAnOpenConnection) {
    KivoClient c;
    connectAt(c, 13);
    ASSERT_TRUE(c.sendCall("kivo_handshake", Bytes()));
    c.restartAgreement();
    ASSERT_TRUE(c.handshake());
    ASSERT_TRUE(c.setVersion(13));
    EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
}

TEST(Conformance, UnencryptedVariantKeepsBytesBeforeAMarkerInTheClear) {
    for (int version : {13, 16}) {
        KivoClient c;
        ASSERT_TRUE(c.connectTo(target().port));
        ASSERT_TRUE(c.handshake());
        ASSERT_TRUE(c.setVersion(version, true));
        ASSERT_TRUE(c.sendTransformed(Bytes{' ', ' ', 'x', '[', 'k'})); // clear, and no marker
        EchoValues x;
        echoRoundTrip(c, x);
        ASSERT_TRUE(c.sendTransformed(Bytes{' '}));
        EXPECT_EQ(0, c.call("kivo_ping", Bytes()).code);
        echoRoundTrip(c, x);
    }
}

TEST(Conformance, SettingsCallsAndDebugLevel) {
    KivoClient c;
    connectAt(c, 13);
    const std::string app = "conformance";
    EXPECT_EQ(0, c.call("kivo_set_application_name", Bytes(app.begin(), app.end() + 1)).code);
    EXPECT_EQ(0, c.call("query_brevic_codebase", Bytes()).code);
    EXPECT_EQ(-6900, c.call("kivo_set_server_debug_3", Bytes()).code);
    EXPECT_EQ(-6903, c.call("kivo_set_server_debug_0", Bytes()).code);
    EXPECT_EQ(-7251, c.call("kivo_encrypt", Bytes()).code);
    c.setEncrypt(1);
    EchoValues x;
    echoRoundTrip(c, x); // the encrypt switch now enciphers every value
    EXPECT_EQ(-7251, c.call("kivo_unencrypt", Bytes()).code);
    c.setEncrypt(0);
    echoRoundTrip(c, x);
}

TEST(Conformance, ProgressInBothFormats) {
    struct Case {
        int version;
        Message::Kind kind;
        const char* first;
        const char* last;
    } cases[] = {{13, Message::kProgress, "0.333333/1/", "1.000000/3/"},
                 {14, Message::kProgress2, "333333/1/", "1000000/3/"},
                 {5, Message::kNone, nullptr, nullptr}};
    for (const Case& k : cases) {
        KivoClient c;
        connectAt(c, k.version);
        std::vector<Message> progress;
        const Message m = c.call("kivotest_slow", ints(c, 3, 10), {}, &progress);
        ASSERT_EQ(4, m.code);
        EXPECT_EQ(3, replyInt(c, m.payload));
        if (!k.first) {
            EXPECT_TRUE(progress.empty());
            continue;
        }
        ASSERT_EQ(3u, progress.size()) << k.version;
        EXPECT_EQ(k.kind, progress[0].kind);
        EXPECT_EQ(k.first, text(progress[0].payload));
        EXPECT_EQ(k.last, text(progress[2].payload));
    }
}

TEST(Conformance, CancelAnswersAtOnceAndDropsTheLateResult) {
    for (int version : {4, 13}) {
        KivoClient c;
        connectAt(c, version);
        ASSERT_TRUE(c.sendCall("kivotest_slow", ints(c, 40, 25)));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(c.sendTransformed(Bytes{' '}));
        Message m;
        do {
            m = c.readMessage(5000);
        } while (m.kind == Message::kProgress);
        ASSERT_EQ(Message::kReply, m.kind);
        EXPECT_EQ(-1027, m.code);
        const Message ping = c.call("kivo_ping", Bytes());
        EXPECT_EQ(Message::kReply, ping.kind);
        EXPECT_EQ(0, ping.code);
        EXPECT_EQ(Message::kNone, c.readMessage(1500).kind) << "a late result arrived";
    }
}

// Clients of version 3 and above send keepalive spaces; older ones send none and are kept.
TEST(Conformance, IdleClientIsDroppedAfterTwoKeepalivePeriods) {
    const int k = target().keepaliveSeconds;
    KivoClient idle, alive, idleOld;
    connectAt(idle, 13);
    connectAt(alive, 13);
    connectAt(idleOld, 2);
    const auto start = std::chrono::steady_clock::now();
    // One client sends a keepalive space now and then; the others nothing.
    bool dropped = false;
    while (!dropped && std::chrono::steady_clock::now() - start < std::chrono::seconds(3 * k + 4)) {
        ASSERT_TRUE(alive.sendTransformed(Bytes{' '}));
        dropped = idle.closedByServer(k * 500);
    }
    EXPECT_TRUE(dropped);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(k));
    EXPECT_EQ(0, alive.call("kivo_ping", Bytes()).code);
    std::this_thread::sleep_for(std::chrono::seconds(k)); // well past two periods
    const Message m = idleOld.call("kivo_ping", Bytes());
    EXPECT_EQ(Message::kReply, m.kind) << "an idle version-2 client was dropped";
    EXPECT_EQ(0, m.code);
}

TEST(Conformance, DroppedClientIsLoggedOut) {
    KivoClient watcher;
    connectAt(watcher, 13);
    const int before = replyInt(watcher, watcher.call("kivotest_logouts", Bytes()).payload);
    {
        KivoClient user;
        connectAt(user, 13);
        const Message m = user.call("kivotest_login", oneInt(user, 4242));
        ASSERT_EQ(4, m.code);
        EXPECT_EQ(0, replyInt(user, m.payload));
    }
    int count = before, handle = 0;
    for (int i = 0; i < 100 && count == before; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const Message m = watcher.call("kivotest_logouts", Bytes());
        count = replyInt(watcher, m.payload);
        handle = replyInt(watcher, m.payload, 1);
    }
    EXPECT_EQ(before + 1, count);
    EXPECT_EQ(4242, handle);
}

TEST(Conformance, LogoutOfALiveClientIsNotRepeated) {
    KivoClient watcher;
    connectAt(watcher, 13);
    const int before = replyInt(watcher, watcher.call("kivotest_logouts", Bytes()).payload);
    {
        KivoClient user;
        connectAt(user, 13);
        EXPECT_EQ(4, user.call("kivotest_login", oneInt(user, 7)).code);
        EXPECT_EQ(4, user.call("kivotest_login", oneInt(user, 7)).code);
        EXPECT_EQ(4, user.call("kivotest_logout", oneInt(user, 7)).code);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(before, replyInt(watcher, watcher.call("kivotest_logouts", Bytes()).payload));
}

} // namespace
} // namespace kivotest
