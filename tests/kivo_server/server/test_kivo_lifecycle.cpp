// Start with a registration callback, the control functions, and shutdown with its hooks in
// passes. The tests run in this order in one process: the server starts once.
#include "FreePort.h"
#include "KivoClient.h"
#include "ProcessThreads.h"
#include "kivo_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int kPort = kivotest::freeTcpPort();
std::vector<std::string> hookRuns;
int registrations = 0;
testsupport::ThreadIds threadsBeforeStart;

int ping(int, int, int, char*, int, char**, void*, kivo_worker*, int) {
    return 0;
}

int registerServices() {
    ++registrations;
    const char* names[] = {"lifecycle_ping"};
    kivo_service_fn functions[] = {ping};
    return kivo_register_service(nullptr, names, functions, names, names, nullptr, 1, 773,
                                 "lifecycle", 1, 0);
}

void hook(void* argument) {
    hookRuns.push_back(static_cast<const char*>(argument));
}

TEST(Lifecycle, StartWithCallbackAndControls) {
    EXPECT_EQ(0, kivo_server_is_initialized());
    EXPECT_EQ(KIVO_ERR_BAD_PROCESS_ID, kivo_init_ex(3)); // returns at once, starts nothing
    threadsBeforeStart = testsupport::threadsOfThisProcess();
    ASSERT_EQ(0, kivo_server_init_3(nullptr, kPort, registerServices, 2, 1, 2, 0));
    EXPECT_EQ(1, kivo_server_is_initialized());
    EXPECT_EQ(1, registrations);
    EXPECT_EQ(KIVO_ERR_ALREADY_INITIALIZED,
              kivo_server_init_2(nullptr, kPort + 1, nullptr, 1, 1, 1));
    int a = 7, port = 0;
    kivo_server_get_hostinfo(&a, &port);
    EXPECT_EQ(0, a);
    EXPECT_EQ(kPort, port);
    EXPECT_EQ(0, kivo_server_trigger_sleep());
    EXPECT_STREQ("the vodka is strong, but the meat is rotten", kivo_server_lpc_test());
    EXPECT_EQ(0, kivo_server_take_aux_mutex());
    EXPECT_EQ(0, kivo_server_give_aux_mutex());
}

TEST(Lifecycle, ClientLimitAdmitsExactlyThatMany) {
    // This server was started with a limit of two clients.
    kivotest::networkStart();
    kivotest::KivoClient first, second, third;
    for (kivotest::KivoClient* c : {&first, &second}) {
        ASSERT_TRUE(c->connectTo(kPort));
        ASSERT_TRUE(c->handshake());
        ASSERT_TRUE(c->setVersion(13));
        EXPECT_EQ(0, c->call("lifecycle_ping", kivotest::Bytes()).code);
    }
    EXPECT_EQ(-7246, first.call("are_all_services_ready", kivotest::Bytes()).code);
    ASSERT_TRUE(third.connectTo(kPort));
    EXPECT_TRUE(third.closedByServer(5000));
    second.close();
    bool admitted = false;
    for (int i = 0; i < 50 && !admitted; ++i) {
        kivotest::KivoClient again;
        admitted = again.connectTo(kPort) && again.handshake();
    }
    EXPECT_TRUE(admitted);
}

TEST(Lifecycle, ShutdownRunsHooksByPass) {
    static const char* names[] = {"p2-first", "p0-a", "p1", "p0-b", "plain"};
    kivo_server_add_shutdown_hook_3(hook, const_cast<char*>(names[0]), 2, "late");
    kivo_server_add_shutdown_hook_3(hook, const_cast<char*>(names[1]), 0, "a");
    kivo_server_add_shutdown_hook_3(hook, const_cast<char*>(names[2]), 1, "one");
    kivo_server_add_shutdown_hook_3(hook, const_cast<char*>(names[3]), 0, "b");
    kivo_server_add_shutdown_hook(hook, const_cast<char*>(names[4]));
    kivotest::KivoClient open; // a connected client does not hold the shutdown up
    ASSERT_TRUE(open.connectTo(kPort));
    ASSERT_TRUE(open.handshake());
    EXPECT_EQ(0, kivo_server_shutdown());
    EXPECT_TRUE(testsupport::noThreadLeftSince(threadsBeforeStart))
        << "a task outlived the shutdown";
    const std::vector<std::string> expected = {"plain", "p0-b", "p0-a", "p1", "p2-first"};
    EXPECT_EQ(expected, hookRuns);
    EXPECT_EQ(0, kivo_server_shutdown()); // once only
    EXPECT_EQ(expected.size(), hookRuns.size());
}

} // namespace
