// An application acquires through Wine's source manager from the built Nimbrel5.ds, as a user
// would: it enables the source with its user interface, picks the stored two-page job on the
// Retrieve pane of the acquire window and presses Acquire; then it takes the pages by native and
// memory transfer. A scan started on the Initiate pane delivers the pages of the job the copier
// reports; a server that goes down shows its error and asks the application to close.

#include "DibRows.h"
#include "GuiAcquireJobsDialog_rc.h"
#include "GuiModalErrorDialog_rc.h"
#include "GuiScanRetrieveDialog_rc.h"
#include "GuiTestSupport.h"
#include "SourceFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The stored job of the default server with two colour pages of 320 x 240, filed under its
// owner's name as the mailbox.
constexpr int kJobId = 101;
constexpr char kJobName[] = "Colour report";
constexpr char kJobMailbox[] = "alice";
constexpr LONG kJobWidth = 320;
constexpr LONG kJobHeight = 240;

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

HWND AcquireWindowOf(HWND owner) {
    return guitest::OwnedWindow(owner, "Nimbrel 5");
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

class AcquireEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        OrvexSim_Reset();
    }
    void TearDown() override {
        OrvexSim_SetServerDown("default", 0);
        OrvexSim_Reset();
        RemoveProductKey();
    }

    TW_UINT16 Enable() {
        TW_USERINTERFACE ui = {TRUE, FALSE, app.Window()};
        return app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    // Opens the source through the manager and enables it with its acquire window.
    void OpenAndEnable(HWND* window) {
        ASSERT_TRUE(app.HasManager());
        ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        ASSERT_EQ(TWRC_SUCCESS, Enable());
        *window = AcquireWindowOf(app.Window());
        ASSERT_NE(nullptr, *window);
    }
    void DisableAndClose() {
        TW_USERINTERFACE ui = {};
        EXPECT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui));
        EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
        EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
    }
    int CountNotices(TW_UINT16 notice) const {
        return static_cast<int>(std::count(app.Notices().begin(), app.Notices().end(), notice));
    }

    // Types the job's mailbox on the Retrieve pane, selects the job's row and presses Acquire;
    // true once the application heard MSG_XFERREADY.
    bool AcquireStoredJob(HWND window) {
        HWND const mailbox = ControlIn(window, IDC_RETRIEVE_MAILBOX_NAME);
        HWND const list = ControlIn(window, IDC_RETRIEVE_JOB_LIST);
        EXPECT_NE(nullptr, mailbox) << "the Retrieve pane's mailbox name";
        EXPECT_NE(nullptr, list) << "the Retrieve pane's job list";
        if (mailbox == nullptr || list == nullptr) {
            return false;
        }
        SetWindowTextA(mailbox, kJobMailbox);
        int row = -1;
        app.PumpUntil(
            [&] {
                LVFINDINFOA find = {};
                find.flags = LVFI_STRING;
                find.psz = kJobName;
                row = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(&find)));
                return row != -1;
            },
            5000);
        EXPECT_NE(-1, row) << kJobName << " is listed";
        if (row == -1) {
            return false;
        }
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        guitest::ClickButton(window, IDOK);
        const int before = CountNotices(MSG_XFERREADY);
        return app.PumpUntil([&] { return CountNotices(MSG_XFERREADY) > before; }, 10000);
    }

    Picture Native() {
        HGLOBAL handle = nullptr;
        EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS,
                     app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle));
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
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup));
        std::vector<char> buffer(std::clamp<TW_UINT32>(
            32 * 1024, setup.MinBufSize, std::max(setup.MinBufSize, setup.MaxBufSize)));
        Picture picture;
        int strips = 0;
        for (;;) {
            TW_IMAGEMEMXFER strip = {};
            strip.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
            strip.Memory.Length = static_cast<TW_UINT32>(buffer.size());
            strip.Memory.TheMem = buffer.data();
            const TW_UINT16 rc = app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
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

    TW_INT16 EndXfer() {
        TW_PENDINGXFERS pending = {0xAAAA, 0};
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
        return static_cast<TW_INT16>(pending.Count);
    }

    // In state 5 there is no transfer to end.
    void ExpectNoTransfer() {
        TW_PENDINGXFERS pending = {};
        EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SEQERROR,
                     app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
    }

    TwainTestApp app;
};

} // namespace

TEST_F(AcquireEndToEndTest, AStoredJobPickedInTheWindowReachesTheApplication) {
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));

    // Page 1 native, page 2 in memory strips.
    OrvexSim_ClearLog();
    ASSERT_TRUE(AcquireStoredJob(window));
    const Picture nativeFirst = Native();
    EXPECT_EQ(kJobWidth, nativeFirst.width);
    EXPECT_EQ(kJobHeight, nativeFirst.height);
    EXPECT_EQ(1, EndXfer()) << "one page left";
    const Picture memorySecond = Memory();
    EXPECT_EQ(0, EndXfer());
    ExpectNoTransfer();
    ExpectEachPageFetchedOnce(kJobId, 2);

    // Again, the other way round: each page is the same by either road.
    OrvexSim_ClearLog();
    ASSERT_TRUE(AcquireStoredJob(window));
    const Picture memoryFirst = Memory();
    EXPECT_EQ(1, EndXfer());
    const Picture nativeSecond = Native();
    EXPECT_EQ(0, EndXfer());
    ExpectNoTransfer();
    ExpectEachPageFetchedOnce(kJobId, 2);

    EXPECT_EQ(kJobWidth, memoryFirst.width);
    EXPECT_EQ(kJobHeight, memoryFirst.height);
    EXPECT_TRUE(nativeFirst.rows == memoryFirst.rows) << "page 1 differs";
    EXPECT_EQ(kJobWidth, memorySecond.width);
    EXPECT_EQ(kJobHeight, memorySecond.height);
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
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
}

// An application that takes the pages as BMP files gets each page once over the network too.
TEST_F(AcquireEndToEndTest, FileTransfersOfAStoredJobFetchEachPageOnce) {
    ASSERT_TRUE(app.HasManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
    TW_CAPABILITY mechanism = {ICAP_XFERMECH, TWON_ONEVALUE,
                               GlobalAlloc(GHND, sizeof(TW_ONEVALUE))};
    auto* const value = static_cast<TW_ONEVALUE*>(GlobalLock(mechanism.hContainer));
    value->ItemType = TWTY_UINT16;
    value->Item = TWSX_FILE;
    GlobalUnlock(mechanism.hContainer);
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &mechanism));
    GlobalFree(mechanism.hContainer);
    ASSERT_EQ(TWRC_SUCCESS, Enable());
    HWND const window = AcquireWindowOf(app.Window());
    ASSERT_NE(nullptr, window);

    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    OrvexSim_ClearLog();
    ASSERT_TRUE(AcquireStoredJob(window));
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string path = std::string(folder) + "nimbrel-e2e-page" + std::to_string(page) +
                                 "-" + std::to_string(GetCurrentProcessId()) + ".bmp";
        TW_SETUPFILEXFER setup = {};
        std::strncpy(setup.FileName, path.c_str(), sizeof(setup.FileName) - 1);
        setup.Format = TWFF_BMP;
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
        EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS,
                     app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
        std::ifstream in(path, std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        in.close();
        DeleteFileA(path.c_str());
        ASSERT_GT(file.size(), sizeof(BITMAPFILEHEADER));
        const Bitmap bitmap = ReadBitmap(reinterpret_cast<const unsigned char*>(file.data()) +
                                         sizeof(BITMAPFILEHEADER));
        EXPECT_EQ(kJobWidth, bitmap.header.biWidth);
        EXPECT_EQ(kJobHeight, std::abs(bitmap.header.biHeight));
        EXPECT_EQ(2 - page, EndXfer());
    }
    ExpectNoTransfer();
    ExpectEachPageFetchedOnce(kJobId, 2);
    DisableAndClose();
}

TEST_F(AcquireEndToEndTest, AScanStartedOnTheInitiatePaneDeliversItsPages) {
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenAndEnable(&window));

    // The copier takes the scan (the simulated server has none of its own) and later reports
    // the job it made, the stored two-page job.
    TabCtrl_SetCurFocus(GetDlgItem(window, IDC_PANE_FRAME), 1);
    OrvexSim_FailNext("SCAN_initiateScan", 0);
    guitest::ClickButton(window, IDOK);
    EXPECT_EQ(1, OrvexSim_DeliverEvent(0, 101, 0));
    ASSERT_TRUE(app.PumpUntil([&] { return CountNotices(MSG_XFERREADY) > 0; }, 10000));
    const Picture first = Native();
    EXPECT_EQ(kJobWidth, first.width);
    EXPECT_EQ(kJobHeight, first.height);
    EXPECT_EQ(1, EndXfer());
    const Picture second = Native();
    EXPECT_EQ(kJobWidth, second.width);
    EXPECT_EQ(0, EndXfer());
    ExpectNoTransfer();

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
    // The source manager would post its own message; the notice comes with the next one.
    PostMessageA(app.Window(), WM_NULL, 0, 0);
    EXPECT_TRUE(app.PumpUntil([&] { return CountNotices(MSG_CLOSEDSREQ) > 0; }, 10000));
    EXPECT_EQ(1, user.Answered());
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(0, CountNotices(MSG_XFERREADY));

    DisableAndClose();
}
