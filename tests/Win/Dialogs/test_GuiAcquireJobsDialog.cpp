// The acquire window with the source running inside this program against the simulated server:
// its buttons, the busy animation, the poll timer, scan events one at a time (and those that
// come while a page is being transferred, handled once it is), copier alerts, acquiring stored
// jobs and new scans page by page (MSG_XFERREADY / MSG_CLOSEDSREQ), sending and saving. The
// panes and the dialogs the window opens are stand-ins made through AcquireWindowParts.

#include "AcquireTestDialogs_rc.h"
#include "GuiAcquireJobsDialog.h"
#include "GuiAcquireJobsDialog_rc.h"
#include "GuiModalErrorDialog_rc.h"
#include "GuiMultiPane.h"
#include "FirstPageFailures.h"
#include "GuiTestSupport.h"
#include "GuiWindowFactory.h"
#include "TwainException.h"
#include "ScanCommand.h"
#include "ScanPreferences.h"
#include "Scanner.h"
#include "SendMediator.h"
#include "GuiSourceFixture.h"
#include "PoisonedWindow.h"
#include "StringTable_rc.h"
#include "ResourceLoader.h"
#include "FileSpec.h"
#include "GdiObject.h"
#include "MemoryDC.h"
#include "WindowDC.h"
#include "zylImageFile.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

class FakeRetrievePane : public GuiMultiPane, public AcquireRetrievePaneIntf {
public:
    FakeRetrievePane(GuiAcquireJobsDialog& window, Scanner* scanner)
        : GuiMultiPane(IDD_TEST_RETRIEVE_PANE, &window), m_scanner(scanner) {}

    zylImageFile* GetSelectedImageFile() override {
        if (selectedJob == 0) {
            return nullptr;
        }
        // The reload's wait window may close the window, and this pane with it.
        Scanner* const scanner = m_scanner;
        const int32_t job = selectedJob;
        scanner->RefreshJobs();
        return scanner->GetImageFileByJobID(job);
    }
    void RememberSelectedJob() override { ++remembered; }
    zylImageFile* GetRememberedImageFile() override { return GetSelectedImageFile(); }
    int32_t GetSelectedPage() override { return selectedPage; }
    std::string GetMailboxName() const override { return mailbox; }
    bool ChangeMailbox(const std::string& name, const std::string&) override {
        mailboxTries.push_back(name);
        return mailboxOpens;
    }
    void OnScanEvent(const ScanEventRecord* record) override {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        reloads.push_back(record->type);
        if (onReload) {
            auto action = std::move(onReload);
            onReload = nullptr;
            action();
        }
        --depth;
    }
    bool ReloadJobList(int32_t) override { return true; }

    int32_t selectedJob = 0;
    int selectedPage = -1;
    int remembered = 0;
    std::string mailbox = "007";
    bool mailboxOpens = true;
    std::vector<std::string> mailboxTries;
    std::vector<int32_t> reloads;
    std::function<void()> onReload;
    int depth = 0;
    int maxDepth = 0;

private:
    Scanner* m_scanner;
};

class FakeInitiatePane : public GuiMultiPane, public AcquireInitiatePaneIntf {
public:
    explicit FakeInitiatePane(GuiAcquireJobsDialog& window)
        : GuiMultiPane(IDD_TEST_INITIATE_PANE, &window) {}
    InitiateMediator* GetInitiateMediator() override {
        ++settingsAsked;
        return nullptr;
    }
    void RefreshSettings() override {}
    int settingsAsked = 0;
};

// A dialog without a window: the test ends it as the user would, through EndDialog. One told
// to fail is as a dialog whose window cannot be made.
void CreateOrFail(bool fail) {
    if (fail) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
}

class FakeSendDialog : public GuiWindowsDialog, public AcquireSendDialogIntf {
public:
    FakeSendDialog(GuiAcquireJobsDialog& window, std::unique_ptr<SendMediator> mediator)
        : GuiWindowsDialog(1600, &window, nullptr), m_mediator(std::move(mediator)) {}
    void Create() override { CreateOrFail(failCreate); }
    CommonCpp::FileSpec GetFileSpec() const override { return CommonCpp::FileSpec(target); }
    std::string GetFileName() override { return "PDF"; }
    bool IsSaveToDiskSelected() override { return save; }
    bool IsEmailSelected() override { return email; }
    bool IsFtpSelected() override { return false; }
    bool IsHoldQueueSelected() override { return false; }
    bool IsInternetFaxSelected() override { return false; }
    bool IsMailboxSelected() override { return false; }
    bool save = false;
    bool email = false;
    bool failCreate = false;
    std::string target = "C:\\scan.pdf";

private:
    std::unique_ptr<SendMediator> m_mediator;
};

class FakeMailboxDialog : public GuiWindowsDialog, public AcquireMailboxDialogIntf {
public:
    explicit FakeMailboxDialog(GuiAcquireJobsDialog& window)
        : GuiWindowsDialog(1650, &window, nullptr) {}
    void Create() override { CreateOrFail(failCreate); }
    bool failCreate = false;
    std::string GetMailbox() override { return "042"; }
    std::string GetPassword() override { return "secret"; }
};

class FakeParts : public AcquireWindowParts {
public:
    GuiMultiPane* CreateRetrievePane(GuiAcquireJobsDialog& window, ScanAttributeWrapper&,
                                     ScanPreferences&, Scanner* scanner) override {
        retrieve = new FakeRetrievePane(window, scanner);
        retrieve->selectedJob = selectedJob;
        retrieve->selectedPage = selectedPage;
        return retrieve;
    }
    GuiMultiPane* CreateInitiatePane(GuiAcquireJobsDialog& window, QuorvelWrapperIntf*, Scanner*,
                                     ScanAttributeWrapper&) override {
        initiate = new FakeInitiatePane(window);
        return initiate;
    }
    GuiWindowsDialog* CreateSendDialog(GuiAcquireJobsDialog& window,
                                       std::unique_ptr<SendMediator> mediator, zylImageFile* job,
                                       int32_t page) override {
        send = new FakeSendDialog(window, std::move(mediator));
        send->failCreate = failCreate;
        sendJob = job;
        sendPage = page;
        return send;
    }
    GuiWindowsDialog* CreateChangeMailboxDialog(GuiAcquireJobsDialog& window,
                                                const std::string& mailbox) override {
        ++mailboxDialogs;
        mailboxShown = mailbox;
        mailboxDialog = new FakeMailboxDialog(window);
        mailboxDialog->failCreate = failCreate;
        return mailboxDialog;
    }
    void RunAboutDialog(GuiAcquireJobsDialog&) override { ++aboutRuns; }

    int32_t selectedJob = 0;
    int selectedPage = -1;
    FakeRetrievePane* retrieve = nullptr;
    FakeInitiatePane* initiate = nullptr;
    FakeSendDialog* send = nullptr;
    zylImageFile* sendJob = nullptr;
    int32_t sendPage = -2;
    FakeMailboxDialog* mailboxDialog = nullptr;
    int mailboxDialogs = 0;
    std::string mailboxShown;
    int aboutRuns = 0;
    // The send and mailbox dialogs made from now on cannot make their windows.
    bool failCreate = false;
};

using PoisonedAcquireWindow = Poisoned<GuiAcquireJobsDialog>;

class PoisoningWindowFactory : public GuiWindowFactory {
public:
    AcquireWindowIntf* CreateAcquireJobsDialog(UiWindowIntf* owner, QuorvelWrapperIntf* wrapper,
                                               ScanPreferences& preferences,
                                               Scanner* scanner) override {
        auto dialog = std::make_unique<PoisonedAcquireWindow>(
            dynamic_cast<GuiWindowsDialog*>(owner), wrapper, preferences, scanner);
        dialog->Create();
        return dialog.release();
    }
};

// Whether the animation control prints a frame of the busy clip: the colour of the clip's
// leading dot is in the picture.
bool PrintsBusyFrame(HWND control) {
    RECT rect = {};
    GetClientRect(control, &rect);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rect.right;
    info.bmiHeader.biHeight = -rect.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC window(control);
    GdiObject<HBITMAP> picture(
        CreateDIBSection(window.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(window.Get());
    if (!picture || !memory.Select(picture.Get())) {
        return false;
    }
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    GdiFlush();
    const auto* const pixels = static_cast<const DWORD*>(bits);
    const size_t count = static_cast<size_t>(rect.right) * static_cast<size_t>(rect.bottom);
    constexpr DWORD kLeadingDot = 0x164688; // RGB(22, 70, 136)
    return std::any_of(pixels, pixels + count,
                       [](DWORD pixel) { return (pixel & 0xFFFFFF) == kLeadingDot; });
}

int CountCalls(const std::string& name) {
    const std::vector<std::string> calls = OrvexSimCalls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

class AcquireWindowTest : public GuiSourceFixture {
protected:
    void SetUp() override {
        GuiSourceFixture::SetUp();
        DataArg_UserInterface::SetWindowFactory(&windows);
        GuiAcquireJobsDialog::SetParts(&parts);
        // The user reads and acknowledges every error the window reports.
        errors = std::make_unique<guitest::BoxReader>(IDC_MODAL_ERROR_TEXT);
    }
    void TearDown() override {
        errors.reset();
        GuiSourceFixture::TearDown();
        GuiAcquireJobsDialog::SetParts(nullptr);
        PoisonedAcquireWindow::FreeGraveyard();
    }

    // Opens the source and shows the window.
    void Show(TW_UINT16 showAcquireGui = 1) {
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        Source()->SetShowAcquireGUI(showAcquireGui);
        TW_USERINTERFACE ui = {};
        ui.ShowUI = TRUE;
        ui.hParent = app.Window();
        ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
        ASSERT_NE(nullptr, Window());
    }
    TW_UINT16 Disable() {
        TW_USERINTERFACE ui = {};
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    std::unique_ptr<guitest::BoxReader> errors;
    static AbstractSource* Source() { return AbstractSource::Instance(); }
    static DataArg_UserInterface* Ui() { return AbstractSource::GetUserInterfaceHandler(); }
    static GuiAcquireJobsDialog* Window() {
        return dynamic_cast<GuiAcquireJobsDialog*>(Ui()->GetAcquireJobsDialog());
    }
    static HWND Hwnd() { return Window()->GetHwnd(); }
    static void Click(int id) { SendMessageA(GetDlgItem(Hwnd(), id), BM_CLICK, 0, 0); }
    static void Event(int32_t type, int32_t jobId) {
        SendMessageA(Hwnd(), WM_NIMBREL_SCAN_EVENT, static_cast<WPARAM>(type),
                     static_cast<LPARAM>(jobId));
    }
    static bool Visible(int id) { return IsWindowVisible(GetDlgItem(Hwnd(), id)) != FALSE; }
    static bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Hwnd(), id)) != FALSE; }
    // A new scan from the initiate pane, accepted by the server without a job id, or started
    // by the simulated copier under a job id of its own.
    void StartScan(bool serverNamesTheJob = false) {
        TabCtrl_SetCurSel(GetDlgItem(Hwnd(), IDC_PANE_FRAME), GuiAcquireJobsDialog::kInitiatePane);
        Window()->SelectPane(GuiAcquireJobsDialog::kInitiatePane);
        if (!serverNamesTheJob) {
            OrvexSim_FailNext("SCAN_initiateScan", 0);
        }
        Click(IDOK);
        ASSERT_TRUE(Window()->IsScanPending());
        ASSERT_EQ(serverNamesTheJob, !Window()->IsFollowingAnyJob());
    }

    static std::string Text(int stringId) {
        return ResourceLoader::Instance()->LoadString(stringId);
    }
    static ScanCommand* Command() {
        return dynamic_cast<ScanCommand*>(Source()->GetScanner()->GetScanCommand());
    }

    PoisoningWindowFactory windows;
    FakeParts parts;
};

} // namespace

TEST_F(AcquireWindowTest, ShowsItsPanesAndTheButtonsTheServerAllows) {
    Show();
    EXPECT_EQ(2, TabCtrl_GetItemCount(GetDlgItem(Hwnd(), IDC_PANE_FRAME)));
    EXPECT_EQ(GuiAcquireJobsDialog::kRetrievePane, Window()->GetCurrentPaneIndex());
    EXPECT_TRUE(Visible(IDOK));
    EXPECT_FALSE(Visible(IDC_SEND));
    EXPECT_FALSE(Visible(IDC_PREVIEW_PAGE));
    EXPECT_FALSE(Visible(IDC_BUSY_ANIMATION));
    EXPECT_FALSE(Visible(IDC_HELP_BUTTON)) << "no help page beside the module";
    // The logo is on its button.
    const auto logo = reinterpret_cast<HBITMAP>(
        SendDlgItemMessageA(Hwnd(), IDC_ABOUT_LOGO, BM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(nullptr, logo);
    BITMAP picture = {};
    ASSERT_NE(0, GetObjectA(logo, sizeof(picture), &picture));
    EXPECT_GT(picture.bmWidth, 0);
    EXPECT_GT(picture.bmHeight, 0);
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(Hwnd(), "GuiAcquireJobsDialog.panes.en.png", &error))
        << error;
    // The logo runs the about box; Preview does nothing.
    Click(IDC_ABOUT_LOGO);
    EXPECT_EQ(1, parts.aboutRuns);
    EXPECT_EQ(TWRC_SUCCESS, Disable());

    // Send-only use: Send... is the default button, and its command acquires when only
    // Acquire could be meant.
    Unload();
    Show(0);
    EXPECT_FALSE(Visible(IDOK));
    EXPECT_TRUE(Visible(IDC_SEND));
    EXPECT_EQ(IDC_SEND, LOWORD(SendMessageA(Hwnd(), DM_GETDEFID, 0, 0)));
}

TEST_F(AcquireWindowTest, TheSendCommandAcquiresWhenOnlyAcquireIsShown) {
    parts.selectedJob = 102;
    Show();
    ASSERT_FALSE(Visible(IDC_SEND));
    SendMessageA(Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SEND, 0), 0);
    EXPECT_TRUE(Source()->IsTransferReadyPending());
}

TEST_F(AcquireWindowTest, HostsNamedAdobeOrECopyAreRestricted) {
    struct Case {
        const char* product;
        bool restricted;
    };
    for (const Case& c : {Case{"Adobe Reader", true}, Case{"eCopy Desktop", true},
                          Case{"adobe reader", false}, Case{"Scan Tool", false}}) {
        SCOPED_TRACE(c.product);
        std::strncpy(app.AppIdentity().ProductName, c.product,
                     sizeof(app.AppIdentity().ProductName) - 1);
        Show();
        EXPECT_EQ(c.restricted, Window()->IsHostRestricted());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

// A stored job from the retrieve pane: its first page is fetched, then announced.
TEST_F(AcquireWindowTest, AcquiresAStoredJobFromTheChosenPage) {
    struct Case {
        int32_t job;
        int pageChoice;
        int firstPage;
        int pagesLeft;
    };
    // 101 has 2 pages, 102 one: a one-page job always starts at page 1.
    const Case cases[] = {{101, -1, 1, 2}, {101, 2, 2, 1}, {102, 2, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "job " << c.job << " page " << c.pageChoice);
        parts.selectedJob = c.job;
        parts.selectedPage = c.pageChoice;
        Show();
        OrvexSim_ClearLog();
        Click(IDOK);
        EXPECT_TRUE(Source()->IsTransferReadyPending());
        EXPECT_EQ(6, Source()->GetState());
        EXPECT_GT(CountCalls("SCAN_getDataEx"), 0) << "fetched before it is announced";
        auto* const command = dynamic_cast<ScanCommand*>(Source()->GetScanner()->GetScanCommand());
        ASSERT_NE(nullptr, command);
        ASSERT_TRUE(command->HasImageFile());
        EXPECT_EQ(static_cast<uint32_t>(c.job), command->GetImageFile()->GetJobID());
        EXPECT_EQ(c.firstPage, command->GetCurrentPage());
        EXPECT_EQ(c.pagesLeft, command->GetPagesLeft());
        EXPECT_FALSE(Source()->IsCloseRequestPending());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(AcquireWindowTest, AskedToCloseWhileFetchingGivesCloseRequestNotTransfer) {
    parts.selectedJob = 101;
    Show();
    Ui()->RequestClose();
    Click(IDOK);
    EXPECT_TRUE(Source()->IsCloseRequestPending());
    EXPECT_FALSE(Source()->IsTransferReadyPending());
}

TEST_F(AcquireWindowTest, NewScanRunsTheBusyAnimationAndPollsUntilItsJobEnds) {
    Show();
    StartScan();
    EXPECT_EQ(1, parts.initiate->settingsAsked);
    EXPECT_TRUE(Window()->IsFollowingAnyJob());
    EXPECT_TRUE(Window()->IsAcquireAfterScan());
    EXPECT_TRUE(Window()->IsBusy());
    EXPECT_TRUE(Visible(IDC_BUSY_ANIMATION));
    EXPECT_TRUE(guitest::PumpUntil(
        [] { return PrintsBusyFrame(GetDlgItem(Hwnd(), IDC_BUSY_ANIMATION)); }, 5000))
        << "the clip plays";
    EXPECT_EQ(ResourceLoader::Instance()->LoadString(IDS_INITIATING_SCAN),
              Window()->GetItemText(IDC_BUSY_TEXT));
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDC_CHOOSE_DEVICE));
    EXPECT_TRUE(Enabled(IDCANCEL));
    // A second start changes nothing, not even the text.
    Window()->StartBusyAnimation("other");
    EXPECT_EQ(ResourceLoader::Instance()->LoadString(IDS_INITIATING_SCAN),
              Window()->GetItemText(IDC_BUSY_TEXT));
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(Hwnd(), "GuiAcquireJobsDialog.busy.en.png", &error))
        << error;

    // The poll asks the server while the scan is pending.
    OrvexSim_ClearLog();
    SendMessageA(Hwnd(), WM_TIMER, GuiAcquireJobsDialog::kPollTimer, 0);
    EXPECT_EQ(1, CountCalls("DEV_getNumDevices"));

    // The job ends: the animation stops, the job is fetched and announced.
    Event(0, 101);
    EXPECT_FALSE(Window()->IsScanPending());
    EXPECT_EQ(101, Window()->GetFollowedJobId());
    EXPECT_FALSE(Window()->IsBusy());
    EXPECT_FALSE(Visible(IDC_BUSY_ANIMATION));
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_TRUE(Source()->IsTransferReadyPending());
    EXPECT_EQ(101u, Source()->GetScanner()->GetScanCommand()->GetImageFile()->GetJobID());
    // No poll once nothing is pending.
    OrvexSim_ClearLog();
    SendMessageA(Hwnd(), WM_TIMER, GuiAcquireJobsDialog::kPollTimer, 0);
    EXPECT_EQ(0, CountCalls("DEV_getNumDevices"));
}

TEST_F(AcquireWindowTest, RefusedScansLeaveNothingPending) {
    Show();
    Window()->SelectPane(GuiAcquireJobsDialog::kInitiatePane);
    // The server refuses the new scan: the user is told.
    OrvexSim_FailNext("SCAN_initiateScan", QUORVEL_FUNCTION_NOT_AVAILABLE);
    Click(IDOK);
    EXPECT_EQ(1, errors->Answered());
    EXPECT_FALSE(Window()->IsScanPending());
    EXPECT_FALSE(Window()->IsBusy());
    EXPECT_FALSE(Source()->GetScanPreferences().GetScanBusy());
    OrvexSim_FailNext("SCAN_initiateScan", QUORVEL_BUSY);
    Click(IDOK);
    EXPECT_FALSE(Window()->IsScanPending());
    EXPECT_TRUE(Source()->GetScanPreferences().GetScanBusy());
}

TEST_F(AcquireWindowTest, ClosingStopsAPendingScanAndAsksTheApplication) {
    struct Case {
        const char* name;
        bool serverNamesTheJob;
        int cancels;
    };
    // A job the server never named cannot be cancelled there.
    for (const Case& c : {Case{"named job", true, 1}, Case{"job not named", false, 0}}) {
        SCOPED_TRACE(c.name);
        Show();
        StartScan(c.serverNamesTheJob);
        const std::string job = std::to_string(Window()->GetFollowedJobId());
        OrvexSim_ClearLog();
        Click(IDCANCEL);
        Click(IDCANCEL);
        EXPECT_FALSE(Window()->IsScanPending());
        EXPECT_TRUE(Ui()->IsCloseRequested());
        EXPECT_TRUE(Source()->IsCloseRequestPending());
        const std::vector<std::string> cancels = LogLinesOf("SCAN_cancelScan");
        ASSERT_EQ(static_cast<size_t>(c.cancels), cancels.size()) << "once, however often closed";
        if (c.cancels != 0) {
            EXPECT_EQ(job, LogValue(cancels[0], "job"));
        }
        OrvexSim_ClearLog();
        SendMessageA(Hwnd(), WM_TIMER, GuiAcquireJobsDialog::kPollTimer, 0);
        EXPECT_EQ(0, CountCalls("DEV_getNumDevices")) << "the poll stopped";
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(AcquireWindowTest, EventsArrivingDuringHandlingRunAfterItInOrder) {
    Show();
    // While the first event is handled, two more arrive.
    parts.retrieve->onReload = [] {
        Event(7, 5);
        Event(4, 6);
    };
    Event(1, 4);
    EXPECT_EQ((std::vector<int32_t>{1, 7, 4}), parts.retrieve->reloads);
    EXPECT_EQ(1, parts.retrieve->maxDepth) << "never nested";
}

// Events that come while a page is still on its way to the application are handled once it
// arrived, never lost.
TEST_F(AcquireWindowTest, EventsDuringAPageTransferAreHandledAfterIt) {
    struct Case {
        const char* name;
        int32_t type;
        bool closeRequested;
    };
    const Case cases[] = {{"cancel", 2, false}, {"failure", 3, false}, {"server down", -8, true}};
    parts.selectedJob = 105; // one grey page
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show();
        Click(IDOK);
        ASSERT_FALSE(Ui()->IsPageDone()) << "the stored job's page is announced";
        StartScan();
        Event(c.type, 0);
        EXPECT_TRUE(Window()->IsEventDeferred());
        EXPECT_TRUE(Window()->IsScanPending()) << "not handled yet";
        // The application takes the page, the acquisition's last.
        HGLOBAL page = nullptr;
        EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS,
                     app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &page));
        GlobalFree(page);
        EXPECT_TRUE(Ui()->IsPageDone());
        EXPECT_FALSE(Window()->IsEventDeferred());
        EXPECT_TRUE(guitest::PumpUntil([&] { return !Window()->IsScanPending(); }, 5000));
        EXPECT_EQ(c.closeRequested, Ui()->IsCloseRequested());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(AcquireWindowTest, PageReadyEventsStartTheTransferAtTheSecond) {
    Show();
    StartScan();
    Event(9, 101);
    EXPECT_EQ(1, Window()->GetPageEvents());
    EXPECT_EQ(0, Window()->GetPagesAnnounced());
    EXPECT_FALSE(Source()->IsTransferReadyPending());
    Event(9, 101);
    EXPECT_EQ(101, Window()->GetFollowedJobId());
    EXPECT_EQ(2, Window()->GetPagesAnnounced());
    EXPECT_TRUE(Source()->IsTransferReadyPending());
    // The job ends with as many pages as were announced: the counters start again.
    Event(0, 101);
    EXPECT_EQ(0, Window()->GetPagesAnnounced());
    EXPECT_EQ(0, Window()->GetPagesSkipped());
    EXPECT_EQ(0, Window()->GetPageEvents());
}

TEST_F(AcquireWindowTest, PageReadyEventsDoNothingForRestrictedOrSendOnlyUse) {
    struct Case {
        const char* product;
        TW_UINT16 showAcquireGui;
    };
    for (const Case& c : {Case{"Adobe Reader", 1}, Case{"Scan Tool", 0}}) {
        SCOPED_TRACE(c.product);
        std::strncpy(app.AppIdentity().ProductName, c.product,
                     sizeof(app.AppIdentity().ProductName) - 1);
        Show(c.showAcquireGui);
        Window()->SelectPane(GuiAcquireJobsDialog::kInitiatePane);
        OrvexSim_FailNext("SCAN_initiateScan", 0);
        Window()->InitiateScan();
        Event(9, 101);
        Event(9, 101);
        EXPECT_EQ(0, Window()->GetPageEvents());
        EXPECT_EQ(0, Window()->GetPagesAnnounced());
        EXPECT_FALSE(Source()->IsTransferReadyPending());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(AcquireWindowTest, PageCountersBelongToEachWindow) {
    Show();
    StartScan();
    Event(9, 101);
    Event(9, 101);
    ASSERT_EQ(2, Window()->GetPagesAnnounced());
    // The window goes before its job ended; the next one starts from nothing.
    ASSERT_EQ(TWRC_SUCCESS, Disable());
    TW_USERINTERFACE ui = {TRUE, FALSE, app.Window()};
    ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
    EXPECT_EQ(0, Window()->GetPagesAnnounced());
    EXPECT_EQ(0, Window()->GetPagesSkipped());
    EXPECT_EQ(0, Window()->GetPageEvents());
}

TEST_F(AcquireWindowTest, EventsOfOtherJobsOnlyRefreshThePane) {
    Show();
    // Cancel and end of a job that is not the window's: no message, nothing acquired.
    Event(2, 300);
    Event(0, 300);
    EXPECT_FALSE(Source()->IsTransferReadyPending());
    EXPECT_EQ((std::vector<int32_t>{2, 0}), parts.retrieve->reloads);
}

TEST_F(AcquireWindowTest, CopierAlertsShowOnTheStatusLine) {
    Show();
    ASSERT_GT(OrvexSim_DeliverAlert(1, 0, nullptr, 0, 0, 0), 0);
    ASSERT_TRUE(guitest::PumpUntil([] { return Visible(IDC_STATUS_LINE); }, 5000));
    EXPECT_EQ(ResourceLoader::Instance()->LoadString(IDS_ALERT_ADF_JAM),
              Window()->GetItemText(IDC_STATUS_LINE));
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(Hwnd(), "GuiAcquireJobsDialog.alert.en.png", &error))
        << error;
    // An alert without text takes the line away.
    ASSERT_GT(OrvexSim_DeliverAlert(0, 0, nullptr, 0, 0, 0), 0);
    EXPECT_TRUE(guitest::PumpUntil([] { return !Visible(IDC_STATUS_LINE); }, 5000));
}

TEST_F(AcquireWindowTest, SendDialogOfAStoredJob) {
    parts.selectedJob = 101;
    parts.selectedPage = -1;
    Show();
    // Cancel starts nothing.
    Window()->OpenSendDialog();
    ASSERT_NE(nullptr, parts.send);
    EXPECT_EQ(101u, parts.sendJob->GetJobID());
    EXPECT_EQ(0, parts.sendPage) << "all pages is the whole job";
    EXPECT_EQ(1, parts.retrieve->remembered) << "kept for the save after the send";
    OrvexSim_ClearLog();
    parts.send->EndDialog(2);
    EXPECT_EQ(nullptr, Window()->GetChildDialog());
    EXPECT_TRUE(OrvexSimCalls().empty());

    // Save to disk of the stored job: saved through the posted save message.
    Window()->OpenSendDialog();
    parts.send->save = true;
    parts.send->EndDialog(1);
    EXPECT_EQ(nullptr, Window()->GetChildDialog());
    MSG message;
    // Taken here: the test writes no file.
    EXPECT_TRUE(
        PeekMessageA(&message, Hwnd(), WM_NIMBREL_SAVE_JOB, WM_NIMBREL_SAVE_JOB, PM_REMOVE));
}

TEST_F(AcquireWindowTest, SendDialogOfANewScanWithOnlySaveStillScans) {
    Show();
    Window()->SelectPane(GuiAcquireJobsDialog::kInitiatePane);
    Window()->OpenSendDialog();
    ASSERT_NE(nullptr, parts.send);
    EXPECT_EQ(nullptr, parts.sendJob);
    parts.send->save = true;
    OrvexSim_FailNext("SCAN_initiateScan", 0);
    parts.send->EndDialog(1);
    EXPECT_TRUE(Window()->IsScanPending());
    EXPECT_TRUE(Window()->IsSaveAfterScan());
}

TEST_F(AcquireWindowTest, AMailboxThatDoesNotOpenAsksAgain) {
    Show();
    Window()->OpenChangeMailboxDialog();
    EXPECT_EQ("007", parts.mailboxShown);
    parts.retrieve->mailboxOpens = false;
    parts.mailboxDialog->EndDialog(1);
    EXPECT_EQ(std::vector<std::string>{"042"}, parts.retrieve->mailboxTries);
    EXPECT_EQ(2, parts.mailboxDialogs) << "opened again";
    parts.retrieve->mailboxOpens = true;
    parts.mailboxDialog->EndDialog(1);
    EXPECT_EQ(2, parts.mailboxDialogs);
    // Cancel tries nothing.
    Window()->OpenChangeMailboxDialog();
    parts.mailboxDialog->EndDialog(2);
    EXPECT_EQ(2u, parts.retrieve->mailboxTries.size());
}

TEST_F(AcquireWindowTest, ShowsHelpOnlyWhenItsPageIsBesideTheModule) {
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(ResourceLoader::Instance()->GetModule(), modulePath, sizeof(modulePath));
    const std::string folder = CommonCpp::FileSpec(modulePath).GetDirectory() + "NBLHelp";
    const std::string page = folder + "\\Nimbrel.htm";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (std::FILE* file = std::fopen(page.c_str(), "w")) {
        std::fclose(file);
    }
    Show();
    EXPECT_TRUE(Visible(IDC_HELP_BUTTON));
    DeleteFileA(page.c_str());
    RemoveDirectoryA(folder.c_str());
}

// The application may disable the source from any message that a loop run while the window is
// up dispatches (the window's own, the wait and progress windows' starts and ends): the window
// goes at once, and whatever ran that loop touches it no more.
TEST_F(AcquireWindowTest, AWindowClosedInsideItsOwnLoopIsNotTouchedAgain) {
    struct Case {
        const char* name;
        int32_t selectedJob;
        std::function<void()> before;
        std::function<void()> loop;
    };
    const std::vector<Case> cases = {
        {"a cancelled scan stops the busy clip", 0, [this] { StartScan(); }, [] { Event(2, 0); }},
        {"the scan's job ends", 0, [this] { StartScan(); }, [] { Event(0, 101); }},
        {"the second page-ready event fetches the first page", 0,
         [this] {
             StartScan();
             Event(9, 101);
         },
         [] { Event(9, 101); }},
        {"a stored job's first page is fetched", 101, [] {}, [] { Click(IDOK); }},
        {"a page's progress window opens", 0, [] {}, [] { Ui()->ShowProgress(10); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        parts.selectedJob = c.selectedJob;
        Show();
        c.before();
        guitest::PostedCall application;
        application.Post([this] { EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable()); });
        c.loop();
        EXPECT_EQ(1, application.Runs()) << "disabled inside the window's loop";
        EXPECT_EQ(nullptr, Ui()->GetAcquireJobsDialog());
        EXPECT_EQ(4, Source()->GetState());
        EXPECT_FALSE(Source()->IsTransferReadyPending()) << "nothing announced after the close";
        EXPECT_TRUE(errors->Texts().empty());
        Unload();
    }
}

TEST_F(AcquireWindowTest, ADialogWhoseWindowCannotBeMadeIsNotKept) {
    parts.selectedJob = 101;
    Show();
    parts.failCreate = true;
    EXPECT_THROW(Window()->OpenSendDialog(), TwainException);
    EXPECT_EQ(nullptr, Window()->GetChildDialog());
    EXPECT_THROW(Window()->OpenChangeMailboxDialog(), TwainException);
    EXPECT_EQ(nullptr, Window()->GetChildDialog());
    parts.failCreate = false;
    Window()->OpenSendDialog();
    EXPECT_EQ(parts.send, Window()->GetChildDialog());
}

// A first page that does not arrive ends the acquisition: the close request is marked, nothing
// is announced, the page total is 0, the busy clip stops and the user reads why.
TEST_F(AcquireWindowTest, AFirstPageThatCannotBeFetchedEndsTheAcquisition) {
    parts.selectedJob = 101; // colour JPEG
    for (const FirstPageFailure& c : kFirstPageFailures) {
        SCOPED_TRACE(c.name);
        Show();
        errors->Clear();
        OrvexSim_FailDataBlock(ORVEXSIM_FIRST_BLOCK, c.dataAnswer);
        Click(IDOK);
        EXPECT_EQ(std::vector<std::string>{Text(c.message)}, errors->Texts());
        EXPECT_TRUE(Ui()->IsCloseRequested());
        EXPECT_FALSE(Source()->IsTransferReadyPending());
        EXPECT_FALSE(Ui()->HasPagesDone());
        EXPECT_FALSE(Window()->IsBusy());
        EXPECT_EQ(5, Source()->GetState());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(AcquireWindowTest, TheNextOriginalPromptOutlivesEventsButNotTheJobsEnd) {
    Show();
    StartScan();
    const std::string prompt = Text(IDS_NEXT_ORIGINALS);
    ASSERT_GT(OrvexSim_DeliverAlert(1, 1, prompt.c_str(), 0, 0, 0), 0);
    ASSERT_TRUE(guitest::PumpUntil([] { return Window()->IsNextOriginalPromptShown(); }, 5000));
    EXPECT_EQ(prompt, Window()->GetItemText(IDC_STATUS_LINE));
    // The copier waits for the user: the busy clip goes on, whoever asks to stop it.
    Ui()->StopBusyAnimation();
    EXPECT_TRUE(Window()->IsBusy());
    Event(4, 0);
    EXPECT_TRUE(Window()->IsNextOriginalPromptShown()) << "shown again after the event";
    Event(0, 101);
    EXPECT_FALSE(Window()->IsNextOriginalPromptShown()) << "the job has ended";
}

TEST_F(AcquireWindowTest, AResetEventForgetsTheScansPages) {
    Show();
    StartScan();
    Event(9, 103);
    Event(9, 103);
    // The page under way goes; the next page-ready event queues page 3 alone, and a preview
    // waits behind it.
    Command()->Reset();
    Event(9, 103);
    Window()->ShowPreview(101);
    SendMessageA(Hwnd(), WM_NIMBREL_ACQUIRE_IMAGE, 0, 0);
    ASSERT_EQ(3, Window()->GetPagesAnnounced());
    ASSERT_EQ(2, Window()->GetPagesSkipped());
    ASSERT_EQ(3, Window()->GetPageEvents());
    ASSERT_TRUE(Window()->IsImagePosted());

    Event(5, 103);
    EXPECT_EQ(0, Window()->GetPagesAnnounced());
    EXPECT_EQ(0, Window()->GetPagesSkipped());
    EXPECT_EQ(0, Window()->GetPageEvents());
    EXPECT_FALSE(Window()->IsImagePosted());
    // Once the page under way is done, no queued page is left to start.
    Command()->Reset();
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, Hwnd(), WM_NIMBREL_ACQUIRE_IMAGE, WM_NIMBREL_ACQUIRE_IMAGE,
                              PM_REMOVE));
}

// Pages the copier scanned after the last page-ready event are not lost when its job ends.
TEST_F(AcquireWindowTest, AJobsEndAddsThePagesScannedAfterTheLastPageReadyEvent) {
    struct Case {
        const char* name;
        bool imageAttached;
    };
    for (const Case& c :
         {Case{"the job's image under way", true}, Case{"nothing under way", false}}) {
        SCOPED_TRACE(c.name);
        Show();
        StartScan();
        // Two of job 103's three pages announced.
        Event(9, 103);
        Event(9, 103);
        ASSERT_EQ(2, Window()->GetPagesAnnounced());
        if (!c.imageAttached) {
            Command()->Reset();
        }
        Event(0, 103);
        zylImageFile* const image = Command()->GetImageFile();
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(103u, image->GetJobID());
        if (c.imageAttached) {
            EXPECT_EQ(3, image->GetNumPages()) << "the third page joins the job under way";
            EXPECT_EQ(3, Command()->GetPagesLeft());
        } else {
            EXPECT_EQ(3, image->GetStartPage()) << "the third page is queued alone";
            EXPECT_EQ(3, Command()->GetCurrentPage());
        }
        EXPECT_FALSE(Window()->IsScanPending());
        EXPECT_EQ(0, Window()->GetPagesAnnounced());
        EXPECT_EQ(0, Window()->GetPagesSkipped());
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(AcquireWindowTest, ASaveAfterTheScanToALockedFileIsReported) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof(folder), folder);
    const std::string target = std::string(folder) + "nimbrel-locked-scan.pdf";
    const HANDLE lock = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Show();
    Window()->SelectPane(GuiAcquireJobsDialog::kInitiatePane);
    Window()->OpenSendDialog();
    ASSERT_NE(nullptr, parts.send);
    parts.send->save = true;
    parts.send->target = target;
    OrvexSim_FailNext("SCAN_initiateScan", 0);
    parts.send->EndDialog(1);
    ASSERT_TRUE(Window()->IsSaveAfterScan());
    Event(0, 101);
    EXPECT_EQ(std::vector<std::string>{Text(IDS_FILE_LOCKED)}, errors->Texts());
    EXPECT_FALSE(Window()->IsSaveAfterScan());
    EXPECT_FALSE(Window()->IsScanPending());
    EXPECT_TRUE(Enabled(IDCANCEL));
    CloseHandle(lock);
    DeleteFileA(target.c_str());
}
