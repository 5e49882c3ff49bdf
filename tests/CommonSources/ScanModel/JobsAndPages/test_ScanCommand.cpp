// The page-transfer machine against the simulated servers: a job walked page by page through
// downloaded and converted page files that are all gone afterwards, pages without conversion,
// failed downloads, the end of a job and the images the acquire window queues.

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "TempPageFiles.h"
#include "TransferTestSupport.h"

namespace {

// The page files of this process in the folder where the scan command makes them (their names
// hold the process id; other test programs share the folder).
std::set<std::string> PageFilesIn(const std::string& folder) {
    const std::string ours = "_" + std::to_string(GetCurrentProcessId()) + "_";
    std::set<std::string> names;
    for (const char* pattern : {"*.raw", "*.jpg", "*.tif"}) {
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            if (std::string(found.cFileName).find(ours) != std::string::npos) {
                names.insert(found.cFileName);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return names;
}

bool Exists(const CommonCpp::FileSpec& file) {
    return GetFileAttributesA(file.GetPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

using ScanCommandTest = TransferTest;

TEST_F(ScanCommandTest, AThreePageJpegJobWalksThroughPageFilesAndLeavesNoneBehind) {
    Connect("bench"); // job 1: three colour A4 pages
    std::string folder;
    std::uint64_t freeBytes = 0;
    ASSERT_TRUE(GetTempDirectory(folder, freeBytes));
    const std::set<std::string> before = PageFilesIn(folder);

    Attach(1);
    ScanCommand& command = Command();
    command.SetSaveRequest(1);
    command.SelectJpegConversion();
    ASSERT_TRUE(command.StartPage(1));
    std::set<std::string> seen;
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(command.IsPageReady());
        EXPECT_TRUE(m_scanner->IsLocalPageReady());
        EXPECT_EQ(page, command.GetCurrentPage());
        EXPECT_EQ(3 - page + 1, command.GetPagesLeft());
        const CommonCpp::FileSpec converted = command.GetConvertedFile();
        EXPECT_EQ("jpg", converted.GetExtension());
        EXPECT_EQ(folder, converted.GetPath().substr(0, folder.size()));
        EXPECT_FALSE(Exists(command.GetRawFile())) << "the raw page goes once converted";
        char head[2] = {};
        std::int32_t size = sizeof(head);
        command.ReadData(head, &size);
        EXPECT_EQ(2, size);
        EXPECT_EQ('\xFF', head[0]);
        EXPECT_EQ('\xD8', head[1]) << "a JPEG page file";
        EXPECT_EQ(2480, command.GetOutputValue1()) << "the converted page's width";
        EXPECT_EQ(3508, command.GetOutputValue2());
        seen.insert(converted.GetPath());
        command.EndPage();
    }
    for (const std::string& path : seen) {
        EXPECT_FALSE(Exists(CommonCpp::FileSpec(path))) << path;
    }
    EXPECT_FALSE(command.HasImageFile()) << "reset after the last page";
    EXPECT_FALSE(command.IsPageReady());
    EXPECT_EQ(0, command.GetLastPage()) << "flag bit 1 is not set";
    EXPECT_EQ(3, m_ui.CountOf("EndProgress"));
    EXPECT_EQ(3, m_ui.CountOf("StartBusyAnimation"));
    EXPECT_EQ(3, m_ui.CountOf("StopBusyAnimation"));
    EXPECT_EQ(1u, seen.size()) << "one name for the pages of a job";
    EXPECT_EQ(before, PageFilesIn(folder)) << "no page file left behind";
}

TEST_F(ScanCommandTest, WithoutAConversionTheDownloadedPageIsThePageFile) {
    Connect("localhost");
    Attach(105);
    ScanCommand& command = Command();
    command.SetSaveRequest(105);
    ASSERT_TRUE(command.StartPage(1));
    EXPECT_FALSE(command.GetConvertedFile().IsSet());
    const std::string page = FileBytes(command.GetRawFile().GetPath());
    EXPECT_TRUE(
        page ==
        ServerBytes(105, {{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}, {"DEST_FORMAT:1", ""}}));
    std::string read(page.size() + 10, '\0');
    std::int32_t size = static_cast<std::int32_t>(read.size());
    command.ReadData(&read[0], &size);
    EXPECT_EQ(static_cast<std::int32_t>(page.size()), size);
    size = 100;
    command.ReadData(&read[0], &size);
    EXPECT_EQ(0, size) << "after the end nothing is delivered";
    const CommonCpp::FileSpec raw = command.GetRawFile();
    command.Reset();
    EXPECT_FALSE(Exists(raw));
}

// Each prepared page crosses the network once: native and memory transfers at the page's own
// size and depth take its rows from the page file (the server's rows exactly for a lossless
// page, within the re-encoding's error for a JPEG one); another resolution is asked of the
// server.
TEST_F(ScanCommandTest, TransfersTakeTheRowsOfThePreparedPage) {
    Connect("localhost");
    const struct {
        int job;
        int conversion;
        std::int16_t bits;
        std::uint16_t pixelType;
        double dpi;
        int width;
        int height;
        double meanError;
    } kCases[] = {
        {101, ScanCommand::ConvertJpeg, 24, TWPT_RGB, 100, 320, 240, 3.0},
        {103, ScanCommand::ConvertTiff, 1, TWPT_BW, 200, 400, 300, 0.0},
        {102, ScanCommand::ConvertNone, 8, TWPT_GRAY, 150, 200, 150, 0.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE("job " + std::to_string(c.job));
        const std::string server = RawRows(c.job, 1, c.bits, c.width, c.height);
        ASSERT_EQ(static_cast<size_t>((c.bits * c.width + 7) / 8) * c.height, server.size());
        OrvexSim_ClearLog();
        Attach(c.job);
        ScanCommand& command = Command();
        command.SetSaveRequest(c.job);
        if (c.conversion == ScanCommand::ConvertJpeg) {
            command.SelectJpegConversion();
        } else if (c.conversion == ScanCommand::ConvertTiff) {
            command.SelectTiffConversion();
        }
        ASSERT_TRUE(command.StartPage(1));
        EXPECT_EQ(1, OrvexSim_FetchesServed(c.job, 1));
        OrvexSim_ClearLog();

        // Rows as the server sends them: no flavour turns them over.
        m_source.flavor = c.bits == 1 ? TWPF_VANILLA : TWPF_CHOCOLATE;
        std::vector<char> buffer(server.size());
        MemoryTransferResult block;
        command.TransferMemory(MemoryRequest(&m_ui, buffer, c.dpi, c.dpi, c.bits, c.pixelType),
                               block);
        ASSERT_TRUE(block.lastBlock);
        ASSERT_EQ(server.size(), block.bytesWritten);
        command.ResetTransfer();
        HGLOBAL handle = nullptr;
        command.TransferNative(Request(&m_ui, c.dpi, c.dpi, c.bits, c.pixelType), &handle);
        EXPECT_NE(nullptr, handle);
        GlobalFree(handle);
        EXPECT_TRUE(OrvexSimLog().empty()) << "no data call for the prepared page";
        double error = 0;
        for (size_t i = 0; i < server.size(); ++i) {
            error += std::abs(static_cast<unsigned char>(buffer[i]) -
                              static_cast<unsigned char>(server[i]));
        }
        EXPECT_LE(error / static_cast<double>(server.size()), c.meanError);

        command.TransferNative(Request(&m_ui, c.dpi / 2, c.dpi / 2, c.bits, c.pixelType), &handle);
        EXPECT_NE(nullptr, handle);
        GlobalFree(handle);
        EXPECT_FALSE(LogLinesOf("SCAN_getDataEx").empty()) << "half the resolution: the server's";
        m_source.flavor = TWPF_CHOCOLATE;
        command.Reset();
    }
}

// A page is fetched ahead only for a transfer that will read it: not for a TIFF file the
// server makes (the whole job, or a page that is not converted to TIFF), nor for a format no
// transfer writes.
TEST_F(ScanCommandTest, APageIsPreparedOnlyForATransferThatReadsIt) {
    Connect("localhost");
    const struct {
        TW_UINT16 mechanism;
        TW_UINT16 fileFormat;
        std::int16_t startPage;
        bool tiff;
        bool fetched;
    } kCases[] = {
        {TWSX_NATIVE, TWFF_BMP, -1, false, true},     {TWSX_MEMORY, TWFF_TIFF, -1, true, true},
        {TWSX_FILE, TWFF_BMP, -1, false, true},       {TWSX_FILE, TWFF_TIFF, 2, true, true},
        {TWSX_FILE, TWFF_TIFFMULTI, -1, true, false}, {TWSX_FILE, TWFF_TIFF, 2, false, false},
        {TWSX_FILE, TWFF_JFIF, 2, false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.mechanism) + "/" + std::to_string(c.fileFormat) + " from " +
                     std::to_string(c.startPage));
        m_source.mechanism = c.mechanism;
        m_source.fileFormat = c.fileFormat;
        Attach(103, c.startPage);
        ScanCommand& command = Command();
        command.SetSaveRequest(103);
        if (c.tiff) {
            command.SelectTiffConversion();
        } else {
            command.SelectJpegConversion();
        }
        OrvexSim_ClearLog();
        const std::int32_t page = c.startPage == -1 ? 1 : c.startPage;
        EXPECT_TRUE(command.StartPage(page));
        EXPECT_EQ(c.fetched, command.IsPageReady());
        EXPECT_EQ(c.fetched ? 1 : 0, OrvexSim_FetchesServed(103, page));
        EXPECT_EQ(c.fetched ? 1 : 0, m_ui.CountOf("StartBusyAnimation")) << "busy only then";
        m_ui.calls.clear();
        command.Reset();
    }
    m_source.mechanism = TWSX_NATIVE;
    m_source.fileFormat = TWFF_BMP;
}

TEST_F(ScanCommandTest, StartPageWithoutAnImageOrAFailedDownloadIsNotReady) {
    Connect("localhost");
    ScanCommand& command = Command();
    OrvexSim_ClearLog();
    EXPECT_FALSE(command.StartPage(1));
    EXPECT_TRUE(m_ui.calls.empty());
    EXPECT_TRUE(OrvexSimLog().empty());

    Attach(101);
    command.SetSaveRequest(101);
    command.SelectJpegConversion();
    OrvexSim_FailNext("SCAN_getDataEx", QUORVEL_CONNECTION_FAILED);
    EXPECT_FALSE(command.StartPage(1));
    EXPECT_FALSE(command.IsPageReady());
    EXPECT_EQ(1, m_ui.CountOf("ShowErrorMessage 20136"));
    EXPECT_EQ(1, m_ui.CountOf("NotifyCloseRequest"));
    EXPECT_EQ("StopBusyAnimation", m_ui.calls.back()) << "the animation ends with the attempt";
    command.Reset();
}

TEST_F(ScanCommandTest, TheLastPageIsKeptOnlyWithFlagBit1) {
    Connect("localhost");
    for (const std::uint32_t flags : {1u, 1u | zylImageFile::kFlagBit1}) {
        zylImageFile* const image = m_scanner->FindImageFileByJobID(103);
        ASSERT_NE(nullptr, image);
        image->SetFlags(flags);
        Attach(103, 2, 1);
        ScanCommand& command = Command();
        command.SetSaveRequest(103);
        command.SelectTiffConversion();
        ASSERT_TRUE(command.StartPage(2));
        command.EndPage();
        EXPECT_FALSE(command.HasImageFile());
        EXPECT_EQ(flags & zylImageFile::kFlagBit1 ? 2 : 0, command.GetLastPage());
    }
}

TEST_F(ScanCommandTest, AResetDropsTheAcquiredQueuedImageAndAnnouncesTheNext) {
    Connect("localhost");
    ScanCommand& command = Command();
    zylImageFile* const source = m_scanner->FindImageFileByJobID(101);
    for (const std::int16_t start : {1, 2}) {
        zylImageFile* const queued = source->Clone(nullptr);
        queued->SetStartPage(start);
        command.PushPending(queued);
    }
    command.AttachImageFile(source);
    command.Reset();
    EXPECT_EQ(1, m_ui.CountOf("PostToCurrentWindow 2"));
    EXPECT_FALSE(command.HasImageFile());

    command.AttachImageFile(source);
    command.Reset();
    EXPECT_EQ(1, m_ui.CountOf("PostToCurrentWindow 2")) << "nothing more queued to announce";
}

TEST_F(ScanCommandTest, ItsImageOutlivesAReloadOfTheTree) {
    Connect("localhost");
    Attach(104);
    ASSERT_TRUE(m_scanner->RefreshJobs());
    // The copy's mailbox and job entry are still there to read.
    zylImageFile* const image = Command().GetImageFile();
    EXPECT_EQ(104u, image->GetJobID());
    EXPECT_EQ("007", image->GetParent()->GetName());
    HGLOBAL handle = nullptr;
    Command().TransferNative(Request(&m_ui, 100, 100, 24, TWPT_RGB), &handle);
    EXPECT_NE(nullptr, handle);
    GlobalFree(handle);
    Command().Reset();
    ASSERT_TRUE(m_scanner->RefreshJobs());
}

} // namespace
