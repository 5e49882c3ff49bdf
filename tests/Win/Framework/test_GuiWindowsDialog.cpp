// The dialog framework on real windows: modal and modeless runs, close requests of modeless
// children, the password field, per-control helpers, control ranges, centring, the Yes/No box,
// message waits and destruction.

#include "FrameworkTestDialogs_rc.h"
#include "GuiTestSupport.h"
#include "GuiWindowsDialog.h"
#include "ResourceLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A dialog whose steps a test fills in; it tells the test when it is deleted.
class TestDialog : public GuiWindowsDialog {
public:
    TestDialog(int dialogId, GuiWindowsDialog* owner = nullptr, HWND parent = nullptr,
               bool* deleted = nullptr)
        : GuiWindowsDialog(dialogId, owner, parent), m_deleted(deleted) {}
    ~TestDialog() override {
        if (m_deleted != nullptr) {
            *m_deleted = true;
        }
    }

    bool OnInitDialog() override {
        GuiWindowsDialog::OnInitDialog();
        if (onInit) {
            onInit(*this);
        }
        return true;
    }
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP && onApp) {
            onApp(*this, wParam);
            return 0;
        }
        return GuiWindowsDialog::WindowProc(message, wParam, lParam);
    }
    void OnCloseRequest(int dialogId, int result) override {
        closeRequests.emplace_back(dialogId, result);
        GuiWindowsDialog::OnCloseRequest(dialogId, result);
    }
    using GuiWindowsDialog::SetChildDialog;

    std::function<void(TestDialog&)> onInit;
    std::function<void(TestDialog&, WPARAM)> onApp;
    std::vector<std::pair<int, int>> closeRequests;

private:
    bool* m_deleted;
};

struct DialogSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    char text[64] = {};
    GetWindowTextA(window, text, sizeof(text));
    if (IsWindowVisible(window) && std::string(text) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindThreadDialog(const char* title) {
    DialogSearch search = {title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Presses the button of AskYesNo's box from inside the box's own loop.
int g_button = 0;
bool g_clicked = false;
void CALLBACK PressButton(HWND, UINT, UINT_PTR, DWORD) {
    if (const HWND box = FindThreadDialog("Nimbrel 5")) {
        g_clicked = true;
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(g_button), 0);
    }
}

} // namespace

TEST(GuiWindowsDialog, DoModalReturnsTheEndDialogValueAndDeletesTheDialog) {
    bool deleted = false;
    auto* dialog = new TestDialog(IDD_TEST_PLAIN, nullptr, nullptr, &deleted);
    dialog->onInit = [](TestDialog& self) { PostMessageA(self.GetHwnd(), WM_APP, 0, 0); };
    dialog->onApp = [](TestDialog& self, WPARAM) { self.EndDialog(7); };
    EXPECT_EQ(7, dialog->DoModal());
    EXPECT_TRUE(deleted);
}

TEST(GuiWindowsDialog, AnEndDialogFromInitialisationAsksTheOwnerAndTheLoopGoesOn) {
    TestDialog owner(IDD_TEST_PLAIN);
    owner.Create();
    auto* dialog = new TestDialog(IDD_TEST_PLAIN, &owner);
    dialog->onInit = [](TestDialog& self) {
        self.EndDialog(5);
        PostMessageA(self.GetHwnd(), WM_APP, 0, 0);
    };
    dialog->onApp = [](TestDialog& self, WPARAM) { self.EndDialog(9); };
    EXPECT_EQ(9, dialog->DoModal());
    ASSERT_EQ(1u, owner.closeRequests.size());
    EXPECT_EQ(std::make_pair(IDD_TEST_PLAIN, 5), owner.closeRequests[0]);
    EXPECT_TRUE(owner.IsEnabled()) << "the modal run gives the owner back";
}

TEST(GuiWindowsDialog, AQuitDuringTheModalRunEndsItAndStaysQueued) {
    auto* dialog = new TestDialog(IDD_TEST_PLAIN);
    dialog->onInit = [](TestDialog&) { PostQuitMessage(42); };
    EXPECT_EQ(0, dialog->DoModal());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, message.wParam) << "the host's loop gets the exit code";
}

TEST(GuiWindowsDialog, DoModalDeletesTheDialogWhenItsTemplateIsMissing) {
    TestDialog owner(IDD_TEST_PLAIN);
    owner.Create();
    bool deleted = false;
    auto* dialog = new TestDialog(4242, &owner, nullptr, &deleted);
    EXPECT_ANY_THROW(dialog->DoModal());
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(owner.IsEnabled());
}

TEST(GuiWindowsDialog, AModelessChildAsksItsOwnerWhichDeletesIt) {
    TestDialog owner(IDD_TEST_PLAIN);
    owner.Create();
    bool deleted = false;
    auto* child = new TestDialog(IDD_TEST_PLAIN, &owner, nullptr, &deleted);
    owner.SetChildDialog(child);
    child->Create();
    EXPECT_FALSE(owner.IsEnabled()) << "the owner waits while its child lives";
    const HWND childWindow = child->GetHwnd();
    ASSERT_TRUE(IsWindow(childWindow));

    child->EndDialog(1); // synchronous: the owner has acted when it returns
    ASSERT_EQ(1u, owner.closeRequests.size());
    EXPECT_EQ(std::make_pair(IDD_TEST_PLAIN, 1), owner.closeRequests[0]);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, owner.GetChildDialog());
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_TRUE(owner.IsEnabled());

    // Without an owner nobody is asked, and nothing happens.
    TestDialog alone(IDD_TEST_PLAIN);
    alone.Create();
    alone.EndDialog(1);
    EXPECT_TRUE(IsWindow(alone.GetHwnd()));
}

TEST(GuiWindowsDialog, ThePasswordFieldShowsStars) {
    TestDialog dialog(IDD_TEST_PLAIN);
    dialog.Create();
    EXPECT_EQ('*', SendMessageA(dialog.GetItem(IDC_PASSWORD), EM_GETPASSWORDCHAR, 0, 0));
    EXPECT_EQ(0, SendMessageA(dialog.GetItem(IDC_PLAIN_EDIT), EM_GETPASSWORDCHAR, 0, 0));
}

TEST(GuiWindowsDialog, PerControlHelpers) {
    TestDialog dialog(IDD_TEST_PLAIN);
    dialog.Create();
    dialog.SetEditText(IDC_PLAIN_EDIT, "some text");
    EXPECT_EQ("some text", dialog.GetEditText(IDC_PLAIN_EDIT));
    dialog.SetButtonText(IDC_RANGE_1, "");
    EXPECT_EQ("", dialog.GetButtonText(IDC_RANGE_1));
    dialog.SetItemText(IDC_RANGE_1, "One");
    EXPECT_EQ("One", dialog.GetItemText(IDC_RANGE_1));

    EXPECT_FALSE(dialog.IsItemChecked(IDC_PLAIN_CHECK));
    dialog.ToggleItemCheck(IDC_PLAIN_CHECK);
    EXPECT_TRUE(dialog.IsItemChecked(IDC_PLAIN_CHECK));
    dialog.CheckItem(IDC_PLAIN_CHECK, false);
    EXPECT_FALSE(dialog.IsItemChecked(IDC_PLAIN_CHECK));

    dialog.EnableItem(IDC_RANGE_2, false);
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_RANGE_2));
    dialog.ShowItem(IDC_RANGE_2, false);
    EXPECT_FALSE(dialog.IsItemVisible(IDC_RANGE_2));

    dialog.MoveItem(IDC_RANGE_3, 33, 44);
    dialog.SizeItem(IDC_RANGE_3, 55, 22);
    const RECT rect = dialog.GetItemRect(IDC_RANGE_3);
    EXPECT_EQ(33, rect.left);
    EXPECT_EQ(44, rect.top);
    EXPECT_EQ(55, rect.right - rect.left);
    EXPECT_EQ(22, rect.bottom - rect.top);
    EXPECT_EQ(nullptr, dialog.GetItem(4711));
}

TEST(GuiWindowsDialog, ControlRangesWalkTheChildOrder) {
    TestDialog dialog(IDD_TEST_PLAIN);
    dialog.Create();
    dialog.ShowItemRange(IDC_RANGE_2, IDC_RANGE_4, false);
    EXPECT_TRUE(dialog.IsItemVisible(IDC_RANGE_1));
    EXPECT_FALSE(dialog.IsItemVisible(IDC_RANGE_2));
    EXPECT_FALSE(dialog.IsItemVisible(IDC_RANGE_3));
    EXPECT_FALSE(dialog.IsItemVisible(IDC_RANGE_4));
    EXPECT_TRUE(dialog.IsItemVisible(IDC_RANGE_5));
    // A last control that does not exist: the walk ends with the list.
    dialog.ShowItemRange(IDC_RANGE_5, 4711, false);
    EXPECT_FALSE(dialog.IsItemVisible(IDC_RANGE_5));
    EXPECT_FALSE(dialog.IsItemVisible(IDC_PLAIN_CHECK));

    int width = 0;
    int height = 0;
    dialog.GetSize(&width, &height);
    const RECT anchor = dialog.GetItemRect(IDC_RANGE_2);
    const RECT first = dialog.GetItemRect(IDC_RANGE_4);
    const RECT last = dialog.GetItemRect(IDC_RANGE_5);
    const int delta = first.top - anchor.top;
    ASSERT_GT(delta, 0);
    dialog.ShiftItemsUp(IDC_RANGE_2, IDC_RANGE_4, IDC_RANGE_5);
    EXPECT_EQ(anchor.top, dialog.GetItemRect(IDC_RANGE_4).top);
    EXPECT_EQ(last.top - delta, dialog.GetItemRect(IDC_RANGE_5).top);
    EXPECT_EQ(anchor.top, dialog.GetItemRect(IDC_RANGE_2).top) << "the anchor stays";
    int shrunkWidth = 0;
    int shrunkHeight = 0;
    dialog.GetSize(&shrunkWidth, &shrunkHeight);
    EXPECT_EQ(width, shrunkWidth);
    EXPECT_EQ(height - delta, shrunkHeight);
}

TEST(GuiWindowsDialog, ClampIndex) {
    const TestDialog dialog(IDD_TEST_PLAIN);
    const struct {
        int count, index, expected;
    } cases[] = {{0, 0, -1}, {5, 7, 4}, {5, -3, -1}, {5, 4, 4}, {5, 0, 0}, {5, 5, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, dialog.ClampIndex(c.count, c.index)) << c.count << ", " << c.index;
    }
}

TEST(GuiWindowsDialog, CentringNeverLeavesTheTopLeftBeyondMinusFive) {
    TestDialog dialog(IDD_TEST_PLAIN);
    dialog.Create();
    const HWND small = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                     nullptr, nullptr, nullptr);
    dialog.CenterWindow(small);
    RECT rect = {};
    GetWindowRect(dialog.GetHwnd(), &rect);
    EXPECT_EQ(-5, rect.left);
    EXPECT_EQ(-5, rect.top);
    DestroyWindow(small);

    dialog.CenterWindow(nullptr); // the desktop
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog.GetHwnd(), &rect);
    EXPECT_LE(std::abs((rect.left + rect.right) / 2 - (desktop.left + desktop.right) / 2), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - (desktop.top + desktop.bottom) / 2), 1);
}

TEST(GuiWindowsDialog, TheJapaneseInterfaceGetsAShiftJisFont) {
    ResourceLoader* const loader = ResourceLoader::Instance();
    const int saved = loader->GetLanguageIndex();
    loader->SetLanguageIndex(1);
    {
        TestDialog dialog(IDD_TEST_PLAIN);
        dialog.Create();
        const auto font =
            reinterpret_cast<HFONT>(SendMessageA(dialog.GetItem(IDC_PLAIN_EDIT), WM_GETFONT, 0, 0));
        LOGFONTA logFont = {};
        ASSERT_NE(0, GetObjectA(font, sizeof(logFont), &logFont));
        EXPECT_EQ(SHIFTJIS_CHARSET, logFont.lfCharSet);
    }
    loader->SetLanguageIndex(saved);
}

TEST(GuiWindowsDialog, AskYesNoAnswersTrueOnlyForYes) {
    TestDialog dialog(IDD_TEST_PLAIN);
    for (const int button : {IDYES, IDNO}) {
        g_button = button;
        g_clicked = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, PressButton);
        const bool answer = dialog.AskYesNo("Go on?");
        KillTimer(nullptr, timer);
        EXPECT_TRUE(g_clicked);
        EXPECT_EQ(button == IDYES, answer);
    }
}

TEST(GuiWindowsDialog, WaitWithMessagesDispatchesWhileItWaitsAndEndsOnAFailedWait) {
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    TestDialog dialog(IDD_TEST_PLAIN);
    dialog.Create();
    // The event is set only when the posted message is dispatched by the wait itself.
    dialog.onApp = [event](TestDialog&, WPARAM) { SetEvent(event); };
    PostMessageA(dialog.GetHwnd(), WM_APP, 0, 0);
    EXPECT_EQ(0, GuiWindowsDialog::WaitWithMessages(event));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0));
    CloseHandle(event);
    // A handle that cannot be waited on ends the wait instead of spinning.
    EXPECT_EQ(0, GuiWindowsDialog::WaitWithMessages(nullptr));
}

TEST(GuiWindowsDialog, DeletingADialogOfAnotherThreadEndsAndLeavesItsWindowSafe) {
    GuiWindowsDialog* dialog = nullptr;
    HWND window = nullptr;
    const HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        dialog = new TestDialog(IDD_TEST_PLAIN);
        dialog->Create();
        window = dialog->GetHwnd();
        SetEvent(made);
        WaitForSingleObject(release, INFINITE);
        guitest::PumpPending();
        // The window goes with this thread; it must not reach the deleted object.
    });
    WaitForSingleObject(made, INFINITE);
    dialog->Close();
    EXPECT_TRUE(IsWindow(window)) << "only its own thread destroys it";
    SetEvent(release);
    owner.join();
    EXPECT_FALSE(IsWindow(window));
    CloseHandle(made);
    CloseHandle(release);
}
