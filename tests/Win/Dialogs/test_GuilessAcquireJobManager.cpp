// The window-less acquisition: MSG_ENABLEDS without the user interface starts a scan whose
// attributes come from the application's settings, follows the scan's events and announces the
// ended job's first page (MSG_XFERREADY through MSG_PROCESSEVENT); every way the acquisition can
// end without a page asks the application to close the source (MSG_CLOSEDSREQ).

#include "GuiModalErrorDialog_rc.h"
#include "FirstPageFailures.h"
#include "GuiTestSupport.h"
#include "GuiWindowFactory.h"
#include "GuilessAcquireJobManager.h"
#include "QuorvelWrapperIntf.h"
#include "ScanCommandIntf.h"
#include "Scanner.h"
#include "ServerInfo.h"
#include "ServerList.h"
#include "GuiSourceFixture.h"
#include "PoisonedWindow.h"
#include "ResourceLoader.h"
#include "StringTable_rc.h"
#include "zylImageFile.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <cmath>
#include <string>
#include <vector>

namespace {

TW_FIX32 Fix32(double value) {
    const long scaled = std::lround(value * 65536.0);
    TW_FIX32 fix;
    fix.Whole = static_cast<TW_INT16>(scaled >> 16);
    fix.Frac = static_cast<TW_UINT16>(scaled & 0xffff);
    return fix;
}

// The attributes of the last SCAN_initiateScan of the call log; "<none>" without one.
std::string InitiateAttributes() {
    const std::vector<std::string> log = OrvexSimLog();
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
        if (it->rfind("SCAN_initiateScan", 0) == 0) {
            return *it;
        }
    }
    return "<none>";
}

std::string Pair(const std::string& key, const std::string& value) {
    return "\"" + key + "\"=\"" + value + "\"";
}

bool Logged(const std::string& call) {
    const std::vector<std::string> names = OrvexSimCalls();
    return std::find(names.begin(), names.end(), call) != names.end();
}

using PoisonedManager = Poisoned<GuilessAcquireJobManager>;

// The Gui windows, with managers that fault at any use once deleted.
class PoisoningWindowFactory : public GuiWindowFactory {
public:
    GuilessAcquireIntf* CreateGuilessAcquireJobManager(UiWindowIntf* owner,
                                                       QuorvelWrapperIntf* wrapper,
                                                       ScanPreferences& preferences,
                                                       Scanner* scanner) override {
        auto manager = std::make_unique<PoisonedManager>(dynamic_cast<GuiWindowsDialog*>(owner),
                                                         wrapper, preferences, scanner);
        manager->Create();
        return manager.release();
    }
};

class GuilessAcquireTest : public GuiSourceFixture {
protected:
    void Open() {
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        ASSERT_NE(nullptr, Ui());
    }
    static AbstractSource* Source() { return AbstractSource::Instance(); }
    static DataArg_UserInterface* Ui() { return AbstractSource::GetUserInterfaceHandler(); }
    static GuilessAcquireJobManager* Manager() {
        return dynamic_cast<GuilessAcquireJobManager*>(Ui()->GetGuilessAcquireJobManager());
    }
    TW_UINT16 EnableWithoutUI() {
        TW_USERINTERFACE ui = {};
        ui.ShowUI = FALSE;
        ui.hParent = app.Window();
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    TW_UINT16 Disable() {
        TW_USERINTERFACE ui = {};
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    // Enables with the scan accepted by the server (job id unknown), leaving the attributes
    // of the initiate in the call log.
    void StartScan() {
        OrvexSim_ClearLog();
        OrvexSim_FailNext("SCAN_initiateScan", 0);
        ASSERT_EQ(TWRC_SUCCESS, EnableWithoutUI());
        ASSERT_NE(nullptr, Manager());
        ASSERT_TRUE(Manager()->IsScanPending());
    }
    int CountNotices(TW_UINT16 notice) const {
        const auto& notices = app.Notices();
        return static_cast<int>(std::count(notices.begin(), notices.end(), notice));
    }
    void TearDown() override {
        GuiSourceFixture::TearDown();
        PoisonedManager::FreeGraveyard();
    }

    // Installed by a test that wants deleted managers to fault at any use.
    PoisoningWindowFactory poisoning;
};

} // namespace

// What the application set becomes the new scan's attributes.
TEST_F(GuilessAcquireTest, InitiateCarriesTheApplicationsSettings) {
    struct Case {
        const char* name;
        const char* server;
        std::function<void(TwainTestApp&)> settings;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const auto layout = [](double width, double height) {
        return [=](TwainTestApp& app) {
            TW_IMAGELAYOUT frame = {};
            frame.Frame = {Fix32(0), Fix32(0), Fix32(width), Fix32(height)};
            ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &frame));
        };
    };
    const std::vector<Case> cases = {
        {"resolution above the largest: both axes take it",
         "default",
         [](TwainTestApp&) {
             Source()->SetXResolutionCurrent(1200);
             Source()->SetYResolutionCurrent(200);
         },
         {Pair("RAW_X_RES", "600"), Pair("RAW_Y_RES", "600")},
         {}},
        {"resolution below the smallest",
         "default",
         [](TwainTestApp&) { Source()->SetXResolutionCurrent(50); },
         {Pair("RAW_X_RES", "100"), Pair("RAW_Y_RES", "100")},
         {}},
        {"a listed resolution stays",
         "caps-bw",
         [](TwainTestApp&) {
             Source()->SetXResolutionCurrent(200);
             Source()->SetYResolutionCurrent(600);
         },
         {Pair("RAW_X_RES", "200"), Pair("RAW_Y_RES", "600")},
         {}},
        {"letter frame",
         "default",
         layout(8.5, 11),
         {Pair("PAGESIZE", "Letter.Transverse"), Pair("MIXED_PAGESIZE", "OFF")},
         {}},
        {"A4 frame, truncated to tenths",
         "default",
         layout(8.27, 11.69),
         {Pair("PAGESIZE", "A4.Transverse")},
         {}},
        {"a frame of no table size on a server that finds sizes itself",
         "default",
         layout(20, 20),
         {Pair("PAGESIZE", "AUTO_PAGESIZE")},
         {"PAGESIZE_DIM_X"}},
        {"a frame larger than every size on a server without custom sizes",
         "caps-bw",
         layout(20, 20),
         {Pair("PAGESIZE", "Tabloid")},
         {"PAGESIZE_DIM_X"}},
        {"no frame: the server finds the size",
         "default",
         [](TwainTestApp&) {},
         {Pair("PAGESIZE", "AUTO_PAGESIZE"), Pair("MIXED_PAGESIZE", "ON")},
         {}},
        {"no frame, no automatic size",
         "caps-bw",
         [](TwainTestApp&) {},
         {Pair("PAGESIZE", "Tabloid")},
         {"MIXED_PAGESIZE"}},
        {"border detection",
         "default",
         [layout](TwainTestApp& app) {
             layout(8.5, 11)(app);
             Source()->SetAutomaticBorderDetection(1);
         },
         {Pair("PAGESIZE", "AUTO_PAGESIZE"), Pair("MIXED_PAGESIZE", "ON")},
         {}},
        {"colour",
         "default",
         [](TwainTestApp&) { Source()->SetPixelTypeCurrent(TWPT_RGB); },
         {Pair("COLOR_MODE", "COLOR"), Pair("COMPRESSION", "JPEG"),
          Pair("COMPRESS_LEVEL", "STANDARD")},
         {}},
        {"grey",
         "default",
         [](TwainTestApp&) { Source()->SetPixelTypeCurrent(TWPT_GRAY); },
         {Pair("COLOR_MODE", "GRAYSCALE"), Pair("COMPRESSION", "JPEG")},
         {}},
        {"black and white",
         "default",
         [](TwainTestApp&) { Source()->SetPixelTypeCurrent(TWPT_BW); },
         {Pair("COLOR_MODE", "BLACK_WHITE"), Pair("COMPRESSION", "GROUP4")},
         {}},
        {"black and white without compression levels",
         "caps-bw",
         [](TwainTestApp&) { Source()->SetPixelTypeCurrent(TWPT_BW); },
         {Pair("COLOR_MODE", "BLACK_WHITE")},
         {"COMPRESSION", "COMPRESS_LEVEL"}},
        {"landscape",
         "default",
         [](TwainTestApp&) { Source()->SetOrientationCurrent(TWOR_LANDSCAPE); },
         {Pair("ORIENTATION", "LANDSCAPE")},
         {}},
        {"platen, one side",
         "default",
         [](TwainTestApp&) {
             Source()->SetFeederEnabled(0);
             Source()->SetDuplexEnabled(0);
         },
         {Pair("SCAN_SOURCE", "PLATEN"), Pair("SCAN_DOUBLE_SIDE", "NO")},
         {}},
        {"feeder, both sides, fixed values of the server's features",
         "default",
         [](TwainTestApp&) {
             Source()->SetFeederEnabled(1);
             Source()->SetDuplexEnabled(1);
         },
         {Pair("SCAN_SOURCE", "ADF"), Pair("SCAN_DOUBLE_SIDE", "YES"), Pair("BREMOVE", "OFF"),
          Pair("BRIGHTNESS", "0"), Pair("BIND_DIRECTION", "LEFT_SIDE"),
          Pair("IMAGE_MODE", "FS_TEXT_IMAGE"), Pair("MKEMFAXABLE", "NO"), "\"USERNAME\"="},
         {}},
        {"a server without a feeder scans one side",
         "caps-bw",
         [](TwainTestApp&) { Source()->SetDuplexEnabled(1); },
         {Pair("SCAN_DOUBLE_SIDE", "NO")},
         {"SCAN_SOURCE", "BREMOVE", "MKEMFAXABLE"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.server) != "default") {
            StoreServerList(c.server, c.server);
        }
        Open();
        c.settings(app);
        StartScan();
        const std::string initiate = InitiateAttributes();
        for (const std::string& part : c.present) {
            EXPECT_TRUE(Contains(initiate, part)) << part << " in " << initiate;
        }
        for (const std::string& key : c.absent) {
            EXPECT_FALSE(Contains(initiate, "\"" + key + "\"=")) << key << " in " << initiate;
        }
        EXPECT_EQ(5, Source()->GetState());
        EXPECT_TRUE(Manager()->IsFollowingAnyJob()) << "the server gave no job id";
        EXPECT_EQ(0, app.CountForeignVisibleWindows()) << "the window is never shown";
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
        RemoveProductKey();
        OrvexSim_Reset();
        ShowSimulatedServers();
    }
}

TEST_F(GuilessAcquireTest, MapsFramesToTheServersPaperNames) {
    Open();
    StartScan();
    GuilessAcquireJobManager* const manager = Manager();
    // The default server lists the table's first names, takes custom sizes and finds sizes.
    // Most decimal inches lie just below their value as doubles (8.2 is 8.19999...): times
    // ten they must still give the whole tenths on both targets, not one tenth less.
    const struct {
        double width;
        double height;
        const char* name;
    } cases[] = {
        {8.5, 11.0, "Letter.Transverse"},
        {11.0, 8.5, "LetR"},
        {8.5, 14.0, "Legal"},
        {8.27, 11.69, "A4.Transverse"},
        {8.2, 11.6, "A4.Transverse"},
        {11.6, 8.2, "A4R"},
        {7.1, 10.1, "B5.Transverse"},
        {14.3, 10.1, "B4.Transverse"},
        {16.5, 11.6, "A3"},
        {8.19, 11.6, "AUTO_PAGESIZE"},
        {3.0, 3.0, "AUTO_PAGESIZE"},
        // A5R is a table size the server does not list: with custom sizes there is no name.
        {8.2, 5.8, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.name, manager->MapPageSize(c.width, c.height)) << c.width << " x " << c.height;
    }
}

// Whatever the job's kind (101 colour JPEG, 103 black and white GROUP4, 102 grey without
// compression), its first page is fetched before the application hears of it.
TEST_F(GuilessAcquireTest, AnnouncesTheEndedJobOnlyAfterItsFirstPageArrived) {
    struct Case {
        int32_t job;
        int pages;
    };
    for (const Case& c : {Case{101, 2}, Case{103, 3}, Case{102, 1}}) {
        SCOPED_TRACE(c.job);
        Open();
        StartScan();
        const int transfers = CountNotices(MSG_XFERREADY);
        // Events of any job are the scan's own while the server gave no id; the first that
        // ends fixes it.
        OrvexSim_ClearLog();
        ASSERT_GT(OrvexSim_DeliverEvent(0, c.job, 0), 0);
        ASSERT_TRUE(app.PumpUntil([&] { return CountNotices(MSG_XFERREADY) > transfers; }, 10000));
        EXPECT_EQ(c.job, Manager()->GetFollowedJobId());
        EXPECT_FALSE(Manager()->IsScanPending());
        EXPECT_EQ(6, Source()->GetState());
        EXPECT_TRUE(Logged("SCAN_getDataEx")) << "the page is fetched before it is announced";
        ScanCommandIntf* const command = Source()->GetScanner()->GetScanCommand();
        ASSERT_TRUE(command->HasImageFile());
        EXPECT_EQ(static_cast<uint32_t>(c.job), command->GetImageFile()->GetJobID());
        EXPECT_EQ(c.pages, command->GetPagesLeft()) << "every page of the job";
        EXPECT_FALSE(Ui()->IsCloseRequested());

        // The last page handed over ends the acquisition, without asking to close.
        const int closeRequests = CountNotices(MSG_CLOSEDSREQ);
        for (int page = 1; page <= c.pages; ++page) {
            SCOPED_TRACE(page);
            EXPECT_FALSE(Ui()->IsCloseRequested());
            HGLOBAL bitmap = nullptr;
            EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS,
                         app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap));
            GlobalFree(bitmap);
            TW_PENDINGXFERS pending = {};
            EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                         app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
            EXPECT_EQ(c.pages - page, pending.Count);
        }
        EXPECT_TRUE(Ui()->IsCloseRequested());
        app.PumpMessages(100);
        EXPECT_EQ(closeRequests, CountNotices(MSG_CLOSEDSREQ));
        EXPECT_EQ(5, Source()->GetState());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
        OrvexSim_Reset();
        ShowSimulatedServers();
    }
}

TEST_F(GuilessAcquireTest, ClassifiesJobsByTheServersOwnWords) {
    Open();
    StartScan();
    Scanner* const scanner = Source()->GetScanner();
    ASSERT_TRUE(scanner->RefreshJobs());
    struct Case {
        int32_t job;
        int kind;
    };
    // 101 colour JPEG, 102 grey uncompressed, 103 and 106 black and white GROUP4, 104 colour
    // uncompressed.
    const Case cases[] = {{101, GuilessAcquireJobManager::kKindJpeg},
                          {102, GuilessAcquireJobManager::kKindOther},
                          {103, GuilessAcquireJobManager::kKindBitonal},
                          {104, GuilessAcquireJobManager::kKindOther},
                          {106, GuilessAcquireJobManager::kKindBitonal}};
    for (const Case& c : cases) {
        zylImageFile* const job = scanner->GetImageFileByJobID(c.job);
        ASSERT_NE(nullptr, job) << c.job;
        EXPECT_EQ(c.kind, Manager()->ReadJobFormat(job)) << c.job;
    }
    EXPECT_EQ(GuilessAcquireJobManager::kKindOther, Manager()->ReadJobFormat(nullptr));
}

// Every end without a page reaches the application as MSG_CLOSEDSREQ.
TEST_F(GuilessAcquireTest, EveryEndWithoutAPageAsksToClose) {
    struct Case {
        const char* name;
        // False: the server refuses the new scan.
        bool scanAccepted;
        std::function<void()> trigger;
    };
    const std::vector<Case> cases = {
        {"initiate refused", false, [] {}},
        {"scan cancelled", true, [] { OrvexSim_DeliverEvent(2, 0, 0); }},
        {"scan failed", true, [] { OrvexSim_DeliverEvent(3, 0, 0); }},
        {"server down", true, [] { OrvexSim_SetServerDown("default", 1); }},
        {"ended job not found", true, [] { OrvexSim_DeliverEvent(0, 999, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        const int closeRequests = CountNotices(MSG_CLOSEDSREQ);
        const int transfers = CountNotices(MSG_XFERREADY);
        if (c.scanAccepted) {
            StartScan();
        } else {
            OrvexSim_FailNext("SCAN_initiateScan", QUORVEL_FUNCTION_NOT_AVAILABLE);
            EXPECT_EQ(TWRC_SUCCESS, EnableWithoutUI());
            ASSERT_NE(nullptr, Manager());
            EXPECT_FALSE(Manager()->IsScanPending());
        }
        c.trigger();
        EXPECT_TRUE(
            app.PumpUntil([&] { return CountNotices(MSG_CLOSEDSREQ) > closeRequests; }, 10000));
        EXPECT_EQ(closeRequests + 1, CountNotices(MSG_CLOSEDSREQ)) << "asked once";
        EXPECT_EQ(transfers, CountNotices(MSG_XFERREADY));
        EXPECT_TRUE(Ui()->IsCloseRequested());
        EXPECT_FALSE(Manager()->IsScanPending());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        EXPECT_EQ(nullptr, Ui()->GetGuilessAcquireJobManager());
        OrvexSim_SetServerDown("default", 0);
        Unload();
        OrvexSim_Reset();
        ShowSimulatedServers();
    }
}

// A first page that cannot be fetched ends the acquisition: the user reads why, and the
// application hears of no page and is asked once to close the source.
TEST_F(GuilessAcquireTest, AFirstPageThatCannotBeFetchedEndsTheAcquisition) {
    for (const FirstPageFailure& c : kFirstPageFailures) {
        SCOPED_TRACE(c.name);
        const guitest::BoxReader errors(IDC_MODAL_ERROR_TEXT);
        Open();
        StartScan();
        const int closeRequests = CountNotices(MSG_CLOSEDSREQ);
        const int transfers = CountNotices(MSG_XFERREADY);
        OrvexSim_FailDataBlock(ORVEXSIM_FIRST_BLOCK, c.dataAnswer);
        ASSERT_GT(OrvexSim_DeliverEvent(0, 101, 0), 0); // colour JPEG
        EXPECT_TRUE(
            app.PumpUntil([&] { return CountNotices(MSG_CLOSEDSREQ) > closeRequests; }, 10000));
        EXPECT_EQ(std::vector<std::string>{ResourceLoader::Instance()->LoadString(c.message)},
                  errors.Texts());
        app.PumpMessages(100);
        EXPECT_EQ(closeRequests + 1, CountNotices(MSG_CLOSEDSREQ));
        EXPECT_EQ(transfers, CountNotices(MSG_XFERREADY));
        EXPECT_TRUE(Ui()->IsCloseRequested());
        EXPECT_FALSE(Ui()->HasPagesDone());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
        OrvexSim_Reset();
        ShowSimulatedServers();
    }
}

namespace {

// A server that starts every scan under a job id of its own and notes cancels.
class NamingWrapper : public QuorvelWrapperIntf {
public:
    int ScanInitiateScan(ServerAttributeList*, int32_t* jobId) override {
        *jobId = 55;
        return 0;
    }
    int ScanCancelScan(int32_t jobId) override {
        cancelled.push_back(jobId);
        return 0;
    }
    std::vector<int32_t> cancelled;
};

} // namespace

TEST_F(GuilessAcquireTest, FollowsOnlyTheJobTheServerNamed) {
    Open();
    NamingWrapper wrapper;
    auto* const manager = new GuilessAcquireJobManager(
        nullptr, &wrapper, Source()->GetScanPreferences(), Source()->GetScanner());
    manager->Create();
    EXPECT_TRUE(manager->IsScanPending());
    EXPECT_FALSE(manager->IsFollowingAnyJob());
    EXPECT_EQ(55, manager->GetFollowedJobId());
    // Another job's end, cancel and failure, and a status event of its own, change nothing.
    for (const WPARAM type : {0, 2, 3, 7}) {
        SendMessageA(manager->GetHwnd(), WM_NIMBREL_SCAN_EVENT, type, type == 7 ? 55 : 101);
    }
    EXPECT_TRUE(manager->IsScanPending());
    EXPECT_EQ(55, manager->GetFollowedJobId());
    EXPECT_FALSE(Ui()->IsCloseRequested());
    // The end of the acquisition cancels the named scan at the server, once.
    manager->CancelScan();
    manager->CancelScan();
    EXPECT_EQ(std::vector<int32_t>{55}, wrapper.cancelled);
    EXPECT_FALSE(manager->IsScanPending());
    EXPECT_TRUE(Ui()->IsCloseRequested());
    manager->Close();
}

// The application may disable the source from any message that a loop run while the manager
// handles an event dispatches (the job list's reload under the wait window, the box that
// reports a page that did not arrive): the manager goes at once, nothing touches it after,
// and nothing is announced.
TEST_F(GuilessAcquireTest, AManagerClosedInsideAnEventsLoopIsNotTouchedAgain) {
    DataArg_UserInterface::SetWindowFactory(&poisoning);
    struct Case {
        std::string name;
        // Null: the page arrives, and the reload's loop disables; else the box's loop does.
        const FirstPageFailure* failure;
    };
    std::vector<Case> cases = {{"the job list's reload", nullptr}};
    for (const FirstPageFailure& failure : kFirstPageFailures) {
        cases.push_back({std::string("the error box: ") + failure.name, &failure});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        StartScan();
        const size_t notices = app.Notices().size();
        guitest::PostedCall application;
        const auto disable = [&] {
            application.Post([this] { EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable()); });
        };
        const guitest::WindowAnswerer box(
            [](HWND window) {
                return guitest::HasControls(window, {IDC_MODAL_ERROR_TEXT, IDOK});
            },
            [&](HWND window) {
                disable();
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            });
        if (c.failure != nullptr) {
            OrvexSim_FailDataBlock(ORVEXSIM_FIRST_BLOCK, c.failure->dataAnswer);
        }
        ASSERT_GT(OrvexSim_DeliverEvent(0, 101, 0), 0); // colour JPEG
        if (c.failure == nullptr) {
            // Queued behind the event: the first loop of its handling takes it.
            disable();
        }
        EXPECT_TRUE(app.PumpUntil([&] { return application.Runs() == 1; }, 10000));
        app.PumpMessages(200);
        EXPECT_EQ(nullptr, Ui()->GetGuilessAcquireJobManager());
        EXPECT_EQ(4, Source()->GetState());
        EXPECT_EQ(notices, app.Notices().size()) << "nothing announced after the close";
        EXPECT_EQ(c.failure != nullptr ? 1 : 0, box.Answered());
        Unload();
        OrvexSim_Reset();
        ShowSimulatedServers();
    }
}
