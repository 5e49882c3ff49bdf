// The acquire window's mediator against a real Scanner on the simulated servers: the server's
// answers to the window's questions, colour classes of stored jobs, preparing a job for the
// application, new scans and stored jobs sent as the call log shows them, and alert texts.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AcquireJobsMediator.h"
#include "ExportedAttributes.h"
#include "FileSpec.h"
#include "OrvexSimControl.h"
#include "QuorvelWrapper.h"
#include "RecordingAcquireJobsClient.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScanPreferences.h"
#include "Scanner.h"
#include "ScannerUiIntf.h"
#include "SimulatedServerSession.h"
#include "XGPreferences.h"
#include "zylImageFile.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class AcquireJobsMediatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        m_savedLanguage = ResourceLoader::Instance()->GetLanguageIndex();
        ResourceLoader::Instance()->SetLanguageIndex(0);
    }
    void TearDown() override {
        m_mediator.reset();
        m_session.reset();
        ResourceLoader::Instance()->SetLanguageIndex(m_savedLanguage);
        EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "blocks left on the library heap";
        EXPECT_EQ(0, OrvexSim_BadFrees());
        OrvexSim_Reset();
    }

    // The mediator of an acquire window open on a simulated server; the log starts empty.
    AcquireJobsMediator& OpenOn(const std::string& server) {
        m_mediator.reset();
        // The wrapper going last unloads the library: no session may be opened before it goes.
        m_session.reset();
        m_session = std::make_unique<SimulatedServerSession>(server);
        EXPECT_TRUE(m_session->GetScanner()->IsConnected()) << server;
        m_mediator = std::make_unique<AcquireJobsMediator>(m_session->Wrapper(), &m_preferences,
                                                           m_session->GetScanner(), &m_window);
        OrvexSim_ClearLog();
        return *m_mediator;
    }

    Scanner& TheScanner() { return *m_session->GetScanner(); }

    ScanPreferences m_preferences;
    RecordingAcquireJobsClient m_window;
    std::unique_ptr<SimulatedServerSession> m_session;
    std::unique_ptr<AcquireJobsMediator> m_mediator;
    int m_savedLanguage = 0;
};

TEST_F(AcquireJobsMediatorTest, QuestionsAboutTheServerFollowItsItemsAndFallbacks) {
    struct Expectation {
        const char* server;
        bool remoteSend;
        bool remoteGet;
        bool initMode;
        bool initiateDisabled;
        bool scanEnabled;
    };
    const Expectation servers[] = {
        {"localhost", true, true, true, false, true},
        {"caps-bare", true, true, true, false, true},
        {"mediators", false, false, false, true, false},
    };
    for (const Expectation& e : servers) {
        AcquireJobsMediator& mediator = OpenOn(e.server);
        EXPECT_EQ(e.remoteSend, mediator.IsRemoteSendEnabled()) << e.server;
        EXPECT_EQ(e.remoteGet, mediator.IsRemoteGetEnabled()) << e.server;
        EXPECT_EQ(e.initMode, mediator.GetScanInitMode()) << e.server;
        EXPECT_EQ(e.initiateDisabled, mediator.IsInitiateDisabled()) << e.server;
        EXPECT_EQ(e.scanEnabled, mediator.IsScanEnabled()) << e.server;
        EXPECT_EQ(m_session->Wrapper(), mediator.GetServerWrapper());
        EXPECT_EQ(&TheScanner(), mediator.GetScanner());
        EXPECT_EQ(&m_preferences, mediator.GetPreferences());
    }
}

TEST_F(AcquireJobsMediatorTest, ColourClassOfStoredJobs) {
    struct Job {
        const char* server;
        int32_t id;
        int colorClass;
        const char* why;
    };
    const Job jobs[] = {
        {"localhost", 101, 2, "COLOR"},
        {"localhost", 102, 2, "GRAYSCALE"},
        {"localhost", 103, 1, "BLACK_WHITE"},
        {"mediators", 601, 2, "GREYSCALE; the descriptive mode is not read"},
        {"mediators", 602, 2, "empty mode, descriptive COLOR"},
        {"mediators", 603, 1, "\"color\" is no server word, descriptive BLACK_WHITE"},
        {"mediators", 604, 1, "neither mode"},
        {"mediators", 605, 1, "BLACK_WHITE, though the descriptive mode says COLOR"},
    };
    std::string open;
    for (const Job& job : jobs) {
        if (open != job.server) {
            OpenOn(job.server);
            open = job.server;
        }
        zylImageFile* const image = TheScanner().FindImageFileByJobID(job.id);
        ASSERT_NE(nullptr, image) << job.id;
        EXPECT_EQ(job.colorClass, m_mediator->GetJobColorClass(image)) << job.id << ": " << job.why;
    }
    EXPECT_EQ(1, m_mediator->GetJobColorClass(nullptr)) << "no job";
}

TEST_F(AcquireJobsMediatorTest, AcquiringHandsTheJobToTheWindowFromItsFirstPage) {
    AcquireJobsMediator& mediator = OpenOn("localhost");
    ScanJobTicket ticket;
    ticket.jobId = 103;
    mediator.AcquireJob(ticket);
    EXPECT_EQ(1u, LogLinesOf("SCAN_getJobList").size()) << "the job list is fetched afresh";
    ASSERT_EQ(1u, m_window.ready.size());
    const RecordingAcquireJobsClient::ReadyJob& ready = m_window.ready[0];
    ASSERT_NE(nullptr, ready.job);
    EXPECT_EQ(103u, ready.job->GetJobID());
    EXPECT_EQ(-1, ready.startPage);
    EXPECT_EQ(3, ready.pagesLeft) << "every page of the job";
}

TEST_F(AcquireJobsMediatorTest, AcquiringAJobTheServerNoLongerListsDoesNothing) {
    AcquireJobsMediator& mediator = OpenOn("localhost");
    ScanJobTicket ticket;
    ticket.jobId = 999;
    mediator.AcquireJob(ticket);
    EXPECT_TRUE(m_window.ready.empty());
    EXPECT_FALSE(LogLinesOf("SCAN_getJobList").empty());
}

TEST_F(AcquireJobsMediatorTest, NewScansAndCancelsReachTheServerWithTheirCodesUnchanged) {
    AcquireJobsMediator& mediator = OpenOn("localhost");
    ScanAttributeWrapper job(m_session->Wrapper(), nullptr);
    job.SetColorMode("COLOR");
    job.SetRawXRes("300");
    ScanJobTicket ticket;
    EXPECT_EQ(0, mediator.InitiateScan(job.GetServerList(), ticket));
    EXPECT_EQ(1001, ticket.jobId) << "the simulated copier's first new job";
    const std::string initiated = LogLinesOf("SCAN_initiateScan").at(0);
    EXPECT_TRUE(Contains(initiated, "attributes=[\"COLOR_MODE\"=\"COLOR\" \"RAW_X_RES\"=\"300\"]"))
        << initiated;

    OrvexSim_FailNext("SCAN_initiateScan", -6);
    EXPECT_EQ(-6, mediator.InitiateScan(job.GetServerList(), ticket)) << "scanner busy";
    OrvexSim_FailNext("SCAN_initiateScan", 0);
    EXPECT_EQ(0, mediator.InitiateScan(job.GetServerList(), ticket));

    ticket.jobId = 77;
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, mediator.CancelScan(ticket)) << "no scan of that job";
    EXPECT_EQ("77", LogValue(LogLinesOf("SCAN_cancelScan").at(0), "job"));
    OrvexSim_FailNext("SCAN_cancelScan", -6);
    EXPECT_EQ(-6, mediator.CancelScan(ticket));
    ticket.jobId = 1001;
    EXPECT_EQ(0, mediator.CancelScan(ticket)) << "the scan under way";
}

TEST_F(AcquireJobsMediatorTest, SendingAStoredJobHandsTheDestinationsToTheServer) {
    AcquireJobsMediator& mediator = OpenOn("localhost");
    ScanAttributeWrapper destinations(m_session->Wrapper(), nullptr);
    destinations.SetDestinationPage(destinations.AddHoldQueueDestination(), "2");
    EXPECT_EQ(QUORVEL_OK, mediator.SendJob(101, destinations.GetServerList()));
    const std::string sent = LogLinesOf("SCAN_getDataEx").at(0);
    EXPECT_EQ("101", LogValue(sent, "job"));
    EXPECT_TRUE(Contains(sent, "[sent 1 \"HOLDQ\" format=\"\" page=\"2\"]")) << sent;

    const int ftp = destinations.AddFtpDestination();
    destinations.SetDestinationFormat(ftp, "PDF");
    destinations.SetFtpServer("ftp.denied.example.com");
    EXPECT_EQ(QUORVEL_SCAN_DEST_FAILED, mediator.SendJob(101, destinations.GetServerList()));
}

TEST_F(AcquireJobsMediatorTest, SavingToDiskWritesTheJobAndLeavesTheTargetAlone) {
    AcquireJobsMediator& mediator = OpenOn("localhost");
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "mediator_save.tif";
    std::remove(path.c_str());
    CommonCpp::FileSpec target(path);
    mediator.ProcessSaveToDisk(103, target, "TIFF", -1);
    EXPECT_EQ(path, target.GetPath());
    EXPECT_TRUE(target.Exists());
    EXPECT_TRUE(Contains(LogLinesOf("SCAN_getDataEx").at(0), "\"DEST_PAGE:1\"=\"0\""))
        << "page -1 is the whole job";
    std::remove(path.c_str());
}

TEST_F(AcquireJobsMediatorTest, DeveloperModeIsTheStoredPreference) {
    const std::string product = "NimbrelMediatorsTest";
    const std::string key = CommonCpp::XGPreferences::KeyPath("Halcyra", product, "5");
    {
        CommonCpp::XGPreferences store("Halcyra", product, "5", 1);
        m_preferences.SetStore(&store);
        AcquireJobsMediator mediator(nullptr, &m_preferences, nullptr, &m_window);
        EXPECT_FALSE(mediator.IsDeveloperMode());
        store.SetString("developermode", "yes");
        EXPECT_TRUE(mediator.IsDeveloperMode());
        store.SetString("developermode", "YES");
        EXPECT_FALSE(mediator.IsDeveloperMode()) << "only the stored \"yes\"";
        m_preferences.SetStore(nullptr);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Halcyra\\" + product).c_str());
}

TEST_F(AcquireJobsMediatorTest, AlertTexts) {
    AcquireJobsMediator& mediator = OpenOn("localhost");
    struct Alert {
        uint32_t code;
        uint32_t word;
        const char* key;
        const char* text;
    };
    const char* const error = "Error... Unexpected error from the Orvex server.";
    const Alert alerts[] = {
        {0, 1, "ADF", ""},
        {5, 1, "ADF", ""},
        {1, 1, "ADF", "Document Feeder"},
        {3, 1, "NO_SUCH_KEY", "NO_SUCH_KEY"},
        {1, 0, "ADF", "ADF Jam"},
        {1, 1, nullptr, "ADF Jam"},
        {2, 0, nullptr, "ADF Open"},
        {3, 0, nullptr, "Set documents on ADF"},
        {4, 0, nullptr, error},
        {6, 0, nullptr, "ADF Alarm"},
        {7, 0, nullptr, "Reload pages in the original order"},
        {8, 0, nullptr, error},
        {0xFFFFFFFFu, 0, nullptr, error},
    };
    for (const Alert& a : alerts) {
        ScanAlertEventRecord record = {};
        record.word0 = a.code;
        record.word1 = a.word;
        std::string key = a.key ? a.key : "";
        record.text = a.key ? &key[0] : nullptr;
        EXPECT_EQ(a.text, mediator.GetAlertText(record))
            << "code " << a.code << " word " << a.word << " key " << (a.key ? a.key : "null");
    }
}

TEST_F(AcquireJobsMediatorTest, AlertTextsBeforeTheScannerHasALocalizer) {
    std::unique_ptr<QuorvelWrapperIntf> wrapper(QuorvelWrapper::Create());
    ASSERT_EQ(QUORVEL_OK, wrapper->InitConnectToNonStandardServer("localhost", "guest", ""));
    {
        ScannerUiIntf ui;
        Scanner scanner(wrapper.get(), &ui);
        ASSERT_EQ(nullptr, scanner.GetLocalizer());
        AcquireJobsMediator mediator(wrapper.get(), &m_preferences, &scanner, &m_window);
        OrvexSim_ClearLog();
        ScanAlertEventRecord record = {};
        record.word0 = 1;
        record.word1 = 1;
        char key[] = "ADF";
        record.text = key;
        EXPECT_EQ("Document Feeder", mediator.GetAlertText(record));
        EXPECT_EQ(
            (std::vector<std::string>{"LOCL_openSession", "LOCL_getString", "LOCL_closeSession"}),
            OrvexSimCalls())
            << "a localizer of its own, for the one look-up";
    }
    wrapper->InitDisconnectFromServer();
}

} // namespace
