// Page data of stored jobs: downloads for the caller in the job's own format or converted
// (TIFF of several pages, JPEG, PDF), raw pixel rows for block reads, mailbox access, sending
// to destinations (recorded in the log), servers whose data stop, and malformed requests.

#include "SimJobsTestSupport.h"

#include "WicCodec.h"
#include "WicImage.h"

namespace {

class SimPageDataTest : public SimTest {
protected:
    QuorvelSessionHandle Session(const char* server = "localhost") {
        m_server = Connect(server);
        return OpenScanSession(m_server);
    }

    // The attributes of one job of the session's list, kept for page requests.
    const ServerAttributeList& JobAttributes(QuorvelSessionHandle& session, int job) {
        if (m_list) {
            SCAN_freeScanJobList(m_list, 0);
            m_list = nullptr;
        }
        EXPECT_EQ(QUORVEL_OK, SCAN_getJobList(&session, &m_list, 0));
        for (int i = 0; m_list && i < m_list->count; ++i) {
            if (m_list->entries[i].jobId == job) {
                return m_list->entries[i].attributes;
            }
        }
        ADD_FAILURE() << "no job " << job;
        static const ServerAttributeList none = {};
        return none;
    }

    void TearDown() override {
        if (m_list) {
            SCAN_freeScanJobList(m_list, 0);
        }
        SimTest::TearDown();
    }

    static wicimage::Picture Decoded(const std::string& bytes, int frame = 0) {
        wicimage::Picture picture;
        std::string error;
        EXPECT_TRUE(wicimage::Decode(bytes, frame, picture, error)) << error;
        return picture;
    }

    QuorvelServerHandle m_server = {};
    ScanJobList* m_list = nullptr;
};

TEST_F(SimPageDataTest, CallerGetsThePageFileInBlocks) {
    QuorvelSessionHandle session = Session();
    RequestList request{
        {"DEST:1", "CALLER"}, {"DEST_PAGE:1", "2"}, {"DEST_FORMAT:1", "JPEG"}, {"N_DEST", "1"}};
    int result = 0;
    const std::string data = DownloadAll(session, 101, request.Get(), 1000, result);
    EXPECT_EQ(QUORVEL_OK, result);
    const std::string file = ServerFileBytes("default\\jobs\\101\\page2.jpg");
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(data == file) << data.size() << " bytes against " << file.size();

    // Past the end: success, nothing delivered.
    char buffer[16];
    int32_t size = sizeof(buffer);
    EXPECT_EQ(QUORVEL_OK, SCAN_getDataEx(&session, 101, request.Get(),
                                         static_cast<int32_t>(file.size()), buffer, &size, 0));
    EXPECT_EQ(0, size);
    const std::vector<std::string> lines = LogLinesOf("SCAN_getDataEx");
    EXPECT_TRUE(Contains(lines[0], "job=101 attributes=[\"DEST:1\"=\"CALLER\" "
                                   "\"DEST_PAGE:1\"=\"2\" \"DEST_FORMAT:1\"=\"JPEG\" "
                                   "\"N_DEST\"=\"1\"] offset=0 buffer=set size=1000 -> 0 "
                                   "size=1000 total="))
        << lines[0];
}

TEST_F(SimPageDataTest, CallerGetsConversions) {
    QuorvelSessionHandle session = Session();
    struct Case {
        int job;
        const char* page;
        const char* format;
        wicimage::Container container;
        int frames;
        wicimage::PixelKind kind;
    };
    const Case cases[] = {
        // Whole job (page 0) of three TIFF pages: one file of three pages.
        {103, "0", "TIFF", wicimage::Container::Tiff, 3, wicimage::PixelKind::Bilevel},
        {103, "0", "", wicimage::Container::Tiff, 3, wicimage::PixelKind::Bilevel},
        {101, "2", "TIFF", wicimage::Container::Tiff, 1, wicimage::PixelKind::Colour},
        {103, "1", "JPEG", wicimage::Container::Jpeg, 1, wicimage::PixelKind::Grey},
        {102, "1", "JFIF", wicimage::Container::Jpeg, 1, wicimage::PixelKind::Grey},
        {105, "0", "TIFFMULTI", wicimage::Container::Tiff, 1, wicimage::PixelKind::Grey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.job) + " page " + c.page + " " + c.format);
        RequestList request{
            {"DEST:1", "CALLER"}, {"DEST_PAGE:1", c.page}, {"DEST_FORMAT:1", c.format}};
        int result = 0;
        const std::string data = DownloadAll(session, c.job, request.Get(), 4096, result);
        ASSERT_EQ(QUORVEL_OK, result);
        wicimage::EncodedInfo info;
        std::string error;
        ASSERT_TRUE(wicimage::Probe(data, info, error)) << error;
        EXPECT_EQ(c.container, info.container);
        EXPECT_EQ(c.frames, info.frames);
        EXPECT_EQ(c.kind, info.kind);
    }
    // The three pages of the whole job are the three page files, pixel for pixel.
    RequestList whole{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "0"}, {"DEST_FORMAT:1", "TIFF"}};
    int result = 0;
    const std::string data = DownloadAll(session, 103, whole.Get(), 65536, result);
    for (int page = 1; page <= 3; ++page) {
        const wicimage::Picture expected =
            Decoded(ServerFileBytes("default\\jobs\\103\\page" + std::to_string(page) + ".tif"));
        EXPECT_TRUE(expected.samples == Decoded(data, page - 1).samples) << page;
    }
}

TEST_F(SimPageDataTest, CallerGetsAPdf) {
    QuorvelSessionHandle session = Session();
    RequestList request{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "0"}, {"DEST_FORMAT:1", "PDF"}};
    int result = 0;
    const std::string pdf = DownloadAll(session, 103, request.Get(), 65536, result);
    ASSERT_EQ(QUORVEL_OK, result);
    EXPECT_EQ("%PDF-1.4\n", pdf.substr(0, 9));
    EXPECT_EQ("%%EOF\n", pdf.substr(pdf.size() - 6));
    EXPECT_TRUE(Contains(pdf, "/Count 3"));
    EXPECT_TRUE(Contains(pdf, "/MediaBox [0 0 144.00 108.00]")) << "400 x 300 pixels at 200 dpi";
    const size_t start = pdf.rfind("startxref\n");
    ASSERT_NE(std::string::npos, start);
    const size_t xref = std::stoul(pdf.substr(start + 10));
    EXPECT_EQ("xref\n", pdf.substr(xref, 5));
    // Every object where the cross-reference table says it is.
    const size_t first = pdf.find("0000000000 65535 f \n", xref) + 20;
    for (int object = 1; object <= 11; ++object) {
        const size_t offset = std::stoul(pdf.substr(first + (object - 1) * 20, 10));
        EXPECT_EQ(std::to_string(object) + " 0 obj", pdf.substr(offset, 7 + (object > 9)))
            << object;
    }
}

TEST_F(SimPageDataTest, RequestsTheServerCannotAnswer) {
    QuorvelSessionHandle session = Session();
    struct Case {
        int job;
        const char* page;
        const char* format;
        int result;
    };
    const Case cases[] = {
        {101, "0", "JPEG", QUORVEL_ACTION_NOT_SUPPORTED}, // two pages in one JPEG
        {101, "1", "GIF", QUORVEL_ACTION_NOT_SUPPORTED},
        {101, "3", "JPEG", QUORVEL_ITEM_NOT_FOUND},
        {101, "-2", "JPEG", QUORVEL_ITEM_NOT_FOUND},
        {101, "one", "JPEG", QUORVEL_MALFORMED_ATTRIBUTES},
        {999, "1", "JPEG", QUORVEL_JOB_NOT_FOUND},
    };
    for (const Case& c : cases) {
        RequestList request{
            {"DEST:1", "CALLER"}, {"DEST_PAGE:1", c.page}, {"DEST_FORMAT:1", c.format}};
        char buffer[8];
        int32_t size = sizeof(buffer);
        EXPECT_EQ(c.result, SCAN_getDataEx(&session, c.job, request.Get(), 0, buffer, &size, 0))
            << c.job << " " << c.page << " " << c.format;
        EXPECT_EQ(0, size);
    }
    RequestList request{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}};
    char buffer[8];
    int32_t size = sizeof(buffer);
    EXPECT_EQ(QUORVEL_PARAMETER_MAY_NOT_BE_NULL,
              SCAN_getDataEx(&session, 101, nullptr, 0, buffer, &size, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM,
              SCAN_getDataEx(&session, 101, request.Get(), 0, buffer, nullptr, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM,
              SCAN_getDataEx(&session, 101, request.Get(), -1, buffer, &size, 0));
    size = 8;
    EXPECT_EQ(QUORVEL_BAD_PARAM,
              SCAN_getDataEx(&session, 101, request.Get(), 0, nullptr, &size, 0));
    RequestList badCount{{"N_DEST", "two"}};
    EXPECT_EQ(QUORVEL_MALFORMED_ATTRIBUTES,
              SCAN_getDataEx(&session, 101, badCount.Get(), 0, buffer, &size, 0));
    RequestList missing{{"N_DEST", "2"}, {"DEST:1", "CALLER"}};
    EXPECT_EQ(QUORVEL_MALFORMED_ATTRIBUTES,
              SCAN_getDataEx(&session, 101, missing.Get(), 0, buffer, &size, 0));
    OrvexSim_FailNext("SCAN_getDataEx", QUORVEL_TIMEOUT);
    size = 8;
    EXPECT_EQ(QUORVEL_TIMEOUT, SCAN_getDataEx(&session, 101, request.Get(), 0, buffer, &size, 0));
    EXPECT_EQ(0, size);
}

TEST_F(SimPageDataTest, RawRowsForBlockReads) {
    QuorvelSessionHandle session = Session();
    // As the image file asks: the job's attributes, then the page and its raw form.
    RequestList bilevel(JobAttributes(session, 103), {{"PAGE", "1"},
                                                      {"X_RESOLUTION", "200"},
                                                      {"Y_RESOLUTION", "200.000000"},
                                                      {"BITS_PER_PIXEL", "1"},
                                                      {"PIXEL_TYPE", "BW"},
                                                      {"COMPRESSION", "NONE"},
                                                      {"FILE_FORMAT", "RAW"},
                                                      {"WIDTH_PIXELS", "400"},
                                                      {"HEIGHT_PIXELS", "300"}});
    int result = 0;
    std::string rows = DownloadAll(session, 103, bilevel.Get(), 4096, result);
    ASSERT_EQ(QUORVEL_OK, result);
    ASSERT_EQ(50u * 300u, rows.size());
    // The bar of rows 20..59, columns 20..119 is black: set bits.
    EXPECT_EQ('\xFF', rows[30 * 50 + 50 / 8]);
    EXPECT_EQ('\0', rows[200 * 50 + 20]);

    RequestList grey(JobAttributes(session, 102), {{"PAGE", "1"},
                                                   {"BITS_PER_PIXEL", "8"},
                                                   {"FILE_FORMAT", "RAW"},
                                                   {"WIDTH_PIXELS", "100"},
                                                   {"HEIGHT_PIXELS", "75"}});
    rows = DownloadAll(session, 102, grey.Get(), 1000, result);
    ASSERT_EQ(QUORVEL_OK, result);
    ASSERT_EQ(7500u, rows.size()) << "scaled to the asked size";
    EXPECT_LT(static_cast<unsigned char>(rows[0]), 10);     // the gradient's black top
    EXPECT_GT(static_cast<unsigned char>(rows[7499]), 245); // and white bottom

    RequestList colour(JobAttributes(session, 101), {{"PAGE", "1"},
                                                     {"BITS_PER_PIXEL", "24"},
                                                     {"FILE_FORMAT", "RAW"},
                                                     {"WIDTH_PIXELS", "320"},
                                                     {"HEIGHT_PIXELS", "240"}});
    rows = DownloadAll(session, 101, colour.Get(), 65536, result);
    ASSERT_EQ(QUORVEL_OK, result);
    ASSERT_EQ(320u * 240u * 3u, rows.size());
    const unsigned char* red = reinterpret_cast<const unsigned char*>(&rows[(70 * 320 + 100) * 3]);
    EXPECT_GT(red[0], 150) << "red first";
    EXPECT_LT(red[2], 90);

    RequestList depth(JobAttributes(session, 101),
                      {{"PAGE", "1"}, {"BITS_PER_PIXEL", "4"}, {"FILE_FORMAT", "RAW"}});
    char buffer[8];
    int32_t size = sizeof(buffer);
    EXPECT_EQ(QUORVEL_ACTION_NOT_SUPPORTED,
              SCAN_getDataEx(&session, 101, depth.Get(), 0, buffer, &size, 0));
    RequestList wholeRaw(JobAttributes(session, 101), {{"FILE_FORMAT", "RAW"}});
    EXPECT_EQ(QUORVEL_ACTION_NOT_SUPPORTED,
              SCAN_getDataEx(&session, 101, wholeRaw.Get(), 0, buffer, &size, 0))
        << "raw rows of two pages";
    RequestList huge(JobAttributes(session, 101), {{"PAGE", "1"},
                                                   {"BITS_PER_PIXEL", "24"},
                                                   {"FILE_FORMAT", "RAW"},
                                                   {"WIDTH_PIXELS", "30000"},
                                                   {"HEIGHT_PIXELS", "30000"}});
    EXPECT_EQ(QUORVEL_BAD_LIMIT, SCAN_getDataEx(&session, 101, huge.Get(), 0, buffer, &size, 0));
}

TEST_F(SimPageDataTest, WholeJobTiffForAFileTransfer) {
    QuorvelSessionHandle session = Session();
    RequestList request(JobAttributes(session, 103),
                        {{"BITS_PER_PIXEL", "1"}, {"FILE_FORMAT", "TIFFMULTI"}});
    int result = 0;
    const std::string data = DownloadAll(session, 103, request.Get(), 65536, result);
    ASSERT_EQ(QUORVEL_OK, result);
    wicimage::EncodedInfo info;
    std::string error;
    ASSERT_TRUE(wicimage::Probe(data, info, error)) << error;
    EXPECT_EQ(3, info.frames);
}

TEST_F(SimPageDataTest, MailboxAccessToPageData) {
    QuorvelSessionHandle session = Session("mailboxes");
    RequestList request{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "2"}, {"DEST_FORMAT:1", "TIFF"}};
    int result = 0;
    const std::string data = DownloadAll(session, 202, request.Get(), 4096, result, "7", "1234");
    EXPECT_EQ(QUORVEL_OK, result);
    EXPECT_TRUE(data == ServerFileBytes("mailboxes\\jobs\\202\\page2.tif"));
    DownloadAll(session, 202, request.Get(), 4096, result, "", "");
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, result);
    DownloadAll(session, 202, request.Get(), 4096, result);
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, result);
    DownloadAll(session, 202, request.Get(), 4096, result, "42", "");
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, result);
    RequestList first{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}};
    DownloadAll(session, 203, first.Get(), 4096, result, "", "");
    EXPECT_EQ(QUORVEL_OK, result);
    const std::vector<std::string> lines = LogLinesOf("SCAN_getDataInMailbox");
    EXPECT_TRUE(Contains(lines[0], "mailbox=\"7\" password=\"1234\" job=202")) << lines[0];
}

TEST_F(SimPageDataTest, SendingRecordsEveryDestination) {
    QuorvelSessionHandle session = Session();
    RequestList request{{"N_DEST", "2"},
                        {"DEST:1", "EMAIL"},
                        {"DEST_FORMAT:1", "PDF"},
                        {"DEST_PAGE:1", "0"},
                        {"MAIL_TO:1", "ann@example.com"},
                        {"DEST:2", "FTP"},
                        {"DEST_FORMAT:2", "TIFF"},
                        {"FTP_SERVER", "ftp.example.com"}};
    // The two out values of a send are the caller's locals: untouched but the size.
    char buffer[4] = {'a', 'b', 'c', 'd'};
    int32_t size = 123;
    EXPECT_EQ(QUORVEL_OK, SCAN_getDataEx(&session, 103, request.Get(), 0, buffer, &size, 0));
    EXPECT_EQ(0, size);
    EXPECT_EQ(std::string("abcd"), std::string(buffer, 4));
    const std::vector<std::string> lines = LogLinesOf("SCAN_getDataEx");
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(Contains(lines[0], "\"MAIL_TO:1\"=\"ann@example.com\"")) << lines[0];
    EXPECT_TRUE(Contains(lines[0], "-> 0 [sent 1 \"EMAIL\" format=\"PDF\" page=\"0\"; 2 \"FTP\" "
                                   "format=\"TIFF\" page=\"\"]"))
        << lines[0];

    RequestList refused{{"DEST:1", "FTP"}, {"FTP_SERVER", "ftp.denied.example.com"}};
    EXPECT_EQ(QUORVEL_SCAN_DEST_FAILED,
              SCAN_getDataEx(&session, 103, refused.Get(), 0, buffer, &size, 0));
    RequestList unknown{{"DEST:1", "HOLDQ"}, {"DEST:2", "PIGEON"}};
    EXPECT_EQ(QUORVEL_SCAN_DEST_NOT_SUPPORTED,
              SCAN_getDataEx(&session, 103, unknown.Get(), 0, buffer, &size, 0));
    // A caller destination beside others: the data come back and the others are sent once.
    RequestList both{{"DEST:1", "HOLDQ"}, {"DEST:2", "CALLER"}, {"DEST_PAGE:2", "1"}};
    int result = 0;
    OrvexSim_ClearLog();
    const std::string data = DownloadAll(session, 105, both.Get(), 1000, result);
    EXPECT_EQ(QUORVEL_OK, result);
    EXPECT_TRUE(data == ServerFileBytes("default\\jobs\\105\\page1.jpg"));
    int sent = 0;
    for (const std::string& line : LogLinesOf("SCAN_getDataEx")) {
        sent += Contains(line, "[sent 1 \"HOLDQ\"") ? 1 : 0;
    }
    EXPECT_EQ(1, sent);
}

TEST_F(SimPageDataTest, ServersWhoseDataStop) {
    QuorvelSessionHandle session = Session("zerobytes");
    RequestList request{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}};
    std::vector<char> buffer(4096);
    int32_t size = 4096;
    ASSERT_EQ(QUORVEL_OK, SCAN_getDataEx(&session, 501, request.Get(), 0, buffer.data(), &size, 0));
    EXPECT_EQ(1000, size);
    for (int round = 0; round < 3; ++round) {
        size = 4096;
        EXPECT_EQ(QUORVEL_OK,
                  SCAN_getDataEx(&session, 501, request.Get(), 1000, buffer.data(), &size, 0));
        EXPECT_EQ(0, size) << "success, and nothing, again and again";
    }

    TempFixtureRoot root;
    OrvexSim_SetFixtureRoot(root.Path().c_str());
    const std::string page = ServerFileBytes("default\\jobs\\101\\page1.jpg");
    OrvexSim_SetFixtureRoot(root.Path().c_str());
    root.Write("lab", "jobs\\1\\job.txt", "FILE_FORMAT = JPEG\n");
    root.Write("lab", "jobs\\1\\page1.jpg", page);
    root.Write("lab", "server.txt", "DATA_BLOCK_LIMIT = 100\n");
    QuorvelServerHandle lab = Connect("lab");
    QuorvelSessionHandle labSession = OpenScanSession(lab);
    int result = 0;
    // Short answers: a reader that stops at the first short block gets 100 bytes.
    EXPECT_EQ(100u, DownloadAll(labSession, 1, request.Get(), 4096, result).size());
    root.Write("lab", "server.txt", "DATA_BLOCK_LIMIT = 0\n");
    size = 10;
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE,
              SCAN_getDataEx(&labSession, 1, request.Get(), 0, buffer.data(), &size, 0));
    EXPECT_TRUE(Contains(LogLinesOf("SCAN_getDataEx").back(), "DATA_BLOCK_LIMIT"));
}

// What the server serves is counted per job and page with its log; a failure queued for a
// block answers that block alone, leaving the caller's size as it set it and stale bytes in its
// buffer.
TEST_F(SimPageDataTest, ServedBytesAreCountedAndQueuedBlockFailuresLeaveStaleBytes) {
    QuorvelSessionHandle session = Session("smallblocks"); // answers of 1000 bytes at most
    RequestList request{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}};
    const std::string file = ServerFileBytes("smallblocks\\jobs\\601\\page1.jpg");
    ASSERT_GT(file.size(), 3000u);
    int result = 0;
    for (int fetches = 1; fetches <= 2; ++fetches) {
        EXPECT_EQ(file.size(), DownloadAll(session, 601, request.Get(), 1000, result).size());
        EXPECT_EQ(static_cast<long long>(file.size()) * fetches, OrvexSim_BytesServed(601, 1));
        EXPECT_EQ(fetches, OrvexSim_FetchesServed(601, 1));
    }
    EXPECT_EQ(0, OrvexSim_BytesServed(601, 2));
    OrvexSim_ClearLog();
    EXPECT_EQ(0, OrvexSim_BytesServed(601, 1));
    EXPECT_EQ(0, OrvexSim_FetchesServed(601, 1));

    const struct {
        int block;
        size_t offset;
    } kBlocks[] = {{ORVEXSIM_LAST_BLOCK, (file.size() - 1) / 1000 * 1000},
                   {ORVEXSIM_FIRST_BLOCK, 0},
                   {ORVEXSIM_MIDDLE_BLOCK, 1000}};
    for (const auto& block : kBlocks) {
        SCOPED_TRACE(block.block);
        OrvexSim_FailDataBlock(block.block, QUORVEL_TIMEOUT);
        size_t failedAt = file.size();
        for (size_t offset = 0; offset < file.size(); offset += 1000) {
            std::vector<char> buffer(1200, 'x');
            int32_t size = 1200;
            const int rc = SCAN_getDataEx(&session, 601, request.Get(),
                                          static_cast<int32_t>(offset), buffer.data(), &size, 0);
            if (rc != QUORVEL_OK) {
                EXPECT_EQ(QUORVEL_TIMEOUT, rc);
                EXPECT_EQ(1200, size) << "the size as the caller set it";
                EXPECT_EQ(std::string(1200, '\xA5'), std::string(buffer.data(), 1200));
                failedAt = offset;
                break;
            }
        }
        EXPECT_EQ(block.offset, failedAt);
    }
    // Each round was served up to the block that failed, and not the failed block.
    EXPECT_EQ(static_cast<long long>(kBlocks[0].offset + kBlocks[2].offset),
              OrvexSim_BytesServed(601, 1));
    EXPECT_EQ(2, OrvexSim_FetchesServed(601, 1));
}

TEST_F(SimPageDataTest, PagesThatAreNoJpegOrTiff) {
    QuorvelSessionHandle session = Session("oddformats");
    char buffer[64];
    int32_t size = sizeof(buffer);
    RequestList own{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}, {"DEST_FORMAT:1", ""}};
    ASSERT_EQ(QUORVEL_OK, SCAN_getDataEx(&session, 402, own.Get(), 0, buffer, &size, 0));
    EXPECT_EQ("This page", std::string(buffer, 9)) << "the own format is served as it is";
    RequestList raw{{"PAGE", "1"}, {"FILE_FORMAT", "RAW"}, {"BITS_PER_PIXEL", "8"}};
    size = sizeof(buffer);
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE,
              SCAN_getDataEx(&session, 402, raw.Get(), 0, buffer, &size, 0));
    ScanPageInfo* info = nullptr;
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE, SCAN_getScanPageInfo(&session, 402, 1, &info, 0));
    RequestList png{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}, {"DEST_FORMAT:1", "PNG"}};
    size = sizeof(buffer);
    ASSERT_EQ(QUORVEL_OK, SCAN_getDataEx(&session, 401, png.Get(), 0, buffer, &size, 0));
    EXPECT_EQ("\x89PNG", std::string(buffer, 4));
    RequestList jpeg{{"DEST:1", "CALLER"}, {"DEST_PAGE:1", "1"}, {"DEST_FORMAT:1", "JPEG"}};
    int result = 0;
    const std::string converted = DownloadAll(session, 403, jpeg.Get(), 4096, result);
    EXPECT_EQ(QUORVEL_OK, result);
    EXPECT_EQ(120, Decoded(converted).width) << "the BMP page as JPEG";
}

TEST_F(SimPageDataTest, BenchmarkPagesAreA4At300Dpi) {
    QuorvelSessionHandle session = Session("bench");
    RequestList request{{"PAGE", "2"}, {"FILE_FORMAT", "RAW"}, {"BITS_PER_PIXEL", "1"}};
    std::vector<char> buffer(2 * 1048576);
    int32_t size = static_cast<int32_t>(buffer.size());
    ASSERT_EQ(QUORVEL_OK, SCAN_getDataEx(&session, 2, request.Get(), 0, buffer.data(), &size, 0));
    EXPECT_EQ(310 * 3508, size) << "2480 pixels are 310 bytes a row";
    const std::vector<std::string> lines = LogLinesOf("SCAN_getDataEx");
    EXPECT_TRUE(Contains(lines.back(), "total=1087480")) << lines.back();
}

} // namespace
