// Non-blocking tickets of the simulated server: event, alert and monitor registrations, their
// callbacks on the library's own thread, release order, and a server going down.

#include <atomic>
#include <string>

#include "SimTestSupport.h"

namespace {

struct Received {
    std::atomic<int> events{0};
    std::atomic<int> alerts{0};
    std::atomic<int> downs{0};
    std::atomic<DWORD> thread{0};
    int lastType = 0;
    int lastJob = 0;
    std::string lastText;
};
Received g_received;

void QUORVEL_CALL OnEvent(void* record) {
    const auto* event = static_cast<const ScanEventRecord*>(record);
    g_received.lastType = event->type;
    g_received.lastJob = event->jobId;
    g_received.thread = GetCurrentThreadId();
    ++g_received.events;
}

void QUORVEL_CALL OnAlert(void* record) {
    const auto* alert = static_cast<const ScanAlertEventRecord*>(record);
    g_received.lastText = alert->text ? alert->text : "(null)";
    g_received.thread = GetCurrentThreadId();
    ++g_received.alerts;
}

void QUORVEL_CALL OnServerDown(void*) {
    ++g_received.downs;
}

class SimTicketTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        g_received.events = 0;
        g_received.alerts = 0;
        g_received.downs = 0;
        g_received.thread = 0;
    }

    static int Release(QuorvelNBTicket& ticket) {
        int result = NB_cancel(&ticket);
        if (result == QUORVEL_OK) {
            result = NB_block(&ticket);
        }
        return result == QUORVEL_OK ? NB_destroy(&ticket) : result;
    }
};

TEST_F(SimTicketTest, EventsAndAlertsArriveOnTheLibrarysThread) {
    QuorvelServerHandle server = Connect();
    QuorvelNBTicket events = {};
    QuorvelNBTicket alerts = {};
    ASSERT_EQ(QUORVEL_OK, SCAN_getEventsEx(&server, OnEvent, &events));
    ASSERT_EQ(QUORVEL_OK, SCAN_getAlertEvents(&server, OnAlert, &alerts));

    EXPECT_EQ(1, OrvexSim_DeliverEvent(9, 42, 0));
    EXPECT_EQ(1, g_received.events);
    EXPECT_EQ(9, g_received.lastType);
    EXPECT_EQ(42, g_received.lastJob);
    EXPECT_NE(GetCurrentThreadId(), g_received.thread.load());
    EXPECT_EQ(OrvexSim_CallbackThreadId(), g_received.thread.load());

    EXPECT_EQ(1, OrvexSim_DeliverAlert(1, 2, "ADF jam", 3, 4, 5));
    EXPECT_EQ("ADF jam", g_received.lastText);
    EXPECT_EQ(1, OrvexSim_DeliverAlert(1, 2, nullptr, 3, 4, 5));
    EXPECT_EQ("(null)", g_received.lastText);

    EXPECT_EQ(QUORVEL_OK, Release(events));
    EXPECT_EQ(0, OrvexSim_DeliverEvent(0, 1, 0)) << "a released ticket gets nothing";
    EXPECT_EQ(QUORVEL_OK, Release(alerts));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, NB_cancel(&events));
}

TEST_F(SimTicketTest, ReleaseRunsInItsOrder) {
    QuorvelServerHandle server = Connect();
    QuorvelNBTicket events = {};
    ASSERT_EQ(QUORVEL_OK, SCAN_getEvents(&server, OnEvent, &events));
    EXPECT_EQ(QUORVEL_CANNOT_REUSE_NBTICKET, SCAN_getEventsEx(&server, OnEvent, &events));
    EXPECT_EQ(QUORVEL_BUSY, NB_block(&events)) << "an active registration never completes";
    EXPECT_EQ(QUORVEL_BUSY, NB_destroy(&events));
    EXPECT_EQ(QUORVEL_OK, NB_cancel(&events));
    EXPECT_EQ(QUORVEL_OK, NB_cancel(&events));
    EXPECT_EQ(QUORVEL_OK, NB_block(&events));
    EXPECT_EQ(QUORVEL_OK, NB_destroy(&events));
    // The released ticket's memory may be filled again.
    EXPECT_EQ(QUORVEL_OK, SCAN_getEventsEx(&server, OnEvent, &events));
    EXPECT_EQ(QUORVEL_PARAMETER_MAY_NOT_BE_NULL, SCAN_getAlertEvents(&server, nullptr, &events));
    EXPECT_EQ(QUORVEL_BAD_PARAM, NB_cancel(nullptr));
}

TEST_F(SimTicketTest, MonitorTellsOfTheServerGoingDown) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle scan = OpenScanSession(server);
    QuorvelNBTicket monitor = {};
    ASSERT_EQ(QUORVEL_OK, INIT_monitorServer(&server, 16, 0, &monitor));
    EXPECT_EQ(QUORVEL_PARAMETER_MAY_NOT_BE_NULL, NB_registerCallback(&monitor, 0, nullptr));
    ASSERT_EQ(QUORVEL_OK, NB_registerCallback(&monitor, 0, OnServerDown));
    EXPECT_EQ(QUORVEL_CANNOT_REUSE_NBTICKET, NB_registerCallback(&monitor, 0, OnServerDown));
    QuorvelNBTicket events = {};
    ASSERT_EQ(QUORVEL_OK, SCAN_getEventsEx(&server, OnEvent, &events));
    EXPECT_EQ(QUORVEL_BAD_PARAM, NB_registerCallback(&events, 0, OnServerDown))
        << "only a monitor ticket takes a server-down callback";

    EXPECT_EQ(1, OrvexSim_SetServerDown("default", 1));
    EXPECT_EQ(1, g_received.downs);
    ServerAttributeList* list = nullptr;
    EXPECT_EQ(QUORVEL_CONNECTION_FAILED, SCAN_serverAttributes(&scan, &list, 0));
    QuorvelServerHandle second = {};
    EXPECT_EQ(
        QUORVEL_HOST_UNREACHABLE,
        INIT_connectToNonStandardServer("127.0.0.1", "guest", "", "kivo", -1, -1, -1, &second, 0));
    // Closing and releasing still work locally.
    EXPECT_EQ(QUORVEL_OK, Release(monitor));
    EXPECT_EQ(QUORVEL_OK, Release(events));
    EXPECT_EQ(QUORVEL_OK, SCAN_closeSession(&scan, 0));
    EXPECT_EQ(QUORVEL_OK, INIT_disconnectFromServer(&server, 0));

    EXPECT_EQ(0, OrvexSim_SetServerDown("DEFAULT", 0));
    server = Connect();
    EXPECT_EQ(QUORVEL_OK, INIT_disconnectFromServer(&server, 0));
}

TEST_F(SimTicketTest, UnloadEndsEveryRegistration) {
    QuorvelServerHandle server = Connect();
    QuorvelNBTicket events = {};
    ASSERT_EQ(QUORVEL_OK, SCAN_getEventsEx(&server, OnEvent, &events));
    EXPECT_EQ(1, OrvexSim_DeliverEvent(5, 0, 0));
    quorvel_unload();
    EXPECT_EQ(0u, OrvexSim_CallbackThreadId()) << "the library's thread ended";
    EXPECT_EQ(0, OrvexSim_DeliverEvent(5, 0, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, NB_cancel(&events));
    server = Connect();
    events = {};
    ASSERT_EQ(QUORVEL_OK, SCAN_getEventsEx(&server, OnEvent, &events));
    EXPECT_EQ(1, OrvexSim_DeliverEvent(5, 0, 0));
}

} // namespace
