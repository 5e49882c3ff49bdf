// The multi-pane frame: panes made on first selection, placed over the frame, following the
// tabs, disabling and restoring their controls, and closed with their dialog.

#include "FrameworkTestDialogs_rc.h"
#include "GuiMultiPane.h"
#include "GuiMultiPaneDialog.h"
#include "TabCtrl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TestPane : public GuiMultiPane {
public:
    TestPane(int dialogId, GuiMultiPaneDialog* owner, int* deletions)
        : GuiMultiPane(dialogId, owner), m_deletions(deletions) {}
    ~TestPane() override { ++*m_deletions; }

private:
    int* m_deletions;
};

// A frame that builds its two panes and tabs while it initialises, as the acquire window does.
class TestFrame : public GuiMultiPaneDialog {
public:
    explicit TestFrame(bool withPanes, int* paneDeletions = nullptr)
        : GuiMultiPaneDialog(IDD_TEST_FRAME, IDC_FRAME_TABS, nullptr), m_withPanes(withPanes),
          m_paneDeletions(paneDeletions != nullptr ? paneDeletions : &m_ownCount) {}

    bool OnInitDialog() override {
        GuiWindowsDialog::OnInitDialog();
        tabs.SetHandle(GetItem(IDC_FRAME_TABS));
        if (m_withPanes) {
            AddPane(new TestPane(IDD_TEST_PANE_A, this, m_paneDeletions));
            tabIndexes.push_back(tabs.AddTab("Alpha"));
            AddPane(new TestPane(IDD_TEST_PANE_B, this, m_paneDeletions));
            tabIndexes.push_back(tabs.AddTab(""));
        }
        return GuiMultiPaneDialog::OnInitDialog();
    }
    TabCtrl tabs;
    std::vector<int> tabIndexes;

private:
    bool m_withPanes;
    int m_ownCount = 0;
    int* m_paneDeletions;
};

std::string TabText(HWND tabs, int index) {
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

} // namespace

TEST(GuiMultiPane, TheFirstPaneIsMadeAndShownOverTheFrameTheOtherOnlyWhenSelected) {
    TestFrame frame(true);
    frame.Create();
    ASSERT_EQ(2, frame.GetPaneCount());
    EXPECT_EQ(std::vector<int>({0, 1}), frame.tabIndexes);
    EXPECT_EQ("Alpha", TabText(frame.GetItem(IDC_FRAME_TABS), 0));
    EXPECT_EQ("", TabText(frame.GetItem(IDC_FRAME_TABS), 1));

    EXPECT_EQ(0, frame.GetCurrentPaneIndex());
    GuiMultiPane* const first = frame.GetCurrentPane();
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->GetHwnd());
    EXPECT_TRUE(first->IsVisible());
    EXPECT_EQ(frame.GetHwnd(), GetParent(first->GetHwnd()));
    // Centred across the frame, 40 pixels below its top.
    const RECT tabs = frame.GetItemRect(IDC_FRAME_TABS);
    const RECT pane = frame.GetControlRect(first->GetHwnd());
    EXPECT_EQ(tabs.left + ((tabs.right - tabs.left) - (pane.right - pane.left)) / 2, pane.left);
    EXPECT_EQ(tabs.top + 40, pane.top);
    // Right after the frame in the Z order, so that the frame does not cover it.
    EXPECT_EQ(first->GetHwnd(), GetWindow(frame.GetItem(IDC_FRAME_TABS), GW_HWNDNEXT));

    // Pane 1 has no window until it is selected.
    EXPECT_EQ(nullptr, GetDlgItem(frame.GetHwnd(), IDC_PANE_B_TEXT));
    frame.SelectPane(1);
    GuiMultiPane* const second = frame.GetCurrentPane();
    ASSERT_NE(nullptr, second->GetHwnd());
    EXPECT_TRUE(second->IsVisible());
    EXPECT_FALSE(first->IsVisible());

    // Nothing changes for an index outside the panes or the current one.
    for (const int index : {-1, 2, 1}) {
        frame.SelectPane(index);
        EXPECT_EQ(1, frame.GetCurrentPaneIndex()) << index;
        EXPECT_TRUE(second->IsVisible()) << index;
        EXPECT_FALSE(first->IsVisible()) << index;
    }

    // A tab change selects its pane; other notices change nothing.
    SendMessageA(frame.GetItem(IDC_FRAME_TABS), TCM_SETCURSEL, 0, 0);
    NMHDR header = {frame.GetItem(IDC_FRAME_TABS), IDC_FRAME_TABS,
                    static_cast<UINT>(TCN_SELCHANGE)};
    NMHDR other = {frame.GetItem(IDC_FRAME_BUTTON), IDC_FRAME_BUTTON,
                   static_cast<UINT>(TCN_SELCHANGE)};
    EXPECT_EQ(0, frame.OnNotify(0, &other));
    EXPECT_EQ(1, frame.GetCurrentPaneIndex());
    EXPECT_EQ(1, frame.OnNotify(0, &header));
    EXPECT_EQ(0, frame.GetCurrentPaneIndex());
    EXPECT_TRUE(first->IsVisible());
    EXPECT_FALSE(second->IsVisible());
}

TEST(GuiMultiPane, WithoutPanesNothingIsSelected) {
    TestFrame frame(false);
    frame.Create();
    EXPECT_EQ(-1, frame.GetCurrentPaneIndex());
    EXPECT_EQ(nullptr, frame.GetCurrentPane());
    frame.SelectPane(0);
    EXPECT_EQ(-1, frame.GetCurrentPaneIndex());
}

TEST(GuiMultiPane, APaneWithoutWindowIgnoresShowAndEnable) {
    TestFrame frame(false);
    frame.Create();
    int deletions = 0;
    TestPane pane(IDD_TEST_PANE_B, &frame, &deletions);
    pane.ShowPane(true);
    pane.EnableControls();
    pane.DisableControls();
    EXPECT_EQ(nullptr, pane.GetHwnd());
}

TEST(GuiMultiPane, DisablingRemembersWhatWasEnabledAndRestoresExactlyThat) {
    TestFrame frame(true);
    frame.Create();
    GuiMultiPane* const pane = frame.GetCurrentPane();
    // Restoring without an earlier disable changes nothing.
    pane->EnableControls();
    EXPECT_FALSE(pane->IsItemEnabled(IDC_PANE_A_OFF));

    pane->DisableControls();
    EXPECT_FALSE(pane->IsEnabled());
    EXPECT_FALSE(pane->IsItemEnabled(IDC_PANE_A_BUTTON));
    EXPECT_FALSE(pane->IsItemEnabled(IDC_PANE_A_EDIT));
    // A second call keeps the first list: it must not forget the controls it disabled.
    pane->DisableControls();
    pane->EnableControls();
    EXPECT_TRUE(pane->IsEnabled());
    EXPECT_TRUE(pane->IsItemEnabled(IDC_PANE_A_BUTTON));
    EXPECT_TRUE(pane->IsItemEnabled(IDC_PANE_A_EDIT));
    EXPECT_FALSE(pane->IsItemEnabled(IDC_PANE_A_OFF)) << "it was disabled before";
}

TEST(GuiMultiPane, ClosingTheDialogClosesEveryPane) {
    int paneDeletions = 0;
    auto* frame = new TestFrame(true, &paneDeletions);
    frame->Create();
    frame->SelectPane(1);
    const HWND window = frame->GetHwnd();
    frame->Close();
    EXPECT_EQ(2, paneDeletions);
    EXPECT_FALSE(IsWindow(window));
}
