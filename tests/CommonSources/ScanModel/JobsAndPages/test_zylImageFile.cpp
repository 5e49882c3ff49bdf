// The image file of a server job: values read from the job's attributes, page counts out of
// range refused, the page counters and page index, per-page values fetched once from the
// server, and copies; finally the simulated server's own job lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "OrvexSimControl.h"
#include "QuorMemoryAllocator.h"
#include "QuorvelWrapper.h"
#include "ScannerIntf.h"
#include "TW_Fix32.h"
#include "TransferSourceIntf.h"
#include "zylDirectory.h"
#include "zylImageFile.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// A job list entry with its attributes, owned by the test.
class TestJob {
public:
    TestJob(const Pairs& pairs, const char* name = "Job", int32_t id = 7,
            const char* date = "Tue Dec  8 14:15:00 2026")
        : m_pairs(pairs) {
        std::memset(&m_entry, 0, sizeof(m_entry));
        m_entry.jobId = id;
        // The library's fields need no terminator when the text fills them.
        std::memcpy(m_entry.name, name, std::min(std::strlen(name), sizeof(m_entry.name)));
        std::memcpy(m_entry.date, date, std::min(std::strlen(date), sizeof(m_entry.date)));
        m_entry.size = 4321;
        for (auto& pair : m_pairs) {
            m_keys.push_back(&pair.first[0]);
            m_values.push_back(&pair.second[0]);
        }
        m_entry.attributes.keys = m_keys.data();
        m_entry.attributes.values = m_values.data();
        m_entry.attributes.count = static_cast<int32_t>(m_pairs.size());
    }
    ScanJobEntry* Entry() { return &m_entry; }

private:
    Pairs m_pairs;
    std::vector<char*> m_keys;
    std::vector<char*> m_values;
    ScanJobEntry m_entry;
};

// Page descriptions by page, built on the ordinary heap, and the calls that asked for them.
class FakeScanner : public ScannerIntf {
public:
    std::map<int, Pairs> pages;
    std::vector<std::string> calls;

    ScanPageInfo* GetPageInfo(zylImageFile*, int32_t page) override {
        calls.push_back("image " + std::to_string(page));
        return Build(page);
    }
    bool GetJobPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info,
                        bool useStoredMailbox) override {
        calls.push_back("job " + std::to_string(jobId) + " " + std::to_string(page) +
                        (useStoredMailbox ? " stored" : ""));
        *info = Build(page);
        return *info == nullptr;
    }

private:
    ScanPageInfo* Build(int page) {
        const auto found = pages.find(page);
        if (found == pages.end()) {
            return nullptr;
        }
        QuorMemoryAllocator allocator;
        ServerAttributeList* list = nullptr;
        allocator.AllocAttributeList(static_cast<int32_t>(found->second.size()), &list, __FILE__,
                                     __LINE__);
        for (size_t i = 0; i < found->second.size(); ++i) {
            list->keys[i] =
                allocator.DuplicateString(found->second[i].first.c_str(), __FILE__, __LINE__);
            list->values[i] =
                allocator.DuplicateString(found->second[i].second.c_str(), __FILE__, __LINE__);
        }
        return list;
    }
};

class FakeSource : public TransferSourceIntf {
public:
    TW_UINT16 pending = 0;
    FakeSource() { SetCurrent(this); }
    ~FakeSource() override { SetCurrent(nullptr); }
    TW_UINT16 GetPendingTransferCount() override { return pending; }
    TW_UINT32 GetMaxBufferSize() override { return 4096; }
    TW_UINT16 GetPixelFlavorCurrent() const override { return TWPF_VANILLA; }
};

double Dpi(const TW_FIX32& value) {
    return CommonTwain::Fix32ToDouble(value);
}

std::unique_ptr<zylImageFile> Image(TestJob& job, ScannerIntf* scanner = nullptr) {
    return std::make_unique<zylImageFile>(job.Entry(), scanner, nullptr, nullptr);
}

TEST(zylImageFileTest, Resolutions) {
    struct Case {
        Pairs pairs;
        double x;
        double y;
    };
    const Case cases[] = {
        {{}, 600, 600},
        {{{"RESOLUTION", "300"}}, 300, 300},
        {{{"X_RESOLUTION", "200"}}, 200, 200},
        {{{"Y_RESOLUTION", "150"}}, 150, 150},
        {{{"X_RESOLUTION", "200"}, {"Y_RESOLUTION", "100"}, {"RESOLUTION", "300"}}, 200, 100},
        {{{"RESOLUTION", "0"}, {"X_RESOLUTION", "dpi"}}, 600, 600},
        {{{"RESOLUTION", "300"}, {"RESOLUTION", "400"}}, 400, 400},
    };
    for (const Case& c : cases) {
        TestJob job(c.pairs);
        const auto image = Image(job);
        EXPECT_DOUBLE_EQ(c.x, Dpi(image->GetXResolution())) << c.pairs.size();
        EXPECT_DOUBLE_EQ(c.y, Dpi(image->GetYResolution())) << c.pairs.size();
    }
}

TEST(zylImageFileTest, SizeFormatAndCompression) {
    TestJob plain(Pairs{});
    auto image = Image(plain);
    EXPECT_EQ(2304, image->GetImageWidth());
    EXPECT_EQ(3264, image->GetImageLength());
    EXPECT_EQ(TWFF_TIFFMULTI, image->GetFileFormat());
    EXPECT_EQ(0, image->GetCompression()) << "no known compression, though a new image has 5";
    TW_IMAGEINFO info = {};
    image->GetImageInfo(&info);
    EXPECT_EQ(TWCP_GROUP4, info.Compression);
    EXPECT_EQ(2304, info.ImageWidth);

    struct Case {
        const char* format;
        std::uint16_t expected;
    };
    for (const Case& c :
         {Case{"PDF", TWFF_TIFFMULTI}, Case{"JPEG", TWFF_JFIF}, Case{"JFIF", TWFF_JFIF},
          Case{"TIFF", TWFF_TIFFMULTI}, Case{"BMP", TWFF_BMP}, Case{"PNG", TWFF_PNG},
          Case{"jpeg", TWFF_TIFFMULTI}}) {
        TestJob job(Pairs{{"FILE_FORMAT", c.format}});
        EXPECT_EQ(c.expected, Image(job)->GetFileFormat()) << c.format;
    }
    const std::pair<const char*, std::uint16_t> compressions[] = {
        {"GROUP4", TWCP_GROUP4}, {"JPEG", TWCP_JPEG}, {"LZW", 0}};
    for (const auto& compression : compressions) {
        TestJob job(Pairs{{"COMPRESSION", compression.first}});
        EXPECT_EQ(compression.second, Image(job)->GetCompression()) << compression.first;
    }
    TestJob sized(Pairs{{"WIDTH_PIXELS", "100"},
                        {"X_PIXELS", "120"},
                        {"Y_PIXELS", "80"},
                        {"HEIGHT_PIXELS", "tall"}});
    image = Image(sized);
    EXPECT_EQ(120, image->GetImageWidth()) << "a later key overwrites";
    EXPECT_EQ(80, image->GetImageLength()) << "a value that is no number is skipped";
}

TEST(zylImageFileTest, ColourModes) {
    struct Case {
        const char* mode;
        std::uint16_t pixelType;
        std::uint16_t bitsPerPixel;
        std::uint16_t samples;
        std::int16_t bits[3];
    };
    const Case cases[] = {
        {"COLOR", TWPT_RGB, 24, 3, {8, 8, 8}},     {"GREYSCALE", TWPT_GRAY, 8, 1, {8, 0, 0}},
        {"GRAYSCALE", TWPT_GRAY, 8, 1, {8, 0, 0}}, {"BLACK_WHITE", TWPT_BW, 1, 1, {1, 0, 0}},
        {"color", TWPT_BW, 1, 1, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        TestJob job(Pairs{{"COLOR_MODE", c.mode}});
        const auto image = Image(job);
        EXPECT_EQ(c.pixelType, image->GetPixelType()) << c.mode;
        EXPECT_EQ(c.bitsPerPixel, image->GetBitsPerPixel()) << c.mode;
        EXPECT_EQ(c.samples, image->GetSamplesPerPixel()) << c.mode;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.bits[i], image->GetBitsPerSample(i)) << c.mode << " " << i;
        }
        EXPECT_EQ(0, image->GetBitsPerSample(8));
        EXPECT_EQ(0, image->GetBitsPerSample(-1));
    }
}

TEST(zylImageFileTest, PageCountsOutsideTheRangeAreRefused) {
    struct Case {
        const char* value;
        std::int16_t pages;
    };
    const Case cases[] = {{"3", 3},     {"32767", 32767}, {"0", 1}, {"-1", 1},
                          {"32768", 1}, {"40000", 1},     {"x", 1}, {"99999999999", 1}};
    for (const Case& c : cases) {
        TestJob job(Pairs{{"N_PAGES", c.value}});
        const auto image = Image(job);
        EXPECT_EQ(c.pages, image->GetNumPages()) << c.value;
        EXPECT_EQ(static_cast<size_t>(c.pages), image->GetPageWidths().size()) << c.value;
    }
}

TEST(zylImageFileTest, EntryValues) {
    TestJob job(Pairs{{"FILENAME", "scan"},
                      {"FILESIZE", "12 KB"},
                      {"EMFAX_FORMAT", "YES"},
                      {"PAGESIZE_KEY", "FS_MIXED"},
                      {"DEFAULT_FORMAT", "PDF"}},
                "", 103);
    const auto image = Image(job);
    EXPECT_EQ("scan", image->GetName()) << "the file name when the entry has no name";
    EXPECT_EQ(103u, image->GetJobID());
    EXPECT_EQ(4321u, image->GetSize());
    EXPECT_EQ("12 KB", image->GetFileSize());
    EXPECT_TRUE(image->IsEmFaxFormat());
    EXPECT_TRUE(image->HasMixedSizes());
    EXPECT_EQ("PDF", image->GetDefaultFormat());
    EXPECT_EQ(TWFY_IMAGE, image->GetFileType());
    EXPECT_EQ(job.Entry()->attributes.keys, image->GetJobAttributes()->keys);
    const CommonTwain::TwainDateTime time = image->GetModifiedTime();
    EXPECT_EQ(2026, time.GetYear());
    EXPECT_EQ(12, time.GetMonth());
    EXPECT_EQ(8, time.GetDay());
    EXPECT_EQ(14, time.GetHour());
    EXPECT_TRUE(time == image->GetCreateTime());

    // A name that fills the whole field, without a terminator.
    TestJob full({}, "0123456789012345678901234567890123456789");
    EXPECT_EQ("01234567890123456789012345678901", Image(full)->GetName());
    EXPECT_EQ(0u, zylImageFile(nullptr).GetJobID());
}

TEST(zylImageFileTest, PageCounters) {
    TestJob job(Pairs{{"N_PAGES", "5"}});
    auto image = Image(job);
    EXPECT_EQ(0, image->GetNumPagesLeftToXfer()) << "no transfer yet, though pages left is -1";
    image->BeginTransfer();
    EXPECT_EQ(1, image->GetCurrentPage());
    EXPECT_EQ(5, image->GetNumPagesLeftToXfer());
    image->PageTransferred();
    EXPECT_EQ(2, image->GetCurrentPage());
    EXPECT_EQ(4, image->GetNumPagesLeftToXfer());
    EXPECT_TRUE(image->ShouldTransferNextPage());
    image->ResetPageCounters();
    EXPECT_EQ(0, image->GetCurrentPage());
    EXPECT_FALSE(image->ShouldTransferNextPage());

    image->SetStartPage(3);
    image->SetXferCount(1);
    image->BeginTransfer();
    EXPECT_EQ(3, image->GetCurrentPage());
    EXPECT_EQ(1, image->GetNumPagesLeftToXfer());
    image->PageTransferred();
    EXPECT_FALSE(image->ShouldTransferNextPage());
    EXPECT_FALSE(image->HasFlagBit1());
    image->SetFlags(zylImageFile::kFlagBit1);
    EXPECT_TRUE(image->HasFlagBit1());
    EXPECT_EQ(0, image->ResetTransferState());
}

TEST(zylImageFileTest, SetNumPagesMovesPagesLeftAndTheTables) {
    TestJob job(Pairs{{"N_PAGES", "3"}});
    auto image = Image(job);
    image->BeginTransfer();
    image->PageTransferred();
    EXPECT_EQ(2, image->GetNumPagesLeftToXfer());
    image->SetNumPages(5);
    EXPECT_EQ(5, image->GetNumPages());
    EXPECT_EQ(4, image->GetNumPagesLeftToXfer());
    EXPECT_EQ((std::vector<std::uint32_t>{0, 0, 0, 0, 0}), image->GetPageWidths());
    EXPECT_EQ(5u, image->GetPageHeights().size());
    for (std::int16_t refused : {0, -2}) {
        image->SetNumPages(refused);
        EXPECT_EQ(5, image->GetNumPages()) << refused;
        EXPECT_EQ(5u, image->GetPageWidths().size()) << refused;
    }
    image->SetNumPages(2);
    EXPECT_EQ(1, image->GetNumPagesLeftToXfer());
    EXPECT_EQ(2u, image->GetPageWidths().size());
    image->ResizePageTables(4);
    EXPECT_EQ(4u, image->GetPageHeights().size());
}

TEST(zylImageFileTest, PageIndexFollowsThePendingTransfers) {
    FakeSource source;
    TestJob job(Pairs{{"N_PAGES", "5"}});
    auto image = Image(job);
    source.pending = 3;
    EXPECT_EQ(3, image->GetPageIndex(true)) << "5 pages, 3 pending: the third";
    image->SetStartPage(2);
    EXPECT_EQ(2, image->GetPageIndex(true));
    image->SetFlags(6);
    EXPECT_EQ(4, image->GetPageIndex(true)) << "5 + 2 - 3 with flag bit 2";
    EXPECT_EQ(2, image->GetPageIndex(false));
    source.pending = 0;
    image->SetStartPage(-1);
    EXPECT_EQ(6, image->GetPageIndex(false));
}

TEST(zylImageFileTest, MixedPageSizesAreFetchedOnce) {
    FakeSource source;
    FakeScanner scanner;
    scanner.pages[1] = {{"X_PIXELS", "300"}, {"Y_PIXELS", "400"}, {"X_PIXELS", "1"}};
    scanner.pages[2] = {{"COLOR_MODE", "BLACK_WHITE"}, {"Y_PIXELS", "300"}, {"X_PIXELS", "400"}};
    TestJob job(Pairs{{"N_PAGES", "3"},
                      {"PAGESIZE_KEY", "FS_MIXED"},
                      {"WIDTH_PIXELS", "250"},
                      {"HEIGHT_PIXELS", "350"}},
                "Job", 106);
    auto image = Image(job, &scanner);
    source.pending = 3; // page 1
    EXPECT_EQ(300, image->GetImageWidth());
    EXPECT_EQ(400, image->GetImageLength());
    source.pending = 2; // page 2
    EXPECT_EQ(400, image->GetImageWidth());
    EXPECT_EQ(300, image->GetImageLength());
    EXPECT_EQ(400, image->GetImageWidth());
    EXPECT_EQ((std::vector<std::string>{"job 106 1 stored", "job 106 2 stored"}), scanner.calls)
        << "by job id, once a page, and the walk stops with both values";
    source.pending = 1; // page 3: the server knows nothing of it
    EXPECT_EQ(250, image->GetImageWidth()) << "the job's width, never 0";
    EXPECT_EQ(350, image->GetImageLength());
    source.pending = 0; // page 4: beyond the tables
    EXPECT_EQ(250, image->GetImageWidth());

    scanner.calls.clear();
    image->SetFlags(6); // the preview's: asked by image
    image->ResizePageTables(0);
    image->ResizePageTables(3);
    source.pending = 3;
    EXPECT_EQ(300, image->GetImageWidth());
    EXPECT_EQ((std::vector<std::string>{"image 1"}), scanner.calls);

    TestJob even(Pairs{{"N_PAGES", "2"}, {"WIDTH_PIXELS", "250"}});
    scanner.calls.clear();
    EXPECT_EQ(250, Image(even, &scanner)->GetImageWidth());
    EXPECT_TRUE(scanner.calls.empty()) << "without mixed sizes no page is asked";
}

TEST(zylImageFileTest, PageColourValuesWhileATransferRuns) {
    FakeSource source;
    FakeScanner scanner;
    scanner.pages[1] = {{"COLOR_MODE_STR", "2"},
                        {"COLOR_MODE", "8"},
                        {"N_CHANNELS", "3"},
                        {"BITS_PER_PIXEL", "24"}};
    scanner.pages[2] = {{"COLOR_MODE", "GREYSCALE"}, {"BITS_PER_PIXEL", "8"}};
    TestJob job(Pairs{{"N_PAGES", "3"}, {"COLOR_MODE", "BLACK_WHITE"}});
    auto image = Image(job, &scanner);
    source.pending = 3;
    EXPECT_EQ(TWPT_BW, image->GetPixelType()) << "the job's while no transfer runs";
    EXPECT_TRUE(scanner.calls.empty());
    image->BeginTransfer();
    EXPECT_EQ(TWPT_RGB, image->GetPixelType()) << "the first colour key decides";
    EXPECT_EQ(3, image->GetSamplesPerPixel());
    EXPECT_EQ(24, image->GetBitsPerPixel());
    EXPECT_EQ(8, image->GetBitsPerSample(2));
    source.pending = 2;
    EXPECT_EQ(8, image->GetBitsPerPixel());
    EXPECT_EQ(TWPT_GRAY, image->GetPixelType());
    EXPECT_EQ(0xFFFF, image->GetSamplesPerPixel()) << "a value the server did not give";
    EXPECT_EQ((std::vector<std::string>{"image 1", "image 2", "image 2"}), scanner.calls);
    source.pending = 1;
    EXPECT_EQ(0xFFFF, image->GetPixelType()) << "no description of page 3";
    image->SetFlags(6);
    EXPECT_EQ(TWPT_BW, image->GetPixelType()) << "flag bit 2: the job's";
}

TEST(zylImageFileTest, ClonesAreDeepAndUnplaced) {
    FakeScanner scanner;
    TestJob job(Pairs{{"N_PAGES", "2"}, {"COLOR_MODE", "COLOR"}, {"FILESIZE", "9"}});
    zylDirectory folder(nullptr);
    auto* const image = new zylImageFile(job.Entry(), &scanner, nullptr, &folder);
    ASSERT_EQ(1u, folder.GetCount());
    image->SetStartPage(2);
    std::unique_ptr<zylImageFile> copy(image->Clone(&folder));
    EXPECT_EQ(1u, folder.GetCount()) << "a copy is not placed";
    EXPECT_EQ(&folder, copy->GetParent());
    EXPECT_EQ(7u, copy->GetJobID());
    EXPECT_EQ(2, copy->GetStartPage());
    EXPECT_EQ("9", copy->GetFileSize());
    EXPECT_EQ(24, copy->GetBitsPerPixel());
    copy->SetNumPages(4);
    EXPECT_EQ(2, image->GetNumPages());
    EXPECT_EQ(2u, image->GetPageWidths().size());
    EXPECT_EQ(folder.FindImageFileByJobID(7), image);
}

TEST(zylImageFileTest, AnEntryOfItsOwnLivesAsLongAsTheImageOrACopy) {
    FakeScanner scanner;
    auto job = std::make_shared<TestJob>(Pairs{{"N_PAGES", "3"}}, "Queued", 9);
    const std::weak_ptr<TestJob> watched = job;
    auto image = std::make_unique<zylImageFile>(std::shared_ptr<ScanJobEntry>(job, job->Entry()),
                                                &scanner, nullptr, nullptr);
    job.reset();
    std::unique_ptr<zylImageFile> copy(image->Clone(nullptr));
    image.reset();
    EXPECT_FALSE(watched.expired()) << "the copy still reads it";
    EXPECT_EQ(9u, copy->GetJobID());
    EXPECT_EQ(3, copy->GetNumPages());
    copy.reset();
    EXPECT_TRUE(watched.expired());
}

TEST(zylImageFileTest, DumpAttributesWritesTheJobsPairs) {
    const char* const path = "C:\\ScanAttributeToAcquire.txt";
    std::remove(path);
    TestJob job(Pairs{{"N_PAGES", "2"}, {"COLOR_MODE", "COLOR"}});
    Image(job)->DumpAttributes();
    std::FILE* const file = std::fopen(path, "rb");
    ASSERT_NE(nullptr, file);
    char text[128] = {};
    const size_t read = std::fread(text, 1, sizeof(text) - 1, file);
    std::fclose(file);
    std::remove(path);
    const std::string dump(text, read);
    EXPECT_NE(std::string::npos, dump.find("N_PAGES = 2")) << dump;
    EXPECT_NE(std::string::npos, dump.find("COLOR_MODE = COLOR")) << dump;
}

// The simulated servers' job lists, read as the job tree reads them.
class zylImageFileServerTest : public ::testing::Test {
protected:
    void SetUp() override { OrvexSim_Reset(); }
    void TearDown() override {
        if (m_list) {
            m_wrapper->ScanFreeScanJobList(m_list);
        }
        m_wrapper.reset();
        EXPECT_EQ(0, OrvexSim_HeapBlocks());
        OrvexSim_Reset();
    }

    ScanJobEntry* Job(const char* server, int id) {
        m_wrapper.reset(QuorvelWrapper::Create());
        EXPECT_EQ(0, m_wrapper->InitConnectToNonStandardServer(server, "guest", ""));
        EXPECT_EQ(0, m_wrapper->ScanOpenSession());
        EXPECT_EQ(0, m_wrapper->ScanGetJobList(&m_list));
        for (int i = 0; m_list && i < m_list->count; ++i) {
            if (m_list->entries[i].jobId == id) {
                return &m_list->entries[i];
            }
        }
        ADD_FAILURE() << "no job " << id << " on " << server;
        return nullptr;
    }

    std::unique_ptr<QuorvelWrapperIntf> m_wrapper;
    ScanJobList* m_list = nullptr;
};

TEST_F(zylImageFileServerTest, AJobOfTheDefaultServer) {
    ScanJobEntry* const entry = Job("localhost", 103);
    ASSERT_NE(nullptr, entry);
    zylImageFile image(entry, nullptr, m_wrapper.get(), nullptr);
    EXPECT_EQ("Signed contract", image.GetName());
    EXPECT_EQ(3, image.GetNumPages());
    EXPECT_EQ(400, image.GetImageWidth());
    EXPECT_EQ(300, image.GetImageLength());
    EXPECT_DOUBLE_EQ(200.0, Dpi(image.GetXResolution()));
    EXPECT_EQ(TWFF_TIFFMULTI, image.GetFileFormat());
    EXPECT_EQ(TWCP_GROUP4, image.GetCompression());
    EXPECT_EQ(TWPT_BW, image.GetPixelType());
    EXPECT_TRUE(image.IsEmFaxFormat());
    EXPECT_EQ(entry->size, image.GetSize());
}

TEST_F(zylImageFileServerTest, ABadPageCountFromTheServer) {
    ScanJobEntry* const entry = Job("badpages", 302);
    ASSERT_NE(nullptr, entry);
    zylImageFile image(entry, nullptr, m_wrapper.get(), nullptr);
    EXPECT_EQ(1, image.GetNumPages()) << "40000 pages refused";
    EXPECT_EQ(1u, image.GetPageWidths().size());
}

} // namespace
