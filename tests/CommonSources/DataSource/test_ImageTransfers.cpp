// The image transfers and their set-up through DS_Entry, inside this program, against the
// simulated servers: a stored two-page job handed over by native and memory transfer, file
// transfers in BMP and TIFF, pending transfers, the set-up triplets, the rows of every depth
// in awkward widths, and the answers to calls out of place.

#include "TransferFixture.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace {

constexpr TW_UINT32 kMinBuffer = 32768;
constexpr TW_UINT32 kMaxBuffer = 1048576;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A folder of its own for the files a test writes, removed with what it holds.
class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "nimbrel-xfer-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAA found;
        const HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(m_path.c_str());
    }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

TW_SETUPFILEXFER FileSetup(TW_UINT16 format, const std::string& name) {
    TW_SETUPFILEXFER setup = {};
    std::strncpy(setup.FileName, name.c_str(), sizeof(setup.FileName) - 1);
    setup.Format = format;
    return setup;
}

class ImageTransferTest : public TransferFixture {};

} // namespace

// The main road: job 101 of this machine's server holds two colour pages of 320 x 240 at 100
// dpi. Page 1 comes as a bitmap, page 2 in strips of the smallest buffer, each the server's
// pixels; MSG_ENDXFER counts the pages down to state 5.
TEST_F(ImageTransferTest, AStoredJobIsHandedOverByNativeThenMemoryTransfer) {
    OpenOn("");
    TW_SETUPMEMXFER setup = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup));
    EXPECT_EQ(kMinBuffer, setup.MinBufSize);
    EXPECT_EQ(kMaxBuffer, setup.MaxBufSize);
    EXPECT_EQ(kMaxBuffer, setup.Preferred);

    ASSERT_NE(nullptr, Announce(101));
    TW_PENDINGXFERS pending = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending));
    EXPECT_EQ(2, pending.Count);

    HGLOBAL handle = nullptr;
    EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS, Native(handle));
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(7, State());
    const Bitmap bitmap = ReadBitmap(handle);
    GlobalFree(handle);
    EXPECT_EQ(320, bitmap.header.biWidth);
    EXPECT_EQ(240, std::abs(bitmap.header.biHeight));
    EXPECT_EQ(24, bitmap.header.biBitCount);
    const std::string page1 = ServerRows(Wrapper(), 101, 1, 24, 320, 240);
    ASSERT_EQ(320u * 3 * 240, page1.size());
    EXPECT_TRUE(SwapRedBlue(page1, 24) == bitmap.rows) << "page 1's pixels";

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(1, pending.Count);
    EXPECT_EQ(1u, pending.Reserved);
    EXPECT_EQ(6, State());

    const MemoryPage page = MemoryTransfer(kMinBuffer);
    ASSERT_FALSE(page.strips.empty());
    EXPECT_EQ(TWRC_XFERDONE, page.answers.back());
    const TW_UINT32 rowsPerStrip = kMinBuffer / 960;
    TW_UINT32 row = 0;
    for (size_t i = 0; i < page.strips.size(); ++i) {
        const TW_IMAGEMEMXFER& strip = page.strips[i];
        SCOPED_TRACE("strip " + std::to_string(i));
        EXPECT_EQ(i + 1 < page.strips.size() ? TWRC_SUCCESS : TWRC_XFERDONE, page.answers[i]);
        EXPECT_EQ(TWCP_NONE, strip.Compression);
        EXPECT_EQ(960u, strip.BytesPerRow);
        EXPECT_EQ(320u, strip.Columns);
        EXPECT_EQ(0u, strip.XOffset);
        EXPECT_EQ(row, strip.YOffset);
        EXPECT_EQ(std::min(rowsPerStrip, 240 - row), strip.Rows);
        EXPECT_EQ(strip.Rows * 960, strip.BytesWritten);
        row += strip.Rows;
    }
    EXPECT_EQ(240u, row);
    EXPECT_TRUE(ServerRows(Wrapper(), 101, 2, 24, 320, 240) == page.bytes) << "page 2's pixels";
    EXPECT_EQ(7, State());

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(0, pending.Count);
    EXPECT_EQ(0u, pending.Reserved);
    EXPECT_EQ(5, State());

    // Nothing is pending any more: no strip comes, and none of the record is touched.
    std::vector<char> buffer(kMinBuffer);
    TW_IMAGEMEMXFER strip;
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SEQERROR, Strip(strip, buffer.data(), kMinBuffer));
    EXPECT_EQ(0u, strip.BytesWritten);
    EXPECT_EQ(0u, strip.Rows);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SEQERROR, Native(handle));
    EXPECT_EQ(nullptr, handle);
    EXPECT_EQ(5, State());
    source->SetState(4);
}

// MSG_ENDXFER in state 6 drops the page the application was told of, unread: the next one is
// the job's next page, and dropping the last ends the job.
TEST_F(ImageTransferTest, EndingATransferBeforeItStartsDropsThePage) {
    OpenOn("");
    ASSERT_NE(nullptr, Announce(101));
    TW_PENDINGXFERS pending = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(1, pending.Count);
    EXPECT_EQ(6, State());
    HGLOBAL handle = nullptr;
    EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS, Native(handle));
    ASSERT_NE(nullptr, handle);
    const Bitmap bitmap = ReadBitmap(handle);
    GlobalFree(handle);
    EXPECT_TRUE(SwapRedBlue(ServerRows(Wrapper(), 101, 2, 24, 320, 240), 24) == bitmap.rows)
        << "page 2's pixels";
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(0, pending.Count);
    EXPECT_EQ(5, State());

    ASSERT_NE(nullptr, Announce(101, 2));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(0, pending.Count);
    EXPECT_EQ(0u, pending.Reserved);
    EXPECT_EQ(5, State());
    source->SetState(4);
}

// A file transfer without a name of the application's writes the current format's default
// name (BMP first); DAT_SETUPFILEXFER then names a TIFF, which is the server's page as it
// holds it. Each file transfer makes MSG_GET report the default name again.
TEST_F(ImageTransferTest, FileTransfersWriteBmpThenTiffAfterTheSetUp) {
    OpenOn("");
    const TempFolder folder;
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    ASSERT_NE(nullptr, Announce(101, 1));

    EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS,
                 app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(TWSX_FILE, CurrentValue(app, ICAP_XFERMECH)) << "the transfer's mechanism";
    const std::string bmp = ReadFile(folder / "image.bmp");
    ASSERT_GT(bmp.size(), sizeof(BITMAPFILEHEADER));
    EXPECT_EQ("BM", bmp.substr(0, 2));
    const Bitmap bitmap =
        ReadBitmap(reinterpret_cast<const unsigned char*>(bmp.data()) + sizeof(BITMAPFILEHEADER));
    EXPECT_TRUE(SwapRedBlue(ServerRows(Wrapper(), 101, 1, 24, 320, 240), 24) == bitmap.rows);

    TW_PENDINGXFERS pending;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(0, pending.Count);

    ASSERT_NE(nullptr, Announce(101, 2));
    TW_SETUPFILEXFER setup = FileSetup(TWFF_TIFF, folder / "page2.tif");
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
    TW_SETUPFILEXFER read = {};
    ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &read));
    EXPECT_EQ(folder / "page2.tif", read.FileName);
    EXPECT_EQ(TWFF_TIFF, read.Format);

    EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS,
                 app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
    const std::string tiff = ReadFile(folder / "page2.tif");
    EXPECT_FALSE(tiff.empty());
    EXPECT_TRUE(ServerFile(Wrapper(), 101, 2, "TIFF") == tiff) << "the server's TIFF page";
    ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &read));
    EXPECT_STREQ("image.tif", read.FileName) << "the default again";
    EXPECT_EQ(folder / "page2.tif", source->GetTransferFileName()) << "the stored name stays";

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(0, pending.Count);
    EXPECT_EQ(5, State());
    source->SetState(4);
}

// The default name of each format the source writes, and what MSG_RESET brings back.
TEST_F(ImageTransferTest, TheFileSetUpNamesFilesByFormatAndResetsToBmp) {
    OpenOn("");
    const struct {
        TW_UINT16 format;
        const char* name;
    } kDefaults[] = {
        {TWFF_BMP, "image.bmp"}, {TWFF_TIFF, "image.tif"}, {TWFF_TIFFMULTI, "image.tif"}};
    for (const auto& row : kDefaults) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_IMAGEFILEFORMAT, row.format));
        TW_SETUPFILEXFER setup = {};
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup));
        EXPECT_STREQ(row.name, setup.FileName);
        EXPECT_EQ(row.format, setup.Format);
        EXPECT_EQ(row.name, source->GetDefaultTransferFileName());
    }

    // A format the source does not write is refused, and the name with it.
    TW_SETUPFILEXFER setup = FileSetup(TWFF_PNG, "C:\\scans\\refused.png");
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
    EXPECT_FALSE(source->IsFileNameGiven());

    // A name that fills the field without its terminator is cut to 255 characters.
    setup = FileSetup(TWFF_TIFF, "");
    std::memset(setup.FileName, 'n', sizeof(setup.FileName));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
    EXPECT_EQ(std::string(255, 'n'), source->GetTransferFileName());

    TW_SETUPFILEXFER answer = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET, &answer));
    EXPECT_STREQ("image.bmp", answer.FileName);
    EXPECT_EQ(TWFF_BMP, answer.Format);
    EXPECT_EQ(TWFF_BMP, CurrentValue(app, ICAP_IMAGEFILEFORMAT));
    EXPECT_EQ("image.bmp", source->GetTransferFileName());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, &answer));
    EXPECT_STREQ("image.bmp", answer.FileName);
}

// DAT_PENDINGXFERS before the source is enabled counts what the attached job would deliver;
// MSG_RESET drops the job and leaves a source that is not enabled where it is.
TEST_F(ImageTransferTest, PendingTransfersBeforeEnablingAndAfterAReset) {
    OpenOn("");
    Scanner* const scanner = source->GetScanner();
    ASSERT_TRUE(scanner->RefreshJobs());
    zylImageFile* const job = scanner->FindImageFileByJobID(103); // three pages
    ASSERT_NE(nullptr, job);
    job->BeginTransfer();
    scanner->GetScanCommand()->AttachImageFile(job);

    const auto count = [&] {
        TW_PENDINGXFERS pending = {0xAAAA, 0xAAAAAAAA};
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending));
        EXPECT_EQ(pending.Count != 0 ? 1u : 0u, pending.Reserved);
        return static_cast<TW_INT16>(pending.Count);
    };
    EXPECT_EQ(3, count());
    CapAnswer answer;
    ASSERT_EQ(TWRC_SUCCESS,
              CallCapability(app, CAP_XFERCOUNT, MSG_SET, OneValue(TWTY_INT16, 2), answer));
    EXPECT_EQ(2, count()) << "no more than the application wants";
    ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_XFERMECH, TWSX_FILE));
    EXPECT_EQ(3, count()) << "files: every page";
    ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_IMAGEFILEFORMAT, TWFF_TIFFMULTI));
    EXPECT_EQ(1, count()) << "one file holds them all";
    source->GetSourceState().pageCountUnknown = true;
    EXPECT_EQ(-1, count());
    source->GetSourceState().pageCountUnknown = false;

    TW_PENDINGXFERS pending = {0xAAAA, 0xAAAAAAAA};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending));
    EXPECT_EQ(0, pending.Count);
    EXPECT_EQ(4, State());
    EXPECT_EQ(0, count()) << "the job is gone";

    // In state 6 the reset ends the acquisition's transfers: state 5, nothing pending.
    ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_XFERMECH, TWSX_NATIVE));
    ASSERT_NE(nullptr, Announce(103));
    EXPECT_EQ(3, count());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending));
    EXPECT_EQ(5, State());
    EXPECT_EQ(0, source->GetPendingTransferCount());
    HGLOBAL handle = nullptr;
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SEQERROR, Native(handle));
    source->SetState(4);
}

// Calls out of place or with records the source cannot use: each answer with its condition
// code, and the state it leaves. "page" runs with a page announced (state 6), "none" in state
// 5 with nothing pending, "done" after a page was handed over natively (state 7).
TEST_F(ImageTransferTest, MisplacedAndMalformedCallsAreRefused) {
    OpenOn("");
    std::vector<char> buffer(kMaxBuffer + 1);
    TW_IMAGEMEMXFER strip;
    TW_PENDINGXFERS pending;
    HGLOBAL handle = nullptr;
    const HGLOBAL small = GlobalAlloc(GMEM_MOVEABLE, kMinBuffer - 1);
    ASSERT_NE(nullptr, small);
    struct Case {
        const char* name;
        const char* setup;
        std::function<TW_UINT16()> call;
        TW_UINT16 rc;
        TW_UINT16 cc;
        TW_UINT16 state;
    };
    const Case cases[] = {
        {"native without a record", "page",
         [&] { return app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 6},
        {"native without a page", "none", [&] { return Native(handle); }, TWRC_FAILURE,
         TWCC_SEQERROR, 5},
        {"native twice before MSG_ENDXFER", "done", [&] { return Native(handle); }, TWRC_FAILURE,
         TWCC_SEQERROR, 7},
        {"file without a page", "none",
         [&] { return app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr); }, TWRC_FAILURE,
         TWCC_SEQERROR, 5},
        {"file after a native page", "done",
         [&] { return app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr); }, TWRC_FAILURE,
         TWCC_SEQERROR, 7},
        {"memory without a record", "page",
         [&] { return app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 6},
        {"memory buffer a byte too small", "page",
         [&] { return Strip(strip, buffer.data(), kMinBuffer - 1); }, TWRC_FAILURE, TWCC_BADVALUE,
         6},
        {"memory buffer a byte too large", "page",
         [&] { return Strip(strip, buffer.data(), kMaxBuffer + 1); }, TWRC_FAILURE, TWCC_BADVALUE,
         6},
        {"memory handle a byte smaller than its length", "page",
         [&] { return Strip(strip, small, kMinBuffer, TWMF_APPOWNS | TWMF_HANDLE); }, TWRC_FAILURE,
         TWCC_BADVALUE, 6},
        {"memory buffer neither pointer nor handle", "page",
         [&] { return Strip(strip, buffer.data(), kMinBuffer, TWMF_APPOWNS); }, TWRC_FAILURE,
         TWCC_BADVALUE, 6},
        {"memory without a page", "none", [&] { return Strip(strip, buffer.data(), kMinBuffer); },
         TWRC_FAILURE, TWCC_SEQERROR, 5},
        {"memory after a native page", "done",
         [&] { return Strip(strip, buffer.data(), kMinBuffer); }, TWRC_FAILURE, TWCC_SEQERROR, 7},
        {"memory, largest buffer: the whole page", "page",
         [&] { return Strip(strip, buffer.data(), kMaxBuffer); }, TWRC_XFERDONE, TWCC_SUCCESS, 7},
        {"MSG_ENDXFER without a record", "done",
         [&] { return app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 7},
        {"MSG_ENDXFER before a transfer drops the page", "page", [&] { return EndXfer(pending); },
         TWRC_SUCCESS, TWCC_SUCCESS, 6},
        {"MSG_ENDXFER while enabled", "none", [&] { return EndXfer(pending); }, TWRC_FAILURE,
         TWCC_SEQERROR, 5},
        {"MSG_RESET within a page", "done",
         [&] { return app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending); }, TWRC_FAILURE,
         TWCC_SEQERROR, 7},
        {"MSG_GET of pending without a record", "page",
         [&] { return app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 6},
        {"MSG_RESET of pending without a record", "page",
         [&] { return app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 6},
        {"memory set-up without a record", "none",
         [&] { return app.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 5},
        {"file set-up without a record", "none",
         [&] { return app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, nullptr); }, TWRC_FAILURE,
         TWCC_BADVALUE, 5},
        {"a message the memory set-up does not serve", "none",
         [&] { return app.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_SET, &strip); }, TWRC_FAILURE,
         TWCC_SUCCESS, 5},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const std::string setup = row.setup;
        if (setup == "none") {
            source->GetScanner()->GetScanCommand()->Reset();
            source->SetState(5);
        } else {
            ASSERT_NE(nullptr, Announce(101));
            if (setup == "done") {
                ASSERT_EQ(TWRC_XFERDONE, Native(handle));
                GlobalFree(handle);
            }
        }
        handle = nullptr;
        EXPECT_TWAIN(app, row.rc, row.cc, row.call());
        EXPECT_EQ(row.state, State());
        if (handle != nullptr) {
            GlobalFree(handle);
        }
    }
    GlobalFree(small);
    source->SetState(4);

    // The transfer's mechanism is taken before anything is checked.
    ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_XFERMECH, TWSX_FILE));
    source->SetState(6);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, nullptr));
    source->SetState(4);
    EXPECT_EQ(TWSX_NATIVE, CurrentValue(app, ICAP_XFERMECH));
}

// A memory buffer the application gives as a handle is locked for the strip and stays the
// application's; stopping during a page cancels it and clears the stop.
TEST_F(ImageTransferTest, HandleBuffersStayTheApplicationsAndAStopCancelsThePage) {
    OpenOn("");
    ASSERT_NE(nullptr, Announce(101));
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, kMinBuffer);
    ASSERT_NE(nullptr, block);
    TW_IMAGEMEMXFER strip;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 Strip(strip, block, kMinBuffer, TWMF_APPOWNS | TWMF_HANDLE));
    EXPECT_EQ(strip.Rows * 960, strip.BytesWritten);
    EXPECT_EQ(kMinBuffer, GlobalSize(block)) << "still allocated";
    EXPECT_EQ(0u, GlobalFlags(block) & GMEM_LOCKCOUNT) << "unlocked again";
    const std::string rows = ServerRows(Wrapper(), 101, 1, 24, 320, 240);
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(0, std::memcmp(rows.data(), bytes, strip.BytesWritten));
    GlobalUnlock(block);

    ui->RequestClose();
    EXPECT_TWAIN(app, TWRC_CANCEL, TWCC_SUCCESS,
                 Strip(strip, block, kMinBuffer, TWMF_APPOWNS | TWMF_HANDLE));
    GlobalFree(block);
    EXPECT_FALSE(ui->IsCloseRequested()) << "the stop is used up";
    EXPECT_EQ(7, State());
    TW_PENDINGXFERS pending;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
    EXPECT_EQ(0, pending.Count) << "a cancelled page ends the job";
    EXPECT_EQ(5, State());

    ASSERT_NE(nullptr, Announce(101));
    ui->RequestClose();
    HGLOBAL handle = nullptr;
    EXPECT_TWAIN(app, TWRC_CANCEL, TWCC_SUCCESS, Native(handle));
    EXPECT_EQ(nullptr, handle) << "no bitmap for a stopped page";
    EXPECT_FALSE(ui->IsCloseRequested());
    EXPECT_EQ(7, State());
    source->SetState(4);
}

// A server that goes away during a page: the application learns it with
// TWCC_CHECKDEVICEONLINE, and the source stays where the transfer found it.
TEST_F(ImageTransferTest, AServerLostDuringAPageLeavesTheStateAlone) {
    OpenOn("");
    ASSERT_NE(nullptr, Announce(101));
    OrvexSim_SetServerDown("default", 1);
    HGLOBAL handle = nullptr;
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CHECKDEVICEONLINE, Native(handle));
    EXPECT_EQ(nullptr, handle);
    EXPECT_EQ(6, State());
    OrvexSim_SetServerDown("default", 0);
    source->SetState(4);
}

TEST_F(ImageTransferTest, AServerLostBetweenStripsLeavesTheStateAlone) {
    OpenOn("");
    ASSERT_NE(nullptr, Announce(101));
    std::vector<char> buffer(kMinBuffer);
    TW_IMAGEMEMXFER strip;
    ASSERT_EQ(TWRC_SUCCESS, Strip(strip, buffer.data(), kMinBuffer));
    OrvexSim_SetServerDown("default", 1);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CHECKDEVICEONLINE,
                 Strip(strip, buffer.data(), kMinBuffer));
    EXPECT_EQ(7, State()) << "within the page";
    OrvexSim_SetServerDown("default", 0);
    source->SetState(4);
}

// Memory strips and bitmaps of every depth in widths 1, 7, 8, 9 and 2551 (one job each on the
// "stripwidths" server): strips of whole rows without padding, the server's rows with 1-bit
// pixels turned to 0 = black, and bitmaps whose rows are padded to four bytes.
TEST_F(ImageTransferTest, RowsOfEveryDepthAndAwkwardWidth) {
    OpenOn("stripwidths");
    const int kWidths[] = {1, 7, 8, 9, 2551};
    const struct {
        int jobBase;
        int bits;
        TW_UINT16 pixelType;
    } kDepths[] = {{710, 24, TWPT_RGB}, {720, 8, TWPT_GRAY}, {730, 1, TWPT_BW}};
    for (const auto& depth : kDepths) {
        for (int i = 0; i < 5; ++i) {
            const int width = kWidths[i];
            const int jobId = depth.jobBase + i + 1;
            SCOPED_TRACE("job " + std::to_string(jobId) + ", " + std::to_string(depth.bits) +
                         " bits, " + std::to_string(width) + " wide");
            const TW_UINT32 rowBytes = static_cast<TW_UINT32>((depth.bits * width + 7) / 8);
            const std::string server = ServerRows(Wrapper(), jobId, 1, depth.bits, width, 30);
            ASSERT_EQ(rowBytes * 30, server.size());
            const std::string expected = depth.bits == 1 ? Inverted(server) : server;

            ASSERT_NE(nullptr, Announce(jobId));
            EXPECT_EQ(depth.pixelType, CurrentValue(app, ICAP_PIXELTYPE));
            const MemoryPage page = MemoryTransfer(kMinBuffer);
            ASSERT_EQ(TWRC_XFERDONE, page.answers.back());
            const TW_UINT32 rowsPerStrip = std::min<TW_UINT32>(30, kMinBuffer / rowBytes);
            TW_UINT32 row = 0;
            for (const TW_IMAGEMEMXFER& strip : page.strips) {
                EXPECT_EQ(rowBytes, strip.BytesPerRow);
                EXPECT_EQ(static_cast<TW_UINT32>(width), strip.Columns);
                EXPECT_EQ(row, strip.YOffset);
                EXPECT_EQ(std::min(rowsPerStrip, 30 - row), strip.Rows);
                EXPECT_EQ(strip.Rows * rowBytes, strip.BytesWritten);
                row += strip.Rows;
            }
            EXPECT_EQ(30u, row);
            EXPECT_TRUE(expected == page.bytes) << "the strips' rows";
            TW_PENDINGXFERS pending;
            ASSERT_EQ(TWRC_SUCCESS, EndXfer(pending));
            EXPECT_EQ(5, State());

            ASSERT_NE(nullptr, Announce(jobId));
            HGLOBAL handle = nullptr;
            ASSERT_EQ(TWRC_XFERDONE, Native(handle));
            const Bitmap bitmap = ReadBitmap(handle);
            const SIZE_T size = GlobalSize(handle);
            GlobalFree(handle);
            EXPECT_EQ(width, bitmap.header.biWidth);
            EXPECT_EQ(depth.bits, bitmap.header.biBitCount);
            EXPECT_EQ(0u, bitmap.stride % 4);
            EXPECT_GE(size, bitmap.header.biSize + bitmap.palette.size() * sizeof(RGBQUAD) +
                                bitmap.stride * 30)
                << "every padded row is in the block";
            EXPECT_TRUE(SwapRedBlue(expected, depth.bits) == bitmap.rows) << "the bitmap's rows";
            if (depth.bits <= 8) {
                ASSERT_FALSE(bitmap.palette.empty());
                EXPECT_EQ(0, bitmap.palette[0].rgbRed) << "0 is black";
                EXPECT_EQ(255, bitmap.palette.back().rgbRed);
            }
            ASSERT_EQ(TWRC_SUCCESS, EndXfer(pending));
        }
    }
    source->SetState(4);
}

// A data call that fails and leaves its size and stale bytes behind, at the first block of the
// page, one in the middle or the last: each transfer fails with its condition code and hands
// over nothing (no bitmap, no bytes in the strip, no file); the page stays pending, and taking
// it again, then the next page, gives the server's pixels.
TEST_F(ImageTransferTest, AFailedDataCallHandsOverNothingAndThePageCanBeTakenAgain) {
    OpenOn("");
    const TempFolder folder;
    const std::string page1 = ServerRows(Wrapper(), 101, 1, 24, 320, 240);
    const std::string page2 = ServerRows(Wrapper(), 101, 2, 24, 320, 240);
    ASSERT_EQ(320u * 3 * 240, page1.size());
    const std::string bmp = folder / "page.bmp";
    const auto fileTransfer = [&] {
        return app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    };
    const struct {
        int block;
        const char* name;
    } kBlocks[] = {{ORVEXSIM_FIRST_BLOCK, "first block"},
                   {ORVEXSIM_MIDDLE_BLOCK, "middle block"},
                   {ORVEXSIM_LAST_BLOCK, "last block"}};
    TW_PENDINGXFERS pending;
    for (const auto& block : kBlocks) {
        SCOPED_TRACE(block.name);
        ASSERT_NE(nullptr, Announce(101));
        OrvexSim_FailDataBlock(block.block, QUORVEL_GENERAL_FAILURE);
        HGLOBAL handle = reinterpret_cast<HGLOBAL>(1);
        EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BUMMER, Native(handle));
        EXPECT_EQ(nullptr, handle);
        EXPECT_EQ(6, State());
        EXPECT_EQ(2, source->GetPendingTransferCount()) << "the page is still pending";
        EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS, Native(handle));
        ASSERT_NE(nullptr, handle);
        EXPECT_TRUE(SwapRedBlue(page1, 24) == ReadBitmap(handle).rows) << "native, again";
        GlobalFree(handle);
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
        EXPECT_EQ(1, pending.Count);
        EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS, Native(handle));
        ASSERT_NE(nullptr, handle);
        EXPECT_TRUE(SwapRedBlue(page2, 24) == ReadBitmap(handle).rows) << "the next page";
        GlobalFree(handle);
        ASSERT_EQ(TWRC_SUCCESS, EndXfer(pending));

        // The failed strip reports no bytes; the next one goes on where it stopped.
        ASSERT_NE(nullptr, Announce(101));
        OrvexSim_FailDataBlock(block.block, QUORVEL_GENERAL_FAILURE);
        std::vector<char> buffer(kMinBuffer);
        std::string bytes;
        int failures = 0;
        for (int i = 0; i < 100; ++i) {
            TW_IMAGEMEMXFER strip;
            const TW_UINT16 rc = Strip(strip, buffer.data(), kMinBuffer);
            if (rc == TWRC_FAILURE) {
                ++failures;
                EXPECT_EQ(TWCC_BUMMER, app.ConditionCode());
                EXPECT_EQ(0u, strip.BytesWritten);
                EXPECT_EQ(0u, strip.Rows);
                EXPECT_EQ(bytes.empty() ? 6 : 7, State()) << "the state the strip found";
                continue;
            }
            ASSERT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) << rc;
            bytes.append(buffer.data(), strip.BytesWritten);
            if (rc == TWRC_XFERDONE) {
                break;
            }
        }
        EXPECT_EQ(1, failures);
        EXPECT_TRUE(page1 == bytes) << "memory: the page's bytes and nothing stale";
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, EndXfer(pending));
        EXPECT_TRUE(page2 == MemoryTransfer(kMinBuffer).bytes) << "the next page";
        ASSERT_EQ(TWRC_SUCCESS, EndXfer(pending));

        // No bitmap file is left by the failure; the next try writes the page.
        ASSERT_NE(nullptr, Announce(101));
        TW_SETUPFILEXFER setup = FileSetup(TWFF_BMP, bmp);
        ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
        OrvexSim_FailDataBlock(block.block, QUORVEL_GENERAL_FAILURE);
        EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BUMMER, fileTransfer());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(bmp.c_str()));
        EXPECT_EQ(2, source->GetPendingTransferCount());
        ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
        EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS, fileTransfer());
        const std::string file = ReadFile(bmp);
        ASSERT_GT(file.size(), sizeof(BITMAPFILEHEADER));
        EXPECT_TRUE(SwapRedBlue(page1, 24) ==
                    ReadBitmap(reinterpret_cast<const unsigned char*>(file.data()) +
                               sizeof(BITMAPFILEHEADER))
                        .rows);
        DeleteFileA(bmp.c_str());
        source->GetScanner()->GetScanCommand()->Reset();
        source->SetState(5);
    }

    // The server's TIFF of a page comes in one block: a failure leaves no part of it.
    const std::string tiff = folder / "page.tif";
    ASSERT_NE(nullptr, Announce(101, 1));
    TW_SETUPFILEXFER setup = FileSetup(TWFF_TIFF, tiff);
    ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
    OrvexSim_FailDataBlock(ORVEXSIM_FIRST_BLOCK, QUORVEL_GENERAL_FAILURE);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BUMMER, fileTransfer());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tiff.c_str()));
    ASSERT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup));
    EXPECT_TWAIN(app, TWRC_XFERDONE, TWCC_SUCCESS, fileTransfer());
    EXPECT_TRUE(ServerFile(Wrapper(), 101, 1, "TIFF") == ReadFile(tiff));
    ASSERT_EQ(TWRC_SUCCESS, EndXfer(pending));
    source->SetState(4);
}
