// The user-interface handler and DAT_EVENT with the real windows, the source running inside
// this program (direct to DS_Entry): enabling and disabling, the acquire window over the
// application's window, its Close button, the hand-over of the server library's events, and
// the pending notices MSG_PROCESSEVENT reports.

#include "AcquireWindowIntf.h"
#include "DialogTemplateReader.h"
#include "GuiAcquireJobsDialog_rc.h"
#include "GuiTestSupport.h"
#include "GuiWindowFactory.h"
#include "GuiWindowsDialog.h"
#include "QuorMemoryAllocator.h"
#include "GuiSourceFixture.h"
#include "ResourceLoader.h"
#include "UiMessages.h"

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace {

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    char title[32] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (IsWindowVisible(window) && std::strcmp(title, "Nimbrel 5") == 0) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// Answers the question box from inside its own loop, noting how it was made.
LONG_PTR g_boxExStyle = -1;
void CALLBACK AnswerNo(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
        g_boxExStyle = GetWindowLongPtrA(box, GWL_EXSTYLE);
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    }
}

class UserInterfaceTest : public GuiSourceFixture {
protected:
    void Open() {
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        ASSERT_NE(nullptr, Ui());
    }
    static DataArg_UserInterface* Ui() { return AbstractSource::GetUserInterfaceHandler(); }
    static TW_UINT16 State() { return AbstractSource::Instance()->GetState(); }

    TW_UINT16 Enable(bool showUI, HWND parent, TW_USERINTERFACE* out = nullptr) {
        TW_USERINTERFACE ui = {};
        ui.ShowUI = showUI ? TRUE : FALSE;
        ui.hParent = parent;
        const TW_UINT16 rc = app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
        if (out != nullptr) {
            *out = ui;
        }
        return rc;
    }
    TW_UINT16 Disable() {
        TW_USERINTERFACE ui = {};
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    static HWND AcquireWindow() {
        AcquireWindowIntf* const acquire = Ui()->GetAcquireJobsDialog();
        return acquire != nullptr ? acquire->GetHwnd() : nullptr;
    }
    // MSG_PROCESSEVENT with one message; the answer and TWMessage.
    TW_UINT16 ProcessEvent(MSG& message, TW_UINT16& twMessage) {
        TW_EVENT event = {&message, 0xffff};
        const TW_UINT16 rc = app.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        twMessage = event.TWMessage;
        return rc;
    }
    // Takes the scan-event messages waiting for any window; the number taken.
    static int TakeScanEvents(WPARAM* type = nullptr, LPARAM* jobId = nullptr) {
        int count = 0;
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_NIMBREL_SCAN_EVENT, WM_NIMBREL_SCAN_EVENT,
                            PM_REMOVE)) {
            ++count;
            if (type != nullptr) {
                *type = message.wParam;
            }
            if (jobId != nullptr) {
                *jobId = message.lParam;
            }
        }
        return count;
    }
};

} // namespace

TEST_F(UserInterfaceTest, EnablingShowsTheAcquireWindowOverTheApplicationsWindow) {
    Open();
    TW_USERINTERFACE given = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Enable(true, app.Window(), &given));
    EXPECT_EQ(TRUE, given.ModalUI) << "the source always runs modal";
    EXPECT_EQ(5, State());
    const HWND window = AcquireWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(app.Window(), GetWindow(window, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(app.Window()));
    EXPECT_EQ(static_cast<UiWindowIntf*>(Ui()->GetAcquireJobsDialog()), Ui()->GetCurrentWindow());
    char title[32] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ("Nimbrel 5", title);

    // Enabled already: no second window.
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SEQERROR, Enable(true, app.Window()));
    EXPECT_EQ(window, AcquireWindow());
    EXPECT_EQ(1, app.CountForeignVisibleWindows());
    EXPECT_EQ(5, State());

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable());
    EXPECT_EQ(4, State());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, Ui()->GetAcquireJobsDialog());
    EXPECT_EQ(nullptr, Ui()->GetCurrentWindow());
    EXPECT_TRUE(IsWindowEnabled(app.Window()));
    EXPECT_FALSE(Ui()->GetShowUI());
}

TEST_F(UserInterfaceTest, RefusedEnablesChangeNothing) {
    Open();
    TW_USERINTERFACE ui = {TRUE, FALSE, app.Window()};
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, nullptr));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE, Enable(true, nullptr));
    // Without a window implementation nothing can take the acquisition, with or without the
    // user interface: the source refuses rather than report one that never comes.
    DataArg_UserInterface::SetWindowFactory(nullptr);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADPROTOCOL, Enable(false, nullptr));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADPROTOCOL, Enable(true, app.Window()));
    DataArg_UserInterface::SetWindowFactory(GuiWindowFactory::Instance());
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CAPBADOPERATION,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, &ui));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, nullptr));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr));
    EXPECT_EQ(4, State());
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
    EXPECT_TRUE(IsWindowEnabled(app.Window()));

    // Without the server connection, with and without the user interface.
    AbstractSource::Instance()->Disconnect();
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CHECKDEVICEONLINE, Enable(true, app.Window()));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CHECKDEVICEONLINE, Enable(false, nullptr));
    EXPECT_EQ(4, State());
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
}

TEST_F(UserInterfaceTest, CloseAsksTheApplicationToCloseTheSource) {
    Open();
    ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window()));
    const HWND window = AcquireWindow();
    SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Ui()->IsCloseRequested());
    EXPECT_TRUE(IsWindow(window)) << "the application closes the source, not the window";
    // No source manager opened this source here: the notice waits for DAT_EVENT, which
    // reports it once although the user interface is shown.
    AbstractSource* const source = AbstractSource::Instance();
    EXPECT_TRUE(source->IsCloseRequestPending());
    MSG message = {app.Window(), WM_NULL, 0, 0, 0, {0, 0}};
    TW_UINT16 twMessage = 0;
    EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(MSG_CLOSEDSREQ, twMessage);
    EXPECT_FALSE(source->IsCloseRequestPending());
    EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(MSG_NULL, twMessage);
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable());
}

TEST_F(UserInterfaceTest, ProcessEventReportsEachPendingNoticeOnce) {
    Open();
    AbstractSource* const source = AbstractSource::Instance();
    MSG message = {app.Window(), WM_NULL, 0, 0, 0, {0, 0}};
    TW_UINT16 twMessage = 0;

    source->SetTransferReadyPending(true);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr));
    TW_EVENT noMessage = {nullptr, MSG_NULL};
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &noMessage));
    EXPECT_TRUE(source->IsTransferReadyPending()) << "a refused call consumes nothing";

    EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(MSG_XFERREADY, twMessage);
    EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(MSG_NULL, twMessage);

    // With the user interface shown: the window takes its own messages, the application
    // keeps the others, and both notices come, one a call, the page first; the second wakes the
    // application's loop again.
    ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window()));
    MSG forWindow = {GetDlgItem(AcquireWindow(), IDCANCEL), WM_NULL, 0, 0, 0, {0, 0}};
    EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(forWindow, twMessage));
    EXPECT_EQ(MSG_NULL, twMessage);
    EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(message, twMessage));
    guitest::PumpPending();
    source->SetTransferReadyPending(true);
    source->SetCloseRequestPending(true);
    EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(MSG_XFERREADY, twMessage);
    MSG woken = {};
    EXPECT_TRUE(PeekMessageA(&woken, app.Window(), WM_NULL, WM_NULL, PM_REMOVE));
    EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(MSG_CLOSEDSREQ, twMessage);
    EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(message, twMessage));
    EXPECT_EQ(TWRC_SUCCESS, Disable());
}

// A source that goes with its acquire window still open closes the window first: closing, the
// window writes the user's preferences, which must still have their store.
TEST_F(UserInterfaceTest, TheWindowsGoBeforeThePreferencesStore) {
    Open();
    ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window()));
    const HWND window = AcquireWindow();
    RegSetKeyValueA(HKEY_CURRENT_USER, ProductKeyPath().c_str(), "ScanBusy", REG_SZ, "true", 5);
    AbstractSource* const source = AbstractSource::Instance();
    AbstractSource::SetInstance(nullptr);
    delete source;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ("false", StoredValue("ScanBusy")) << "the closing window's reset reached the store";
}

TEST_F(UserInterfaceTest, TheLibrarysEventsReachTheWindowUntilTheSourceIsDisabled) {
    Open();
    // No window yet: dropped.
    EXPECT_EQ(1, OrvexSim_DeliverEvent(2, 10, 0));
    EXPECT_EQ(0, TakeScanEvents());

    ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window()));
    const HWND window = AcquireWindow();
    EXPECT_EQ(1, OrvexSim_DeliverEvent(3, 77, 0));
    MSG message;
    ASSERT_TRUE(
        PeekMessageA(&message, window, WM_NIMBREL_SCAN_EVENT, WM_NIMBREL_SCAN_EVENT, PM_REMOVE));
    EXPECT_EQ(3u, message.wParam);
    EXPECT_EQ(77, message.lParam);

    // An alert arrives as a copy that the window owns.
    EXPECT_EQ(1, OrvexSim_DeliverAlert(1, 2, "paper jam", 3, 4, 5));
    ASSERT_TRUE(
        PeekMessageA(&message, window, WM_NIMBREL_ALERT_EVENT, WM_NIMBREL_ALERT_EVENT, PM_REMOVE));
    const auto* alert = reinterpret_cast<const ScanAlertEventRecord*>(message.wParam);
    ASSERT_NE(nullptr, alert);
    EXPECT_STREQ("paper jam", alert->text);
    EXPECT_EQ(0u, alert->word5);
    DispatchMessageA(&message); // the window frees it

    // The server going down is an event of type -8.
    EXPECT_EQ(1, OrvexSim_SetServerDown("default", 1));
    WPARAM type = 0;
    EXPECT_EQ(1, TakeScanEvents(&type));
    EXPECT_EQ(-8, static_cast<int>(type));
    OrvexSim_SetServerDown("default", 0);

    EXPECT_EQ(TWRC_SUCCESS, Disable());
    EXPECT_EQ(1, OrvexSim_DeliverEvent(4, 78, 0));
    EXPECT_EQ(1, OrvexSim_DeliverAlert(1, 2, "after", 3, 4, 5));
    EXPECT_EQ(0, TakeScanEvents()) << "dropped before it was posted";
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_NIMBREL_ALERT_EVENT, WM_NIMBREL_ALERT_EVENT,
                              PM_NOREMOVE));
}

TEST_F(UserInterfaceTest, EventsFlowAgainAfterADisableAndEnableCycle) {
    Open();
    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window())) << cycle;
        EXPECT_EQ(1, OrvexSim_DeliverEvent(1, 5, 0));
        LPARAM jobId = 0;
        EXPECT_EQ(1, TakeScanEvents(nullptr, &jobId)) << cycle;
        EXPECT_EQ(5, jobId);
        ASSERT_EQ(TWRC_SUCCESS, Disable()) << cycle;
    }
}

TEST_F(UserInterfaceTest, EventsDuringDisablesNeverReachAWindowThatIsGoing) {
    Open();
    std::atomic<bool> stop{false};
    std::atomic<int> burst{0};
    std::atomic<int> delivered{0};
    // The library's thread delivers a burst of events while each window goes. Every event the
    // window takes reloads its job list, so the bursts are bounded: an endless flood would keep
    // the window reloading for ever.
    std::thread injector([&] {
        while (!stop) {
            if (burst > 0) {
                --burst;
                delivered += OrvexSim_DeliverEvent(1, 9, 0);
            } else {
                Sleep(0);
            }
        }
    });
    for (int cycle = 0; cycle < 10; ++cycle) {
        ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window())) << cycle;
        guitest::PumpPending();
        burst = 20;
        ASSERT_EQ(TWRC_SUCCESS, Disable()) << cycle;
        burst = 0;
        guitest::PumpPending();
    }
    stop = true;
    injector.join();
    EXPECT_GT(delivered.load(), 0);
    EXPECT_EQ(0, TakeScanEvents()) << "nothing waits for a window that is gone";
}

TEST_F(UserInterfaceTest, APaperPortHostGetsASystemModalQuestion) {
    for (const char* host : {"PaperPort 11", "Twain Test App"}) {
        std::strcpy(app.AppIdentity().ProductName, host);
        Open();
        EXPECT_EQ(host, getApplicationProductName());
        g_boxExStyle = -1;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerNo);
        GuiWindowsDialog asker(0, nullptr, nullptr);
        EXPECT_FALSE(asker.AskYesNo("Delete?"));
        KillTimer(nullptr, timer);
        ASSERT_NE(-1, g_boxExStyle) << host;
        EXPECT_EQ(std::string(host) == "PaperPort 11", (g_boxExStyle & WS_EX_TOPMOST) != 0) << host;
        Unload();
    }
}

TEST_F(UserInterfaceTest, TheAcquireWindowInEnglishAndGerman) {
    // The interface language comes from the "testl" preference when the source is made.
    const struct {
        const char* language;
        const char* testl;
        const wchar_t* close;
    } languages[] = {{"en", "0", L"Close"}, {"de", "4", L"Schlie\u00dfen"}};
    for (const auto& language : languages) {
        RegSetKeyValueA(HKEY_CURRENT_USER, ProductKeyPath().c_str(), "testl", REG_SZ,
                        language.testl, static_cast<DWORD>(std::strlen(language.testl) + 1));
        Open();
        ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window())) << language.language;
        const HWND window = AcquireWindow();
        wchar_t close[32] = {};
        GetWindowTextW(GetDlgItem(window, IDCANCEL), close, 32);
        EXPECT_STREQ(language.close, close);
        std::string error;
        EXPECT_TRUE(guitest::SaveScreenshot(
            window, std::string("GuiAcquireJobsDialog.") + language.language + ".png", &error))
            << error;
        EXPECT_EQ(TWRC_SUCCESS, Disable());
        Unload();
    }
}

TEST_F(UserInterfaceTest, TheAcquireWindowInTheCodePagesLanguage) {
    const guitest::CodePageLanguage language = guitest::LanguageOfCodePage();
    ASSERT_EQ("", language.missingLocale) << "not generated on this machine";
    if (language.index < 0) {
        GTEST_SKIP() << "Japanese and Chinese texts need their code page";
    }
    const std::string testl = std::to_string(language.index);
    RegSetKeyValueA(HKEY_CURRENT_USER, ProductKeyPath().c_str(), "testl", REG_SZ, testl.c_str(),
                    static_cast<DWORD>(testl.size() + 1));
    Open();
    ASSERT_EQ(TWRC_SUCCESS, Enable(true, app.Window()));
    const HWND window = AcquireWindow();
    const std::wstring close = guitest::TemplateText(ResourceLoader::Instance()->GetModule(),
                                                     IDD_ACQUIRE_JOBS, language.langId, IDCANCEL);
    EXPECT_FALSE(close.empty());
    EXPECT_EQ(close, guitest::WideControlText(window, IDCANCEL));
    std::string error;
    EXPECT_TRUE(
        guitest::SaveScreenshot(window, "GuiAcquireJobsDialog." + language.code + ".png", &error))
        << error;
    EXPECT_EQ(TWRC_SUCCESS, Disable());
    Unload();
}
