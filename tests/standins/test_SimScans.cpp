// New scans of the simulated servers: a server with new_scan.txt files a job made from a stored
// one with the requested attributes and reports its pages and its end on the library's thread;
// a cancel drops the job; servers without the script still refuse.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ProcessThreads.h"
#include "SimJobsTestSupport.h"

namespace {

struct Events {
    std::mutex mutex;
    std::vector<std::pair<int, int>> received; // type, job
};
Events g_events;

void QUORVEL_CALL OnEvent(void* record) {
    const auto* event = static_cast<const ScanEventRecord*>(record);
    const std::lock_guard<std::mutex> lock(g_events.mutex);
    g_events.received.emplace_back(event->type, event->jobId);
}

std::vector<std::pair<int, int>> Received() {
    const std::lock_guard<std::mutex> lock(g_events.mutex);
    return g_events.received;
}

void ClearReceived() {
    const std::lock_guard<std::mutex> lock(g_events.mutex);
    g_events.received.clear();
}

// Waits until an event of this type arrived; false after ten seconds.
bool WaitFor(int type) {
    for (int i = 0; i < 1000; ++i) {
        for (const auto& event : Received()) {
            if (event.first == type) {
                return true;
            }
        }
        Sleep(10);
    }
    return false;
}

std::string Attribute(const ServerAttributeList& list, const std::string& key) {
    for (int32_t i = 0; i < list.count; ++i) {
        if (key == list.keys[i]) {
            return list.values[i];
        }
    }
    return "<none>";
}

class SimScanTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ClearReceived();
        server = Connect();
        session = OpenScanSession(server);
        ASSERT_EQ(QUORVEL_OK, SCAN_getEventsEx(&server, OnEvent, &ticket));
    }
    void TearDown() override {
        // Ends every scan still running before the tickets and the heap are checked.
        OrvexSim_Reset();
        SimTest::TearDown();
    }

    // The entry of the job in the server's list; false when it is not listed.
    bool Listed(int job, ScanJobEntry& entry, std::string& colorMode, std::string& xResolution,
                std::string& pages) {
        ScanJobList* list = nullptr;
        if (SCAN_getJobList(&session, &list, 0) != QUORVEL_OK || list == nullptr) {
            return false;
        }
        bool found = false;
        for (int32_t i = 0; i < list->count; ++i) {
            if (list->entries[i].jobId == job) {
                entry = list->entries[i];
                colorMode = Attribute(entry.attributes, "COLOR_MODE");
                xResolution = Attribute(entry.attributes, "X_RESOLUTION");
                pages = Attribute(entry.attributes, "N_PAGES");
                found = true;
            }
        }
        SCAN_freeScanJobList(list, 0);
        return found;
    }

    QuorvelServerHandle server = {};
    QuorvelSessionHandle session = {};
    QuorvelNBTicket ticket = {};
};

} // namespace

TEST_F(SimScanTest, AScanFilesItsPagesOneByOneThenEnds) {
    RequestList request({{"COLOR_MODE", "GRAYSCALE"},
                         {"RAW_X_RES", "300"},
                         {"RAW_Y_RES", "300"},
                         {"SCAN_SOURCE", "ADF"},
                         {"SCAN_DOUBLE_SIDE", "YES"},
                         {"USERNAME", "erin"}});
    int32_t job = 0;
    ASSERT_EQ(QUORVEL_OK, SCAN_initiateScan(&session, request.Get(), &job, 0));
    EXPECT_EQ(1001, job) << "new_scan.txt's FIRST_JOB";
    ASSERT_TRUE(WaitFor(0));
    // The grey stored job has one page: both sides of one sheet.
    const std::vector<std::pair<int, int>> expected = {{9, 1001}, {9, 1001}, {0, 1001}};
    EXPECT_EQ(expected, Received());

    ScanJobEntry entry = {};
    std::string colorMode, xResolution, pages;
    ASSERT_TRUE(Listed(1001, entry, colorMode, xResolution, pages));
    EXPECT_STREQ("erin", entry.owner);
    EXPECT_STREQ("Scan 1001", entry.name);
    EXPECT_EQ("GRAYSCALE", colorMode);
    EXPECT_EQ("300", xResolution);
    EXPECT_EQ("2", pages);
    int32_t count = 0;
    EXPECT_EQ(QUORVEL_OK, SCAN_getNumPagesInJob(&session, 1001, &count, 0));
    EXPECT_EQ(2, count);
    // Each page is the stored job's page, byte for byte.
    RequestList pageTwo({{"PAGE", "2"}});
    int result = 0;
    EXPECT_EQ(ServerFileBytes("default\\jobs\\105\\page1.jpg"),
              DownloadAll(session, 1001, pageTwo.Get(), 65536, result));
    EXPECT_EQ(QUORVEL_OK, result);

    // The next scan has the next number.
    ASSERT_EQ(QUORVEL_OK, SCAN_initiateScan(&session, request.Get(), &job, 0));
    EXPECT_EQ(1002, job);
}

TEST_F(SimScanTest, PagesAndStoredJobFollowTheRequest) {
    struct Case {
        const char* colorMode;
        const char* source;
        const char* doubleSided;
        const char* expectedMode;
        int pages;
    };
    // Colour copies job 101 (two pages), black and white job 103 (three), any other mode the
    // DEFAULT.
    const Case cases[] = {{"COLOR", "ADF", "NO", "COLOR", 2},
                          {"COLOR", "PLATEN", "NO", "COLOR", 1},
                          {"BLACK_WHITE", "ADF", "YES", "BLACK_WHITE", 6},
                          {"AUTO", "PLATEN", "YES", "AUTO", 2}};
    int expectedJob = 1001;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colorMode + std::string(" ") + c.source);
        ClearReceived();
        RequestList request({{"COLOR_MODE", c.colorMode},
                             {"SCAN_SOURCE", c.source},
                             {"SCAN_DOUBLE_SIDE", c.doubleSided}});
        int32_t job = 0;
        ASSERT_EQ(QUORVEL_OK, SCAN_initiateScan(&session, request.Get(), &job, 0));
        EXPECT_EQ(expectedJob++, job);
        ASSERT_TRUE(WaitFor(0));
        EXPECT_EQ(static_cast<size_t>(c.pages + 1), Received().size());
        ScanJobEntry entry = {};
        std::string colorMode, xResolution, pages;
        ASSERT_TRUE(Listed(job, entry, colorMode, xResolution, pages));
        EXPECT_EQ(c.expectedMode, colorMode);
        EXPECT_EQ(std::to_string(c.pages), pages);
    }
}

TEST_F(SimScanTest, ACancelDropsTheJobAndIsReported) {
    RequestList request({{"COLOR_MODE", "BLACK_WHITE"}, {"SCAN_DOUBLE_SIDE", "YES"}});
    int32_t job = 0;
    ASSERT_EQ(QUORVEL_OK, SCAN_initiateScan(&session, request.Get(), &job, 0));
    ASSERT_TRUE(WaitFor(9));
    EXPECT_EQ(QUORVEL_OK, SCAN_cancelScan(&session, job, 0, 0));
    ASSERT_TRUE(WaitFor(2));
    Sleep(300);
    const std::vector<std::pair<int, int>> events = Received();
    EXPECT_EQ(std::make_pair(2, job), events.back()) << "nothing after the cancel";
    for (const auto& event : events) {
        EXPECT_NE(0, event.first) << "the job never ends";
    }
    ScanJobEntry entry = {};
    std::string colorMode, xResolution, pages;
    EXPECT_FALSE(Listed(job, entry, colorMode, xResolution, pages));
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_cancelScan(&session, job, 0, 0)) << "over";
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_cancelScan(&session, 101, 0, 0)) << "a stored job";
}

TEST_F(SimScanTest, AResetEndsAScanSilently) {
    const testsupport::ThreadIds before = testsupport::threadsOfThisProcess();
    RequestList request({{"COLOR_MODE", "BLACK_WHITE"}});
    int32_t job = 0;
    ASSERT_EQ(QUORVEL_OK, SCAN_initiateScan(&session, request.Get(), &job, 0));
    OrvexSim_Reset();
    EXPECT_TRUE(testsupport::noThreadLeftSince(before)) << "the scan's thread outlived the reset";
    const size_t after = Received().size();
    Sleep(500);
    EXPECT_EQ(after, Received().size());
}

TEST_F(SimScanTest, RefusedScansFileNothing) {
    RequestList request({{"COLOR_MODE", "COLOR"}});
    int32_t job = 9;
    EXPECT_EQ(QUORVEL_PARAMETER_MAY_NOT_BE_NULL, SCAN_initiateScan(&session, nullptr, &job, 0));
    // A failure of a test's choice, and an answer of 0 without a scan.
    OrvexSim_FailNext("SCAN_initiateScan", QUORVEL_BUSY);
    EXPECT_EQ(QUORVEL_BUSY, SCAN_initiateScan(&session, request.Get(), &job, 0));
    OrvexSim_FailNext("SCAN_initiateScan", 0);
    EXPECT_EQ(0, SCAN_initiateScan(&session, request.Get(), &job, 0));
    Sleep(300);
    EXPECT_TRUE(Received().empty());

    // A server without a script.
    QuorvelServerHandle other = Connect("badpages");
    QuorvelSessionHandle otherSession = OpenScanSession(other);
    job = 9;
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE,
              SCAN_initiateScan(&otherSession, request.Get(), &job, 0));
    EXPECT_EQ(0, job);
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, SCAN_cancelScan(&otherSession, 1, 0, 0));
}
