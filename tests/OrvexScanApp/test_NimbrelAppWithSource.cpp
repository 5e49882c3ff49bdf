// The built NimbrelApp against the built data source, installed where Wine's source manager
// finds it, connected to the simulated default server: the acquire window over the hidden main
// window, a second copy that brings it to the front, and the end of the session on Close.

#include "AppProcess.h"
#include "GuiTestSupport.h"

#include <gtest/gtest.h>

TEST(NimbrelAppWithSource, ShowsTheAcquireWindowAndEndsWhenItCloses) {
    AppProcess app;
    ASSERT_TRUE(app.Started());
    const HWND acquire = app.WaitForWindow("Nimbrel 5", nullptr, 60000);
    ASSERT_NE(nullptr, acquire) << "message box instead: " << app.AnswerMessageBox(0);

    // The source's window is owned by the program's hidden main window.
    const HWND main = GetWindow(acquire, GW_OWNER);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("Nimbrel", WindowTextUtf8(main));
    RECT rect = {};
    GetWindowRect(main, &rect);
    EXPECT_LE(rect.right, 0) << "off-screen";
    Sleep(500);
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(acquire, "NimbrelApp.acquire.png", &error)) << error;

    // A second copy brings the first to the front and ends without a window of its own.
    const HWND other = CreateWindowA("STATIC", "elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    {
        AppProcess second;
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(0u, second.WaitForExit(30000));
    }
    EXPECT_EQ(acquire, GetForegroundWindow());
    DestroyWindow(other);

    // Close asks the program to close the source; it disables, closes and ends.
    PostMessageA(acquire, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(acquire, IDCANCEL)));
    EXPECT_EQ(0u, app.WaitForExit(30000));
    EXPECT_FALSE(IsWindow(acquire));
}
