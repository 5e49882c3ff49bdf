// An application acquires from the built Nimbrel5.ds, installed where the source managers find
// it, as a user would, against the simulated default server. Every road an application may take
// to the source: Wine's TWAIN_32.DLL, the test TWAINDSM.DLL (a 2.x manager that answers the
// source's notices itself, or one that refuses them) and DS_Entry called directly. On each, with
// the acquire window: two stored jobs of two mailboxes picked on the Retrieve pane one after the
// other (the first page of the first dropped unread), the list reloaded in between, a server
// event after them, and Close; without it, a scan the copier makes. Each notice reaches the
// application exactly once. A scan started on the Initiate pane and a server that goes down
// run through Wine's manager.

#include "DibRows.h"
#include "GuiAcquireJobsDialog_rc.h"
#include "GuiModalErrorDialog_rc.h"
#include "GuiScanRetrieveDialog_rc.h"
#include "GuiTestSupport.h"
#include "SourceFixture.h"
#include "TestDsm.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// Stored jobs of the default server, filed under their owner's name or their mailbox: two
// colour pages of 320 x 240, and one of 240 x 180.
constexpr char kJobA[] = "Colour report";
constexpr int kJobIdA = 101;
constexpr char kMailboxA[] = "alice";
constexpr char kJobB[] = "Colour photo";
constexpr char kMailboxB[] = "007";
constexpr int kJobInMailboxB = 102;

enum class Road { WineManager, TestManager, RefusingTestManager, Direct };

std::string RoadName(const ::testing::TestParamInfo<Road>& info) {
    switch (info.param) {
    case Road::WineManager:
        return "WineManager";
    case Road::TestManager:
        return "TestManager";
    case Road::RefusingTestManager:
        return "RefusingTestManager";
    case Road::Direct:
        return "Direct";
    }
    return "Unknown";
}

// Where the managers load the source from.
std::string InstalledSource() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof(windows));
    return std::string(windows) + (sizeof(void*) == 8 ? "\\twain_64" : "\\twain_32") + "\\sane.ds";
}

struct Search {
    HWND parent;
    int controlId;
    HWND found;
};

BOOL CALLBACK FindDescendant(HWND window, LPARAM param) {
    auto* const search = reinterpret_cast<Search*>(param);
    if (GetDlgCtrlID(window) == search->controlId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible control anywhere inside the window (the panes are dialogs of their own).
HWND ControlIn(HWND window, int controlId) {
    Search search = {window, controlId, nullptr};
    EnumChildWindows(window, FindDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK FindVisiblePane(HWND window, LPARAM param) {
    auto* const search = reinterpret_cast<Search*>(param);
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    if (GetParent(window) == search->parent && std::string(name) == "#32770" &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The pane the window shows: a child dialog of its own.
HWND VisiblePane(HWND window) {
    Search search = {window, 0, nullptr};
    EnumChildWindows(window, FindVisiblePane, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ExpectPaneInsideFrame(HWND window, const char* pane) {
    const HWND shown = VisiblePane(window);
    ASSERT_NE(nullptr, shown) << pane;
    RECT frame = {};
    RECT inner = {};
    GetWindowRect(GetDlgItem(window, IDC_PANE_FRAME), &frame);
    GetWindowRect(shown, &inner);
    EXPECT_TRUE(inner.left >= frame.left && inner.top >= frame.top && inner.right <= frame.right &&
                inner.bottom <= frame.bottom)
        << pane << " pane lies inside the tab frame";
}

bool JobListCalled() {
    for (const std::string& call : OrvexSimCalls()) {
        if (call.rfind("SCAN_getJobList", 0) == 0) {
            return true;
        }
    }
    return false;
}

// Rows of one picture, each cut to the bytes its pixels take, top-down, red-green-blue.
struct Picture {
    LONG width = 0;
    LONG height = 0;
    std::string rows;
};

Picture FromDib(HGLOBAL handle) {
    const Bitmap bitmap = ReadBitmap(handle);
    EXPECT_EQ(24, bitmap.header.biBitCount);
    return {bitmap.header.biWidth, std::abs(bitmap.header.biHeight), SwapRedBlue(bitmap.rows, 24)};
}

// The bytes of a page file of the default server's job.
long long PageFileBytes(int jobId, int page) {
    char root[MAX_PATH] = {};
    OrvexSim_GetFixtureRoot(root, sizeof(root));
    const std::string path = std::string(root) + "\\default\\jobs\\" + std::to_string(jobId) +
                             "\\page" + std::to_string(page) + ".jpg";
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Since the log was cleared, each page of the job crossed the network once: one fetch of its
// page file, and not a byte more.
void ExpectEachPageFetchedOnce(int jobId, int pages) {
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        EXPECT_EQ(1, OrvexSim_FetchesServed(jobId, page));
        EXPECT_EQ(PageFileBytes(jobId, page), OrvexSim_BytesServed(jobId, page));
    }
    EXPECT_EQ(0, OrvexSim_BytesServed(jobId, 0)) << "nothing of the whole job";
}

HWND g_pressAcquireIn = nullptr;

void CALLBACK PressAcquire(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    guitest::ClickButton(g_pressAcquireIn, IDOK);
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        OrvexSim_Reset();
    }
    void TearDown() override {
        app.reset();
        if (m_source != nullptr) {
            FreeLibrary(m_source);
        }
        OrvexSim_SetServerDown("default", 0);
        OrvexSim_Reset();
        RemoveProductKey();
    }

    // A new application for the road.
    void Start(Road road) {
        m_road = road;
        app.reset();
        if (road == Road::Direct) {
            if (m_source == nullptr) {
                m_source = LoadLibraryA(InstalledSource().c_str());
            }
            ASSERT_NE(nullptr, m_source) << InstalledSource();
            const auto entry = reinterpret_cast<DSENTRYPROC>(
                reinterpret_cast<void*>(GetProcAddress(m_source, "DS_Entry")));
            ASSERT_NE(nullptr, entry);
            app = std::make_unique<TwainTestApp>(entry);
            return;
        }
        const bool wine = road == Road::WineManager;
        app = std::make_unique<TwainTestApp>(wine ? "TWAIN_32.DLL" : "TWAINDSM.DLL");
        ASSERT_TRUE(app->HasManager());
        if (!wine) {
            const auto refuse = reinterpret_cast<TestDsmSetRefuseNotices>(reinterpret_cast<void*>(
                GetProcAddress(GetModuleHandleA("TWAINDSM.DLL"), "TestDsm_SetRefuseNotices")));
            ASSERT_NE(nullptr, refuse);
            refuse(road == Road::RefusingTestManager ? TRUE : FALSE);
        }
    }

    // The notices the test manager queued; 0 on other roads.
    LONG QueuedByTestManager() const {
        const HMODULE manager = GetModuleHandleA("TWAINDSM.DLL");
        const auto queued = manager == nullptr
                                ? nullptr
                                : reinterpret_cast<TestDsmNoticesQueued>(reinterpret_cast<void*>(
                                      GetProcAddress(manager, "TestDsm_NoticesQueued")));
        return queued != nullptr ? queued() : 0;
    }

    TW_UINT16 Enable(bool showUI) {
        TW_USERINTERFACE ui = {static_cast<TW_BOOL>(showUI ? TRUE : FALSE), FALSE, app->Window()};
        return app->Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    TW_UINT16 Disable() {
        TW_USERINTERFACE ui = {};
        return app->Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    void Open() {
        if (m_road != Road::Direct) {
            ASSERT_EQ(TWRC_SUCCESS, app->OpenManager());
        }
        ASSERT_EQ(TWRC_SUCCESS, app->OpenSource("Nimbrel 5"));
    }
    // Opens the source and enables it with its acquire window.
    void OpenAndEnable(HWND* window) {
        ASSERT_NO_FATAL_FAILURE(Open());
        ASSERT_EQ(TWRC_SUCCESS, Enable(true));
        *window = guitest::OwnedWindow(app->Window(), "Nimbrel 5");
        ASSERT_NE(nullptr, *window);
    }
    void DisableAndClose() {
        EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS, Disable());
        EXPECT_EQ(TWRC_SUCCESS, app->CloseSource());
        if (m_road != Road::Direct) {
            EXPECT_EQ(TWRC_SUCCESS, app->CloseManager());
        }
    }
    int CountNotices(TW_UINT16 notice) const {
        return static_cast<int>(std::count(app->Notices().begin(), app->Notices().end(), notice));
    }
    // Pumps until the notice came once more than before, then a little longer: whether it came
    // exactly once.
    bool ReceiveOnce(TW_UINT16 notice, int before) {
        app->PumpUntil([&] { return CountNotices(notice) > before; }, 10000);
        app->PumpMessages(300);
        return CountNotices(notice) == before + 1;
    }

    // Types the mailbox on the Retrieve pane and selects the job's row; false when it is not
    // listed.
    bool SelectStoredJob(HWND window, const char* mailbox, const char* job) {
        const HWND field = ControlIn(window, IDC_RETRIEVE_MAILBOX_NAME);
        const HWND list = ControlIn(window, IDC_RETRIEVE_JOB_LIST);
        if (field == nullptr || list == nullptr) {
            ADD_FAILURE() << "the Retrieve pane's mailbox and job list";
            return false;
        }
        SetWindowTextA(field, mailbox);
        int row = -1;
        app->PumpUntil(
            [&] {
                LVFINDINFOA find = {};
                find.flags = LVFI_STRING;
                find.psz = job;
                row = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(&find)));
                return row != -1;
            },
            5000);
        if (row == -1) {
            ADD_FAILURE() << job << " is listed in " << mailbox;
            return false;
        }
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return true;
    }
    // Picks the job and presses Acquire; true once the application heard MSG_XFERREADY once.
    bool AcquireStoredJob(HWND window, const char* mailbox, const char* job) {
        if (!SelectStoredJob(window, mailbox, job)) {
            return false;
        }
        const int before = CountNotices(MSG_XFERREADY);
        guitest::ClickButton(window, IDOK);
        return ReceiveOnce(MSG_XFERREADY, before);
    }

    Picture Native() {
        HGLOBAL handle = nullptr;
        EXPECT_TWAIN(*app, TWRC_XFERDONE, TWCC_SUCCESS,
                     app->Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle));
        if (handle == nullptr) {
            return Picture();
        }
        Picture picture = FromDib(handle);
        GlobalFree(handle);
        return picture;
    }

    // Strips of 32 KB (within the source's bounds), reassembled row by row without their
    // padding.
    Picture Memory() {
        TW_SETUPMEMXFER setup = {};
        EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app->Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup));
        std::vector<char> buffer(std::clamp<TW_UINT32>(
            32 * 1024, setup.MinBufSize, std::max(setup.MinBufSize, setup.MaxBufSize)));
        Picture picture;
        int strips = 0;
        for (;;) {
            TW_IMAGEMEMXFER strip = {};
            strip.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
            strip.Memory.Length = static_cast<TW_UINT32>(buffer.size());
            strip.Memory.TheMem = buffer.data();
            const TW_UINT16 rc = app->Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
            if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
                ADD_FAILURE() << "strip " << strips << " answered " << rc;
                return picture;
            }
            ++strips;
            EXPECT_EQ(static_cast<TW_UINT32>(picture.height), strip.YOffset);
            picture.width = static_cast<LONG>(strip.Columns);
            const size_t used = static_cast<size_t>(strip.Columns) * 3;
            for (TW_UINT32 y = 0; y < strip.Rows; ++y) {
                picture.rows.append(buffer.data() + static_cast<size_t>(y) * strip.BytesPerRow,
                                    used);
            }
            picture.height += static_cast<LONG>(strip.Rows);
            if (rc == TWRC_XFERDONE || strips > 10000) {
                break;
            }
        }
        EXPECT_GT(strips, 1) << "a page in several strips";
        return picture;
    }

    // Every page of the job announced, natively, each a picture; the pages left then.
    TW_INT16 TakeEveryPageNatively() {
        TW_INT16 left = 0;
        for (int pages = 0; pages < 10; ++pages) {
            EXPECT_GT(Native().width, 0);
            left = EndXfer();
            if (left <= 0) {
                break;
            }
        }
        return left;
    }

    TW_INT16 EndXfer() {
        TW_PENDINGXFERS pending = {0xAAAA, 0};
        EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app->Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
        return static_cast<TW_INT16>(pending.Count);
    }

    // Outside states 6 and 7 there is no transfer to end.
    void ExpectNoTransfer() {
        TW_PENDINGXFERS pending = {};
        EXPECT_TWAIN(*app, TWRC_FAILURE, TWCC_SEQERROR,
                     app->Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
    }

    std::unique_ptr<TwainTestApp> app;

private:
    Road m_road = Road::WineManager;
    HMODULE m_source = nullptr;
};

class AcquireRoadTest : public EndToEndTest, public ::testing::WithParamInterface<Road> {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start(GetParam()));
    }

    // Waits in GetMessage, as an idle application does, passing each message to the source,
    // until the notice comes or a watchdog timer fires; true when the notice came first.
    bool WaitIdleFor(TW_UINT16 notice, UINT watchdogMilliseconds) {
        constexpr UINT_PTR kWatchdog = 77;
        SetTimer(app->Window(), kWatchdog, watchdogMilliseconds, nullptr);
        bool fired = false;
        bool received = false;
        MSG message;
        while (!received && !fired && GetMessageA(&message, nullptr, 0, 0) > 0) {
            fired = message.message == WM_TIMER && message.hwnd == app->Window() &&
                    message.wParam == kWatchdog;
            TW_EVENT event = {&message, MSG_NULL};
            if (app->Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_DSEVENT) {
                received = event.TWMessage == notice;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        KillTimer(app->Window(), kWatchdog);
        return received && !fired;
    }
};

} // namespace

TEST_P(AcquireRoadTest, TwoStoredJobsOneAfterTheOtherInOneWindow) {
    // The user acknowledges every error the window reports.
    const guitest::BoxReader errors(IDC_MODAL_ERROR_TEXT);
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));

    // Job A: its first page is dropped unread, its second comes in memory strips.
    ASSERT_TRUE(AcquireStoredJob(window, kMailboxA, kJobA));
    EXPECT_EQ(1, EndXfer()) << "page 1 dropped";
    const Picture second = Memory();
    EXPECT_EQ(320, second.width);
    EXPECT_EQ(240, second.height);
    EXPECT_EQ(0, EndXfer());
    ExpectNoTransfer();

    // Every page handed over: Refresh reloads the list from the server, and so does a mailbox
    // typed in.
    OrvexSim_ClearLog();
    SendMessageA(ControlIn(window, IDC_RETRIEVE_REFRESH_JOBS), BM_CLICK, 0, 0);
    app->PumpMessages(100);
    EXPECT_TRUE(JobListCalled()) << "Refresh";

    // Job B of the other mailbox: its one page natively.
    ASSERT_TRUE(AcquireStoredJob(window, kMailboxB, kJobB));
    const Picture photo = Native();
    EXPECT_EQ(240, photo.width);
    EXPECT_EQ(180, photo.height);
    EXPECT_FALSE(photo.rows == second.rows);
    EXPECT_EQ(0, EndXfer());
    ExpectNoTransfer();

    // A job the server reports for the shown mailbox afterwards reaches the window: the list is
    // reloaded.
    OrvexSim_ClearLog();
    ASSERT_GT(OrvexSim_DeliverEvent(0, kJobInMailboxB, 0), 0);
    EXPECT_TRUE(app->PumpUntil(JobListCalled, 5000)) << "the event's reload";

    const int closes = CountNotices(MSG_CLOSEDSREQ);
    guitest::ClickButton(window, IDCANCEL);
    EXPECT_TRUE(ReceiveOnce(MSG_CLOSEDSREQ, closes));
    EXPECT_EQ(2, CountNotices(MSG_XFERREADY));
    // The manager that loaded the source took each notice, whatever its file name; one that
    // refused left them to the source.
    EXPECT_EQ(GetParam() == Road::TestManager ? 3 : 0, QueuedByTestManager());
    EXPECT_EQ(0, errors.Answered());
    DisableAndClose();
    EXPECT_EQ(0, app->CountForeignVisibleWindows());
}

// Without the acquire window the source starts a scan at once; the copier's job is announced
// once and its pages transferred, and the acquisition ends without a close request.
TEST_P(AcquireRoadTest, AWindowlessScanIsAnnouncedOnce) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_EQ(TWRC_SUCCESS, Enable(false));
    EXPECT_TRUE(ReceiveOnce(MSG_XFERREADY, 0));
    EXPECT_EQ(0, TakeEveryPageNatively());
    app->PumpMessages(300);
    EXPECT_EQ(1, CountNotices(MSG_XFERREADY));
    EXPECT_EQ(0, CountNotices(MSG_CLOSEDSREQ));
    DisableAndClose();
}

TEST_P(AcquireRoadTest, NoticesInAwkwardMoments) {
    struct Case {
        const char* name;
        std::function<void(HWND)> run;
    };
    const std::vector<Case> cases = {
        {"a notice while the application waits idle in GetMessage wakes it",
         [&](HWND window) {
             ASSERT_TRUE(SelectStoredJob(window, kMailboxA, kJobA));
             // Acquire is pressed from a timer the application's loop dispatches itself: the
             // notice comes while no message waits. The pointer is taken away from the window,
             // whose controls would otherwise keep tracking it with timers of their own.
             SetCursorPos(0, 0);
             g_pressAcquireIn = window;
             SetTimer(nullptr, 0, 1000, PressAcquire);
             EXPECT_TRUE(WaitIdleFor(MSG_XFERREADY, 8000));
             TW_PENDINGXFERS pending = {};
             EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS,
                          app->Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending));
         }},
        {"two notices in a row arrive once each, in order",
         [&](HWND window) {
             ASSERT_TRUE(SelectStoredJob(window, kMailboxA, kJobA));
             guitest::ClickButton(window, IDOK);
             guitest::ClickButton(window, IDCANCEL);
             EXPECT_TRUE(ReceiveOnce(MSG_CLOSEDSREQ, 0));
             EXPECT_EQ((std::vector<TW_UINT16>{MSG_XFERREADY, MSG_CLOSEDSREQ}), app->Notices());
         }},
        {"Close while a page is pending, then MSG_DISABLEDS ends in state 4",
         [&](HWND window) {
             ASSERT_TRUE(AcquireStoredJob(window, kMailboxA, kJobA));
             guitest::ClickButton(window, IDCANCEL);
             EXPECT_TRUE(ReceiveOnce(MSG_CLOSEDSREQ, 0));
             EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS, Disable());
             ExpectNoTransfer();
             // Only a source in state 4 may be enabled.
             EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS, Enable(true));
         }},
        {"a handle buffer one byte smaller than its length",
         [&](HWND window) {
             ASSERT_TRUE(AcquireStoredJob(window, kMailboxA, kJobA));
             TW_SETUPMEMXFER setup = {};
             ASSERT_EQ(TWRC_SUCCESS, app->Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup));
             for (const SIZE_T size : {SIZE_T(setup.MinBufSize) - 1, SIZE_T(setup.MinBufSize)}) {
                 const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
                 TW_IMAGEMEMXFER strip = {};
                 strip.Memory.Flags = TWMF_APPOWNS | TWMF_HANDLE;
                 strip.Memory.Length = setup.MinBufSize;
                 strip.Memory.TheMem = block;
                 const bool small = size < setup.MinBufSize;
                 EXPECT_TWAIN(*app, small ? TWRC_FAILURE : TWRC_SUCCESS,
                              small ? TWCC_BADVALUE : TWCC_SUCCESS,
                              app->Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip));
                 EXPECT_EQ(small ? 0u : strip.Rows * 960, strip.BytesWritten);
                 GlobalFree(block);
             }
             EXPECT_EQ(2, EndXfer()) << "the page is not over";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));
        c.run(window);
        DisableAndClose();
        OrvexSim_Reset();
        Start(GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRoad, AcquireRoadTest,
                         ::testing::Values(Road::WineManager, Road::TestManager,
                                           Road::RefusingTestManager, Road::Direct),
                         RoadName);

class AcquireEndToEndTest : public EndToEndTest {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start(Road::WineManager));
    }
};

TEST_F(AcquireEndToEndTest, EachPageIsTheSameByNativeAndMemoryTransfer) {
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));

    // Page 1 native, page 2 in memory strips; then the other way round. Each page crosses the
    // network once either way.
    OrvexSim_ClearLog();
    ASSERT_TRUE(AcquireStoredJob(window, kMailboxA, kJobA));
    const Picture nativeFirst = Native();
    EXPECT_EQ(1, EndXfer()) << "one page left";
    const Picture memorySecond = Memory();
    EXPECT_EQ(0, EndXfer());
    ExpectEachPageFetchedOnce(kJobIdA, 2);
    OrvexSim_ClearLog();
    ASSERT_TRUE(AcquireStoredJob(window, kMailboxA, kJobA));
    const Picture memoryFirst = Memory();
    EXPECT_EQ(1, EndXfer());
    const Picture nativeSecond = Native();
    EXPECT_EQ(0, EndXfer());
    ExpectEachPageFetchedOnce(kJobIdA, 2);

    EXPECT_EQ(320, nativeFirst.width);
    EXPECT_EQ(240, nativeFirst.height);
    EXPECT_TRUE(nativeFirst.rows == memoryFirst.rows) << "page 1 differs";
    EXPECT_EQ(320, memorySecond.width);
    EXPECT_EQ(240, memorySecond.height);
    EXPECT_TRUE(nativeSecond.rows == memorySecond.rows) << "page 2 differs";
    EXPECT_FALSE(nativeFirst.rows == nativeSecond.rows) << "two different pages";

    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(window, "GuiAcquireJobsDialog.acquired.en.png", &error))
        << error;
    // Both panes fit the frame; the Initiate tab shows the other one.
    ExpectPaneInsideFrame(window, "Retrieve");
    TabCtrl_SetCurFocus(GetDlgItem(window, IDC_PANE_FRAME), 1);
    ExpectPaneInsideFrame(window, "Initiate");
    EXPECT_TRUE(guitest::SaveScreenshot(window, "GuiAcquireJobsDialog.initiate.en.png", &error))
        << error;
    DisableAndClose();
    EXPECT_EQ(0, app->CountForeignVisibleWindows());
}

// An application that takes the pages as BMP files gets each page once over the network too.
TEST_F(AcquireEndToEndTest, FileTransfersOfAStoredJobFetchEachPageOnce) {
    ASSERT_NO_FATAL_FAILURE(Open());
    TW_CAPABILITY mechanism = {ICAP_XFERMECH, TWON_ONEVALUE,
                               GlobalAlloc(GHND, sizeof(TW_ONEVALUE))};
    auto* const value = static_cast<TW_ONEVALUE*>(GlobalLock(mechanism.hContainer));
    value->ItemType = TWTY_UINT16;
    value->Item = TWSX_FILE;
    GlobalUnlock(mechanism.hContainer);
    EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app->Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &mechanism));
    GlobalFree(mechanism.hContainer);
    ASSERT_EQ(TWRC_SUCCESS, Enable(true));
    const HWND window = guitest::OwnedWindow(app->Window(), "Nimbrel 5");
    ASSERT_NE(nullptr, window);

    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    OrvexSim_ClearLog();
    ASSERT_TRUE(AcquireStoredJob(window, kMailboxA, kJobA));
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string path = std::string(folder) + "nimbrel-e2e-page" + std::to_string(page) +
                                 "-" + std::to_string(GetCurrentProcessId()) + ".bmp";
        TW_SETUPFILEXFER setup = {};
        std::strncpy(setup.FileName, path.c_str(), sizeof(setup.FileName) - 1);
        setup.Format = TWFF_BMP;
        EXPECT_TWAIN(*app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app->Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
        EXPECT_TWAIN(*app, TWRC_XFERDONE, TWCC_SUCCESS,
                     app->Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
        std::ifstream in(path, std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        in.close();
        DeleteFileA(path.c_str());
        ASSERT_GT(file.size(), sizeof(BITMAPFILEHEADER));
        const Bitmap bitmap = ReadBitmap(reinterpret_cast<const unsigned char*>(file.data()) +
                                         sizeof(BITMAPFILEHEADER));
        EXPECT_EQ(320, bitmap.header.biWidth);
        EXPECT_EQ(240, std::abs(bitmap.header.biHeight));
        EXPECT_EQ(2 - page, EndXfer());
    }
    ExpectNoTransfer();
    ExpectEachPageFetchedOnce(kJobIdA, 2);
    DisableAndClose();
}

TEST_F(AcquireEndToEndTest, AScanStartedOnTheInitiatePaneDeliversItsPages) {
    // An error the window reports (a refused scan) is acknowledged, and counted.
    // The user acknowledges every error the window reports.
    const guitest::BoxReader errors(IDC_MODAL_ERROR_TEXT);
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));

    // The copier scans the new job page by page and reports its end; the window hands its
    // pages over.
    TabCtrl_SetCurFocus(GetDlgItem(window, IDC_PANE_FRAME), 1);
    guitest::ClickButton(window, IDOK);
    ASSERT_TRUE(app->PumpUntil([&] { return CountNotices(MSG_XFERREADY) > 0; }, 15000));
    EXPECT_EQ(0, TakeEveryPageNatively());
    ExpectNoTransfer();
    EXPECT_EQ(1, CountNotices(MSG_XFERREADY));
    EXPECT_EQ(0, errors.Answered());

    DisableAndClose();
}

TEST_F(AcquireEndToEndTest, AServerGoingDownShowsItsErrorThenAsksToClose) {
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));

    std::string shown;
    guitest::WindowAnswerer user(
        [](HWND candidate) { return guitest::HasControls(candidate, {IDC_MODAL_ERROR_TEXT}); },
        [&](HWND error) {
            shown = guitest::ControlText(error, IDC_MODAL_ERROR_TEXT);
            guitest::ClickButton(error, IDOK);
        });
    OrvexSim_SetServerDown("default", 1);
    EXPECT_TRUE(ReceiveOnce(MSG_CLOSEDSREQ, 0));
    EXPECT_EQ(1, user.Answered());
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(0, CountNotices(MSG_XFERREADY));

    DisableAndClose();
}
