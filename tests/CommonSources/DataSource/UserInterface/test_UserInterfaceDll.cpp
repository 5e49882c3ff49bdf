// The built Nimbrel5.ds enabled with its user interface by an application that goes through
// Wine's source manager: the acquire window over the application's window, MSG_CLOSEDSREQ
// through the application's MSG_PROCESSEVENT loop, and the server library's events until the
// source is disabled; and the window-less acquisition announcing its page.

#include "GuiTestSupport.h"
#include "SourceFixture.h"
#include "UiMessages.h"

#include <vector>

namespace {

HWND AcquireWindowOf(HWND owner) {
    return guitest::OwnedWindow(owner, "Nimbrel 5");
}

class ManagerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        OrvexSim_Reset();
    }
    void TearDown() override {
        OrvexSim_Reset();
        RemoveProductKey();
    }

    TW_UINT16 Enable(TwainTestApp& app) {
        TW_USERINTERFACE ui = {TRUE, FALSE, app.Window()};
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    TW_UINT16 Disable(TwainTestApp& app) {
        TW_USERINTERFACE ui = {};
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
};

} // namespace

TEST_F(ManagerWindowTest, TheAcquireWindowAsksForItsCloseThroughTheSourceManager) {
    TwainTestApp app;
    ASSERT_TRUE(app.HasManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Enable(app));
    const HWND window = AcquireWindowOf(app.Window());
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowEnabled(app.Window()));

    // An event on the simulated library's thread arrives as a message to the window.
    EXPECT_EQ(1, OrvexSim_DeliverEvent(3, 21, 0));
    MSG message;
    ASSERT_TRUE(
        PeekMessageA(&message, window, WM_NIMBREL_SCAN_EVENT, WM_NIMBREL_SCAN_EVENT, PM_REMOVE));
    EXPECT_EQ(3u, message.wParam);
    EXPECT_EQ(21, message.lParam);

    SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(app.PumpUntil([&] { return !app.Notices().empty(); }, 10000));
    EXPECT_EQ(std::vector<TW_UINT16>({MSG_CLOSEDSREQ}), app.Notices());
    // The source manager delivered it: the source does not report it again, and the
    // application's own messages stay its own.
    PostMessageA(app.Window(), WM_APP, 0, 0);
    const auto dispatchedOwn = [&] {
        for (const UINT dispatched : app.DispatchedMessages()) {
            if (dispatched == WM_APP) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(app.PumpUntil(dispatchedOwn, 10000));
    EXPECT_EQ(1u, app.Notices().size());

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable(app));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(app.Window()));
    // Disabled: the event is dropped on the library's thread, nothing is posted.
    EXPECT_EQ(1, OrvexSim_DeliverEvent(4, 22, 0));
    EXPECT_FALSE(
        PeekMessageA(&message, nullptr, WM_NIMBREL_SCAN_EVENT, WM_NIMBREL_SCAN_EVENT, PM_NOREMOVE));

    // Back in state 4: the source can be enabled again, and events flow to the new window.
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Enable(app));
    const HWND again = AcquireWindowOf(app.Window());
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(1, OrvexSim_DeliverEvent(5, 23, 0));
    EXPECT_TRUE(
        PeekMessageA(&message, again, WM_NIMBREL_SCAN_EVENT, WM_NIMBREL_SCAN_EVENT, PM_REMOVE));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable(app));

    EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
    EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
}

// Without the user interface: the scan starts at once, and once its job has ended the
// application hears MSG_XFERREADY through its MSG_PROCESSEVENT loop; no window shows.
TEST_F(ManagerWindowTest, TheWindowlessAcquisitionAnnouncesThroughTheSourceManager) {
    TwainTestApp app;
    ASSERT_TRUE(app.HasManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));

    // The simulated server takes the scan without naming its job.
    OrvexSim_FailNext("SCAN_initiateScan", 0);
    TW_USERINTERFACE ui = {FALSE, FALSE, app.Window()};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
    EXPECT_EQ(1, OrvexSim_DeliverEvent(0, 101, 0));
    EXPECT_TRUE(app.PumpUntil([&] { return !app.Notices().empty(); }, 10000));
    EXPECT_EQ(std::vector<TW_UINT16>({MSG_XFERREADY}), app.Notices());

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Disable(app));
    EXPECT_TRUE(IsWindowEnabled(app.Window()));
    EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
    EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
}
