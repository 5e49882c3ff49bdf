// The progress and warning windows on threads of their own and the modal log-in and error
// dialogs, through the user-interface handler of a source running in this program (the Gui
// window factory registered): starting, moving, cancelling and stopping the progress window;
// opening and closing the warning window under "connectwarning"; the log-in's OK and Cancel;
// the error dialog's text and Escape; topmost only in the hosts that want it; and message
// pumps that hand a WM_QUIT back to the host's loop.

#include "DataArg_UserInterface.h"
#include "GuiLoginDialog_rc.h"
#include "GuiModalErrorDialog.h"
#include "GuiModalErrorDialog_rc.h"
#include "GuiModelessWarningDialog_rc.h"
#include "GuiProgressDialog_rc.h"
#include "GuiProgressThreadControl.h"
#include "GuiTestSupport.h"
#include "GuiWindowFactory.h"
#include "MessageWaits.h"
#include "ResourceLoader.h"
#include "GuiSourceFixture.h"

#include <commctrl.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

struct FoundWindow {
    int controlId;
    HWND window;
};

BOOL CALLBACK FindByControl(HWND window, LPARAM param) {
    auto* const found = reinterpret_cast<FoundWindow*>(param);
    if (IsWindowVisible(window) && GetDlgItem(window, found->controlId) != nullptr) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window that holds the control; null when none does.
HWND WindowWithControl(int controlId) {
    FoundWindow found = {controlId, nullptr};
    EnumWindows(FindByControl, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::string ControlText(HWND window, int controlId) {
    char text[1024] = {};
    GetDlgItemTextA(window, controlId, text, sizeof(text));
    return text;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Runs once inside the next modal loop of this thread, then lets the loop go on.
std::function<void()> g_insideModal;
void CALLBACK RunInsideModal(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (std::function<void()> action = std::move(g_insideModal)) {
        action();
    }
}
void WhenModal(std::function<void()> action) {
    g_insideModal = std::move(action);
    SetTimer(nullptr, 0, 50, RunInsideModal);
}

long long MillisecondsOf(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

class ThreadedWindowsTest : public GuiSourceFixture {
protected:
    void Open(const char* host = "Twain Test App") {
        Unload();
        std::strcpy(app.AppIdentity().ProductName, host);
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        ASSERT_NE(nullptr, Ui());
    }
    static DataArg_UserInterface* Ui() { return AbstractSource::GetUserInterfaceHandler(); }
};

} // namespace

TEST_F(ThreadedWindowsTest, TheProgressWindowFollowsTheHostAndStopsPromptly) {
    Open();
    ASSERT_FALSE(Ui()->IsProgressShown());
    Ui()->ShowProgress(1000);
    ASSERT_TRUE(Ui()->IsProgressShown());
    const HWND window = WindowWithControl(IDC_PROGRESS_WINDOW_BAR);
    ASSERT_NE(nullptr, window);
    const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    EXPECT_NE(GetCurrentThreadId(), windowThread) << "a thread of its own";
    const HWND bar = GetDlgItem(window, IDC_PROGRESS_WINDOW_BAR);
    EXPECT_EQ(1000, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    Ui()->SetProgressPos(250);
    EXPECT_EQ(250, SendMessageA(bar, PBM_GETPOS, 0, 0));

    // A second start while it is up opens nothing new.
    Ui()->ShowProgress(5);
    EXPECT_EQ(window, WindowWithControl(IDC_PROGRESS_WINDOW_BAR));
    EXPECT_EQ(1000, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));

    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(window, "GuiProgressDialog.en.png", &error)) << error;

    // Only the stop request ends the window thread.
    PostThreadMessageA(windowThread, WM_QUIT, 0, 0);
    guitest::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(IsWindow(window));

    // Cancel, and Escape, ask the acquisition to close; the window stays.
    const HWND cancel = GetDlgItem(window, IDCANCEL);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
    EXPECT_TRUE(guitest::PumpUntil([] { return Ui()->IsCloseRequested(); }, 3000));
    EXPECT_TRUE(IsWindow(window));
    Ui()->ClearCloseRequest();
    PostMessageA(cancel, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(guitest::PumpUntil([] { return Ui()->IsCloseRequested(); }, 3000));
    EXPECT_TRUE(IsWindow(window));

    EXPECT_LT(MillisecondsOf([] { Ui()->EndProgress(); }), 500) << "no waiting for the timer";
    EXPECT_FALSE(Ui()->IsProgressShown());
    EXPECT_FALSE(IsWindow(window));
    Ui()->SetProgressPos(10); // nothing to move: no failure
}

TEST_F(ThreadedWindowsTest, AProgressControlWithoutItsWindowDoesNothingAndNeverHangsTheStarter) {
    {
        GuiProgressThreadControl control;
        control.SetPos(5);
        control.SetRange(0, 10);
        EXPECT_EQ(nullptr, control.GetDialog());
    }
    {
        GuiProgressThreadControl control;
        ASSERT_TRUE(control.StartAndWait());
        EXPECT_NE(nullptr, control.GetDialog());
        control.StopAndWait();
        EXPECT_EQ(nullptr, control.GetDialog());
        control.SetPos(5);
        control.SetRange(0, 10);
    }
    // A template that cannot be found: the window thread ends and the starter goes on.
    ResourceLoader* const loader = ResourceLoader::Instance();
    const HMODULE module = loader->GetModule();
    loader->SetModule(GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(nullptr, GuiWindowFactory::Instance()->StartProgressWindow());
    EXPECT_EQ(nullptr, GuiWindowFactory::Instance()->OpenWarningWindow("text"));
    loader->SetModule(module);
}

TEST_F(ThreadedWindowsTest, TheWarningWindowShowsItsTextUntilClosed) {
    Open();
    EXPECT_EQ(nullptr, WindowWithControl(IDC_MODELESS_WARNING_TEXT)) << "none left by the open";
    Ui()->ShowWarning("Establishing services with 'localhost'.");
    const HWND window = WindowWithControl(IDC_MODELESS_WARNING_TEXT);
    ASSERT_NE(nullptr, window);
    const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    EXPECT_NE(GetCurrentThreadId(), windowThread);
    EXPECT_EQ("Establishing services with 'localhost'.",
              ControlText(window, IDC_MODELESS_WARNING_TEXT));
    EXPECT_NE(0, GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    Ui()->ShowWarning("Another text");
    EXPECT_EQ(window, WindowWithControl(IDC_MODELESS_WARNING_TEXT));
    EXPECT_EQ("Establishing services with 'localhost'.",
              ControlText(window, IDC_MODELESS_WARNING_TEXT));
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(window, "GuiModelessWarningDialog.en.png", &error))
        << error;

    PostThreadMessageA(windowThread, WM_QUIT, 0, 0);
    guitest::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(IsWindow(window));

    EXPECT_LT(MillisecondsOf([] { Ui()->CloseWarning(); }), 1000);
    EXPECT_FALSE(IsWindow(window));
    Ui()->CloseWarning();
}

TEST_F(ThreadedWindowsTest, WithConnectWarningOffNoWarningOpens) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, ProductKeyPath().c_str(), 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, "connectwarning", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
    Open();
    Ui()->ShowWarning("Establishing services with 'localhost'.");
    EXPECT_EQ(nullptr, WindowWithControl(IDC_MODELESS_WARNING_TEXT));
    Ui()->CloseWarning();
}

TEST_F(ThreadedWindowsTest, TheErrorDialogClosesTheWarningShowsItsTextAndEndsOnEscape) {
    Open();
    Ui()->ShowWarning("Establishing services with 'localhost'.");
    const HWND warning = WindowWithControl(IDC_MODELESS_WARNING_TEXT);
    ASSERT_NE(nullptr, warning);
    bool warningGone = false;
    std::string shown;
    WhenModal([&] {
        warningGone = !IsWindow(warning);
        const HWND dialog = WindowWithControl(IDC_MODAL_ERROR_TEXT);
        if (dialog != nullptr) {
            shown = ControlText(dialog, IDC_MODAL_ERROR_TEXT);
            std::string error;
            EXPECT_TRUE(guitest::SaveScreenshot(dialog, "GuiModalErrorDialog.en.png", &error))
                << error;
            PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        }
    });
    Ui()->ShowErrorDialog("Operation completed successfully.");
    EXPECT_TRUE(warningGone) << "the warning goes first";
    EXPECT_EQ("Operation completed successfully.", shown);
    EXPECT_EQ(nullptr, WindowWithControl(IDC_MODAL_ERROR_TEXT));

    // OK ends with 1, Escape with 2; a long text scrolls inside the field, the dialog keeps its
    // size.
    struct Case {
        std::string text;
        WPARAM key;
        int result;
    };
    const Case cases[] = {{"Short", VK_RETURN, 1}, {std::string(3000, 'x'), VK_ESCAPE, 2}};
    RECT sizes[2] = {};
    for (int i = 0; i < 2; ++i) {
        WhenModal([&, i] {
            const HWND dialog = WindowWithControl(IDC_MODAL_ERROR_TEXT);
            ASSERT_NE(nullptr, dialog);
            GetWindowRect(dialog, &sizes[i]);
            // ControlText reads at most 1023 characters.
            EXPECT_EQ(cases[i].text.substr(0, 1023), ControlText(dialog, IDC_MODAL_ERROR_TEXT));
            PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, cases[i].key, 0);
        });
        EXPECT_EQ(cases[i].result, (new GuiModalErrorDialog(nullptr, cases[i].text))->DoModal());
    }
    EXPECT_EQ(sizes[0].right - sizes[0].left, sizes[1].right - sizes[1].left);
    EXPECT_EQ(sizes[0].bottom - sizes[0].top, sizes[1].bottom - sizes[1].top);
}

TEST_F(ThreadedWindowsTest, TheLogInDialogHandsOverItsFieldsOnlyOnOk) {
    Open();
    struct Case {
        const char* what;
        std::string user;
        std::string password;
        int button; // 0: Escape
        int result;
    };
    const Case cases[] = {
        {"OK", "alice", "wonder", IDOK, 1},
        {"OK with empty fields", "", "", IDOK, 1},
        {"long texts", std::string(300, 'u'), std::string(200, 'p'), IDOK, 1},
        {"Cancel", "bob", "builder", IDCANCEL, 2},
        {"Escape", "bob", "builder", 0, 2},
    };
    for (const Case& c : cases) {
        std::string user = "before";
        std::string password = "secret";
        std::string openedUser = "?";
        std::string openedPassword = "?";
        bool passwordHidden = false;
        WhenModal([&] {
            const HWND dialog = WindowWithControl(IDC_LOGIN_USER_NAME);
            ASSERT_NE(nullptr, dialog) << c.what;
            openedUser = ControlText(dialog, IDC_LOGIN_USER_NAME);
            openedPassword = ControlText(dialog, IDC_LOGIN_PASSWORD);
            passwordHidden = (GetWindowLongPtrA(GetDlgItem(dialog, IDC_LOGIN_PASSWORD), GWL_STYLE) &
                              ES_PASSWORD) != 0;
            SetDlgItemTextA(dialog, IDC_LOGIN_USER_NAME, c.user.c_str());
            SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, c.password.c_str());
            if (std::string(c.what) == "OK") {
                std::string error;
                EXPECT_TRUE(guitest::SaveScreenshot(dialog, "GuiLoginDialog.en.png", &error))
                    << error;
            }
            if (c.button == 0) {
                PostMessageA(GetDlgItem(dialog, IDC_LOGIN_USER_NAME), WM_KEYDOWN, VK_ESCAPE, 0);
            } else {
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, c.button)));
            }
        });
        int result = 0;
        Ui()->ShowLoginDialog(user, password, &result);
        EXPECT_EQ(c.result, result) << c.what;
        EXPECT_EQ("", openedUser) << c.what << ": the fields open empty";
        EXPECT_EQ("", openedPassword) << c.what;
        EXPECT_TRUE(passwordHidden) << c.what;
        EXPECT_EQ(c.result == 1 ? c.user : "before", user) << c.what;
        EXPECT_EQ(c.result == 1 ? c.password : "secret", password) << c.what;
        EXPECT_EQ(c.result != 1, Ui()->GetUiStateFlag()) << c.what;
        EXPECT_EQ(nullptr, WindowWithControl(IDC_LOGIN_USER_NAME)) << c.what;
    }
}

TEST_F(ThreadedWindowsTest, OnlyTheNamedHostsGetTopmostWindows) {
    for (const char* host : {"PaperPort 11", "eCopy Desktop", "Twain Test App"}) {
        Open(host);
        const bool wanted = std::string(host) != "Twain Test App";

        Ui()->ShowProgress(10);
        const HWND progress = WindowWithControl(IDC_PROGRESS_WINDOW_BAR);
        ASSERT_NE(nullptr, progress) << host;
        EXPECT_EQ(wanted, IsTopmost(progress)) << host << ": progress";
        Ui()->EndProgress();

        Ui()->ShowWarning("text");
        const HWND warning = WindowWithControl(IDC_MODELESS_WARNING_TEXT);
        ASSERT_NE(nullptr, warning) << host;
        EXPECT_EQ(wanted, IsTopmost(warning)) << host << ": warning";
        Ui()->CloseWarning();

        bool errorTopmost = !wanted;
        WhenModal([&] {
            const HWND dialog = WindowWithControl(IDC_MODAL_ERROR_TEXT);
            ASSERT_NE(nullptr, dialog) << host;
            errorTopmost = IsTopmost(dialog);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        Ui()->ShowErrorDialog("text");
        EXPECT_EQ(wanted, errorTopmost) << host << ": error";

        bool loginTopmost = !wanted;
        WhenModal([&] {
            const HWND dialog = WindowWithControl(IDC_LOGIN_USER_NAME);
            ASSERT_NE(nullptr, dialog) << host;
            loginTopmost = IsTopmost(dialog);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        std::string user;
        std::string password;
        int result = 0;
        Ui()->ShowLoginDialog(user, password, &result);
        EXPECT_EQ(wanted, loginTopmost) << host << ": log-in";
        // A topmost window may not stay so for the next host's windows.
        Unload();
    }
}

TEST(MessagePumps, AQuitTakenWhileWaitingIsPostedAgain) {
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const std::function<void()> waits[] = {
        [event] { GuiWindowsDialog::WaitWithMessages(event); },
        [event] { EXPECT_TRUE(MessageWaits::WaitForReadyOrEnd(event, nullptr)); },
        [event] { MessageWaits::DispatchPending(); },
    };
    for (const std::function<void()>& wait : waits) {
        ResetEvent(event);
        PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 7, 0);
        std::thread setter([event] {
            Sleep(100);
            SetEvent(event);
        });
        wait();
        setter.join();
        MSG message = {};
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
        EXPECT_EQ(7u, message.wParam);
    }
    CloseHandle(event);

    // The stop of a window thread pumps too.
    GuiProgressThreadControl control;
    ASSERT_TRUE(control.StartAndWait());
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 9, 0);
    control.StopAndWait();
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
    EXPECT_EQ(9u, message.wParam);
}
