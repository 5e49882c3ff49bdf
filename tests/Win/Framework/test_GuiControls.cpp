// The control wrappers on the controls of a real dialog: edit filters and the Return key, the
// list view, pop-up buttons, the spin control, the wait cursor, the tool tips and the
// scrolling text.

#include "CListBoxTipHandler.h"
#include "EditCtrl.h"
#include "FrameworkTestDialogs_rc.h"
#include "GuiWindowsDialog.h"
#include "ListCtrl.h"
#include "PopupButton.h"
#include "PopupEditButton.h"
#include "SpinControl.h"
#include "WaitCursorWrapper.h"
#include "ZylScrollText.h"
#include "ZylToolTip.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        dialog = std::make_unique<GuiWindowsDialog>(IDD_TEST_CONTROLS, nullptr, nullptr);
        dialog->Create();
    }
    void TearDown() override { dialog.release()->Close(); }

    // Types one character as the keyboard would deliver it to the control.
    static void Type(HWND edit, char character) {
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 0);
    }

    std::unique_ptr<GuiWindowsDialog> dialog;
};

class ReturnCounter : public EditCtrl::NotifyIntf {
public:
    void OnReturnKey(EditCtrl* edit) override {
        ++count;
        last = edit;
    }
    int count = 0;
    EditCtrl* last = nullptr;
};

} // namespace

TEST_F(ControlsTest, TheFileNameFilterRefusesWhatAFileNameCannotHold) {
    const HWND window = dialog->GetItem(IDC_FILTER_EDIT);
    const auto original = GetWindowLongPtrA(window, GWLP_WNDPROC);
    EditCtrl edit;
    edit.SetHandle(window);
    edit.Attach(EditCtrl::kSingleLine | EditCtrl::kFileName);
    for (const char refused : std::string("\\/:*?\"<>|%()&^$")) {
        Type(window, refused);
    }
    EXPECT_EQ("", edit.GetText());
    for (const char accepted : std::string("a-_. 1")) {
        Type(window, accepted);
    }
    EXPECT_EQ("a-_. 1", edit.GetText());
    Type(window, '\b');
    EXPECT_EQ("a-_. ", edit.GetText());

    // Without the filter the control gets its own procedure back.
    edit.Attach(EditCtrl::kSingleLine);
    EXPECT_EQ(original, GetWindowLongPtrA(window, GWLP_WNDPROC));
    Type(window, ':');
    EXPECT_EQ("a-_. :", edit.GetText());
}

TEST_F(ControlsTest, TheReturnKeyGoesToTheOwnerAndInsertsNothing) {
    const HWND window = dialog->GetItem(IDC_FILTER_EDIT);
    ReturnCounter counter;
    {
        EditCtrl edit;
        edit.SetHandle(window);
        edit.Attach(EditCtrl::kSingleLine);
        edit.SetReturnNotify(&counter);
        EXPECT_EQ(DLGC_WANTALLKEYS, SendMessageA(window, WM_GETDLGCODE, 0, 0));
        edit.SetText("abc");
        Type(window, '\r');
        EXPECT_EQ(1, counter.count);
        EXPECT_EQ(&edit, counter.last);
        EXPECT_EQ("abc", edit.GetText());
        // A later Attach keeps the Return key.
        edit.Attach(EditCtrl::kSingleLine | EditCtrl::kDigitsOnly);
        Type(window, '\r');
        EXPECT_EQ(2, counter.count);
    }
    // Gone with the wrapper.
    Type(window, '\r');
    EXPECT_EQ(2, counter.count);
}

TEST_F(ControlsTest, EditFlagsFollowTheStyle) {
    const HWND window = dialog->GetItem(IDC_FILTER_EDIT);
    EditCtrl edit;
    edit.SetHandle(window);
    const struct {
        uint32_t flags;
        LONG_PTR set;
        LONG_PTR clear;
    } cases[] = {
        {EditCtrl::kSingleLine, 0, ES_MULTILINE | ES_NUMBER | ES_PASSWORD},
        {EditCtrl::kSingleLine | EditCtrl::kDigitsOnly, ES_NUMBER, ES_MULTILINE | ES_PASSWORD},
        {EditCtrl::kSingleLine | EditCtrl::kPassword, ES_PASSWORD, ES_MULTILINE | ES_NUMBER},
        {0, ES_MULTILINE, ES_NUMBER | ES_PASSWORD},
    };
    for (const auto& c : cases) {
        edit.Attach(c.flags);
        const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        EXPECT_EQ(c.set, style & c.set) << c.flags;
        EXPECT_EQ(0, style & c.clear) << c.flags;
        EXPECT_EQ(c.flags & (EditCtrl::kSingleLine | EditCtrl::kDigitsOnly),
                  edit.GetFilterFlags() & (EditCtrl::kSingleLine | EditCtrl::kDigitsOnly))
            << c.flags;
    }
}

TEST_F(ControlsTest, ListCtrl) {
    ListCtrl list;
    EXPECT_EQ(dialog->GetItem(IDC_LIST), list.SetHandle(dialog->GetItem(IDC_LIST)));
    EXPECT_EQ(-1, list.GetNextIndex(0, false)) << "empty";
    EXPECT_EQ(-1, list.GetNextIndex(0, true)) << "empty";
    EXPECT_EQ(0, list.InsertColumn(0, "Name", 100, LVCFMT_LEFT));
    EXPECT_EQ(1, list.InsertColumn(1, "Pages", 40, LVCFMT_RIGHT));
    EXPECT_EQ(0, list.InsertItem(0, "alpha"));
    EXPECT_EQ(0, list.GetNextIndex(0, false)) << "one row";
    EXPECT_EQ(0, list.GetNextIndex(0, true)) << "one row";
    EXPECT_EQ(1, list.InsertItem(1, "beta"));
    EXPECT_EQ(2, list.InsertItem(2, ""));
    EXPECT_EQ(3, list.GetItemCount());
    list.SetItemText(1, 1, "12");
    EXPECT_EQ("12", list.GetItemText(1, 1));
    EXPECT_EQ("", list.GetItemText(2, 0));
    const std::string longText(1500, 'x');
    list.SetItemText(2, 0, longText);
    EXPECT_EQ(longText.substr(0, 1023), list.GetItemText(2, 0));
    list.SetItem(1, 77);
    EXPECT_EQ(77, list.GetItem(1));

    const struct {
        int row;
        bool backwards;
        int expected;
    } neighbours[] = {{0, false, 1}, {2, false, 0}, {0, true, 2}, {2, true, 1}, {-1, false, -1}};
    for (const auto& n : neighbours) {
        EXPECT_EQ(n.expected, list.GetNextIndex(n.row, n.backwards)) << n.row << n.backwards;
    }

    list.SelectItem(2, false);
    EXPECT_EQ(2, list.GetSelectedItem());
    list.SelectItem(0, true);
    EXPECT_EQ(0, list.GetSelectedItem());
    EXPECT_EQ(2u, SendMessageA(list.GetHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
    list.SelectItem(1, false);
    EXPECT_EQ(1, list.GetSelectedItem());
    EXPECT_EQ(1u, SendMessageA(list.GetHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
    list.SelectItem(-1, false);
    EXPECT_EQ(-1, list.GetSelectedItem());

    EXPECT_EQ(1, list.FindItem("be", -1)) << "a prefix";
    EXPECT_EQ(-1, list.FindItem("eta", -1));
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(ControlsTest, PopupButtonSelectsByTextWithItsFallBacks) {
    PopupButton popup;
    popup.Attach(dialog->GetItem(IDC_COMBO_LIST));
    EXPECT_EQ(-1, popup.SelectText("none", 0)) << "an empty box selects nothing";
    for (const char* text : {"Color", "Grayscale", "Black and White"}) {
        popup.AddString(text);
    }
    EXPECT_EQ("", popup.GetSelectedText());
    const struct {
        const char* text;
        const char* second;
        int fallback;
        int expected;
    } cases[] = {
        {"gray", nullptr, 0, 1},   // a prefix, without regard to case
        {"sepia", nullptr, -1, 0}, // no match, no fall-back: the first entry
        {"sepia", nullptr, 2, 2},  // the fall-back
        {"sepia", nullptr, 3, 0},  // a fall-back past the end is no entry: the first
        {"sepia", "Black", 0, 2},  // the second text before the fall-back
        {"sepia", "sepia", 3, 0},
    };
    for (const auto& c : cases) {
        popup.SetCurSel(-1);
        const int selected = c.second ? popup.SelectTextOrFirst(c.text, c.second, c.fallback)
                                      : popup.SelectText(c.text, c.fallback);
        EXPECT_EQ(c.expected, selected) << c.text << " / " << c.fallback;
        EXPECT_EQ(c.expected, popup.GetCurSel()) << c.text << " / " << c.fallback;
    }
    EXPECT_EQ("Color", popup.GetItemText(-1)) << "a negative index reads the first";
    EXPECT_EQ(1, popup.SetItemText(1, "Gray"));
    EXPECT_EQ("Gray", popup.GetItemText(1));
    popup.SetItemData(2, 42);
    EXPECT_EQ(42, popup.GetItemData(2));
    EXPECT_EQ(2, popup.DeleteString(0));
    popup.Clear();
    EXPECT_EQ(nullptr, popup.GetHandle());
    EXPECT_EQ(0, SendMessageA(dialog->GetItem(IDC_COMBO_LIST), CB_GETCOUNT, 0, 0));
}

TEST_F(ControlsTest, FitDropDownHeightGivesAtLeastTwoLines) {
    const auto droppedHeight = [&](int id, int lines) {
        const HWND box = dialog->GetItem(id);
        PopupButton popup;
        popup.Attach(box);
        EXPECT_TRUE(popup.FitDropDownHeight(lines));
        RECT closed = {};
        GetWindowRect(box, &closed);
        RECT dropped = {};
        SendMessageA(box, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        return (dropped.bottom - dropped.top) - (closed.bottom - closed.top);
    };
    const int forNone = droppedHeight(IDC_COMBO_LIST, 0);
    EXPECT_GT(forNone, 0);
    EXPECT_EQ(forNone, droppedHeight(IDC_COMBO_LIST_2, 1));
}

TEST_F(ControlsTest, FitDropDownHeightFollowsTheLineCountHoweverOftenItRuns) {
    const HWND box = dialog->GetItem(IDC_COMBO_LIST);
    PopupButton popup;
    popup.Attach(box);
    const auto fit = [&](int lines) {
        EXPECT_TRUE(popup.FitDropDownHeight(lines));
        RECT dropped = {};
        SendMessageA(box, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        return dropped.bottom - dropped.top;
    };
    const int five = fit(5);
    EXPECT_EQ(five, fit(5)) << "a refill of the same items";
    EXPECT_EQ(five, fit(5));
    const int two = fit(2);
    EXPECT_LT(two, five);
    EXPECT_EQ((five - two) * 2, fit(8) - two) << "three lines more, then six";
    EXPECT_EQ(five, fit(5));
}

TEST_F(ControlsTest, PopupEditButtonWithAListHasNoEditField) {
    PopupEditButton popup;
    popup.Attach(dialog->GetItem(IDC_COMBO_LIST));
    EXPECT_TRUE(popup.HasList());
    EXPECT_EQ(1, popup.GetSel(0, 0));
    EXPECT_EQ(1, popup.SetSel(0, 1));
    EXPECT_EQ(1, popup.LimitText(5));
    EXPECT_EQ(1, popup.AttachEditFilter(EditCtrl::kFileName));
    EXPECT_EQ(0u, popup.GetFilterFlags());
    popup.AddString("one");
    popup.SetCurSel(0);
    EXPECT_EQ("one", popup.GetText());
}

TEST_F(ControlsTest, PopupEditButtonReplacesItsControlInPlace) {
    const HWND original = dialog->GetItem(IDC_COMBO_EDIT);
    const HWND before = GetWindow(original, GW_HWNDPREV);
    const RECT rect = dialog->GetControlRect(original);
    const auto font = SendMessageA(original, WM_GETFONT, 0, 0);

    PopupEditButton popup;
    popup.AttachEdit(original);
    EXPECT_FALSE(popup.HasList());
    popup.AddString("alpha");
    popup.SetText("typed");
    EXPECT_EQ("typed", popup.GetText());
    popup.SetCurSel(0);
    popup.SyncEditWithSelection();
    EXPECT_EQ("alpha", popup.GetEdit()->GetText());

    popup.ReplaceWithComboBox(true);
    const HWND replaced = dialog->GetItem(IDC_COMBO_EDIT);
    ASSERT_NE(nullptr, replaced);
    EXPECT_FALSE(IsWindow(original));
    EXPECT_EQ(replaced, popup.GetHandle());
    EXPECT_TRUE(popup.HasList());
    EXPECT_EQ(CBS_DROPDOWNLIST, GetWindowLongPtrA(replaced, GWL_STYLE) & 3);
    const RECT now = dialog->GetControlRect(replaced);
    EXPECT_EQ(rect.left, now.left);
    EXPECT_EQ(rect.top, now.top);
    EXPECT_EQ(rect.right - rect.left, now.right - now.left);
    EXPECT_EQ(font, SendMessageA(replaced, WM_GETFONT, 0, 0));
    EXPECT_EQ(before, GetWindow(replaced, GW_HWNDPREV)) << "its place in the tab order";

    popup.ReplaceWithComboBox(false);
    const HWND editable = dialog->GetItem(IDC_COMBO_EDIT);
    EXPECT_EQ(CBS_DROPDOWN, GetWindowLongPtrA(editable, GWL_STYLE) & 3);
    popup.AttachEditFilter(EditCtrl::kSingleLine | EditCtrl::kFileName);
    SendMessageA(popup.GetEdit()->GetHandle(), WM_CHAR, ':', 0);
    SendMessageA(popup.GetEdit()->GetHandle(), WM_CHAR, 'x', 0);
    EXPECT_EQ("x", popup.GetText());
}

TEST_F(ControlsTest, SpinControl) {
    SpinControl spin;
    spin.Attach(dialog->GetItem(IDC_SPIN), dialog->GetItem(IDC_SPIN_EDIT));
    EXPECT_NE(0, GetWindowLongPtrA(dialog->GetItem(IDC_SPIN_EDIT), GWL_STYLE) & ES_NUMBER);
    const struct {
        const char* low;
        const char* high;
        int expectedLow;
        int expectedHigh;
    } ranges[] = {{"1", "999", 1, 999}, {"abc", "", 0, 0}, {"-10", "10", -10, 10}};
    for (const auto& r : ranges) {
        spin.SetRange(r.low, r.high);
        const LRESULT range = SendMessageA(spin.GetHandle(), UDM_GETRANGE, 0, 0);
        EXPECT_EQ(r.expectedLow, static_cast<short>(HIWORD(range))) << r.low;
        EXPECT_EQ(r.expectedHigh, static_cast<short>(LOWORD(range))) << r.high;
    }
    spin.SetPos("-5");
    EXPECT_EQ("-5", spin.GetPosText());
    spin.SetText("7");
    EXPECT_EQ("7", spin.GetPosText());
    EXPECT_EQ("7", spin.GetText());
    spin.GetBuddyEdit()->SetText("3");
    EXPECT_EQ("7", spin.GetPosText()) << "only the Sync operations bring them into step";
    spin.SyncPosFromText();
    EXPECT_EQ("3", spin.GetPosText());
    spin.SetPos("9");
    spin.SyncTextFromPos();
    EXPECT_EQ("9", spin.GetText());
    spin.Enable(false);
    EXPECT_FALSE(IsWindowEnabled(spin.GetHandle()));
    EXPECT_FALSE(IsWindowEnabled(spin.GetBuddyEdit()->GetHandle()));
}

TEST_F(ControlsTest, TheWaitCursorPutsBackTheOneBeforeIt) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        const WaitCursorWrapper wait(IDC_WAIT);
        EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), GetCursor());
        SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
    }
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(ControlsTest, AListEntryTooWideForTheListShowsInTheTip) {
    const HWND list = dialog->GetItem(IDC_NARROW_LIST);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("ab"));
    const std::string wide = "an entry far too wide for this narrow list";
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    RECT first = {};
    RECT second = {};
    SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));

    CListBoxTipHandler handler;
    handler.Attach(list);
    ZylToolTip& tip = ZylToolTip::Instance();
    ASSERT_TRUE(tip.Exists());
    const auto tipText = [&] {
        char text[100] = {};
        GetWindowTextA(tip.GetWindow(), text, sizeof(text));
        return std::string(text);
    };
    SetWindowTextA(tip.GetWindow(), "");

    handler.OnMouseMove(2, first.top + 1);
    EXPECT_EQ(0, handler.GetLastIndex());
    EXPECT_EQ("", tipText()) << "a narrow entry shows no tip";
    handler.OnMouseMove(2, second.top + 1);
    EXPECT_EQ(1, handler.GetLastIndex());
    EXPECT_EQ(wide, tipText());
    // Within the same entry nothing is shown again.
    SetWindowTextA(tip.GetWindow(), "");
    handler.OnMouseMove(4, second.top + 2);
    EXPECT_EQ("", tipText());
    handler.OnMouseLeave();
    EXPECT_FALSE(IsWindowVisible(tip.GetWindow()));
    EXPECT_EQ(-1, handler.GetLastIndex());
}

TEST_F(ControlsTest, AClickOnTheScrollingTextClosesItsParent) {
    const HWND parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    // A plain static ignores WM_CLOSE: let it be destroyed by the default procedure.
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    ZylScrollText scroll;
    scroll.SetText("credits");
    ASSERT_TRUE(scroll.Create(0, 0, 200, 100, parent, GetModuleHandleA(nullptr),
                              static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(0, ZylScrollText::GetScrollOffset());
    SendMessageA(scroll.GetHwnd(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(IsWindow(parent));
}
