// The image library stand-in: conversions between JPEG and TIFF (G4, LZW, uncompressed), crop
// and resample, the image values it reports, and every way a process fails.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include <windows.h>

#include "WicCodec.h"
#include "WicImage.h"
#include "zyl_kpd_api.h"

namespace {

std::string BinFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/"));
}

// A page image of the default simulated server's jobs, made at build time.
std::string JobPage(const std::string& server, int job, const std::string& page) {
    return BinFolder() + "\\servers\\" + server + "\\jobs\\" + std::to_string(job) + "\\" + page;
}

std::string TempFile(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "kpd_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

// The compression tag (259) of a TIFF file's first page; 0 when there is none.
int TiffCompression(const std::string& bytes) {
    if (bytes.size() < 8 || bytes.compare(0, 2, "II") != 0) {
        return -1;
    }
    auto u16 = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               (static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8);
    };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    const size_t ifd = u32(4);
    const unsigned count = u16(ifd);
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        if (u16(entry) == 259) {
            return static_cast<int>(u16(entry + 8));
        }
    }
    return 0;
}

struct Info {
    int32_t length = -1;
    int32_t width = -1;
    int32_t bits = -1;
    bool operator==(const Info& other) const {
        return length == other.length && width == other.width && bits == other.bits;
    }
};

std::ostream& operator<<(std::ostream& os, const Info& info) {
    return os << "{" << info.length << ", " << info.width << ", " << info.bits << "}";
}

class ZylKpdTest : public ::testing::Test {
protected:
    void SetUp() override { m_process = KPD_createProcessADT(); }
    void TearDown() override {
        KPD_destroyProcessADT(&m_process);
        DeleteFileA(m_output.c_str());
    }

    // One whole process, as the readers run it; answers the first failure.
    int Run(const std::string& input, int format, const std::string& output,
            int outFormat = KPD_FORMAT_BY_NAME, int options = KPD_OUT_COMPRESSED) {
        m_output = output;
        int result = KPD_setFileNameIn(m_process, input.c_str(), format, 0, 0, 0, 1, 0, 0);
        if (result == KPD_OK) {
            result = KPD_setFileNameOut(m_process, output.c_str(), outFormat, options);
        }
        if (result == KPD_OK) {
            result = KPD_doProcess(m_process);
        }
        return result;
    }

    Info In() {
        Info info;
        KPD_getImageInfoIn(m_process, &info.length, &info.width, &info.bits, 0, 0);
        return info;
    }
    Info Out() {
        Info info;
        KPD_getImageInfoOut(m_process, &info.length, &info.width, &info.bits, 0, 0);
        return info;
    }

    // The output file, decoded.
    wicimage::Picture Output(wicimage::EncodedInfo* encoded = nullptr, int* compression = nullptr) {
        std::string bytes;
        EXPECT_TRUE(wicimage::ReadWholeFile(m_output, bytes));
        wicimage::EncodedInfo info;
        std::string error;
        EXPECT_TRUE(wicimage::Probe(bytes, info, error)) << error;
        if (encoded) {
            *encoded = info;
        }
        if (compression) {
            *compression = TiffCompression(bytes);
        }
        wicimage::Picture picture;
        EXPECT_TRUE(wicimage::Decode(bytes, 0, picture, error)) << error;
        return picture;
    }

    static std::uint8_t Grey(const wicimage::Picture& picture, int x, int y) {
        return wicimage::ConvertKind(picture, wicimage::PixelKind::Grey)
            .samples[static_cast<size_t>(y) * picture.width + x];
    }

    KPD_HANDLE m_process = nullptr;
    std::string m_output;
};

TEST_F(ZylKpdTest, ColourJpegToJpegKeepsSizeDepthAndPicture) {
    ASSERT_EQ(KPD_OK,
              Run(JobPage("default", 101, "page1.jpg"), KPD_FORMAT_JPEG, TempFile("colour.jpg")));
    EXPECT_EQ((Info{240, 320, 24}), In());
    EXPECT_EQ((Info{240, 320, 24}), Out());
    wicimage::EncodedInfo encoded;
    const wicimage::Picture picture = Output(&encoded);
    EXPECT_EQ(wicimage::Container::Jpeg, encoded.container);
    EXPECT_EQ(wicimage::PixelKind::Colour, picture.kind);
    EXPECT_NEAR(100.0, picture.dpiX, 0.5);
    // Inside the red rectangle of the source page.
    const std::uint8_t* red = &picture.samples[(70 * 320 + 100) * 3];
    EXPECT_GT(red[0], 150);
    EXPECT_LT(red[2], 90);
}

TEST_F(ZylKpdTest, TiffPagesKeepTheirDepthAndCompression) {
    struct Case {
        int job;
        Info info;
        int options;
        int compression; // TIFF tag 259: 1 none, 4 CCITT G4, 5 LZW
    };
    const Case cases[] = {
        {103, {300, 400, 1}, KPD_OUT_COMPRESSED, 4},
        {102, {150, 200, 8}, KPD_OUT_COMPRESSED, 5},
        {104, {180, 240, 24}, KPD_OUT_COMPRESSED, 5},
        {103, {300, 400, 1}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.job);
        KPD_destroyProcessADT(&m_process);
        m_process = KPD_createProcessADT();
        ASSERT_EQ(KPD_OK, Run(JobPage("default", c.job, "page1.tif"), KPD_FORMAT_TIFF,
                              TempFile("page.tif"), KPD_FORMAT_BY_NAME, c.options));
        EXPECT_EQ(c.info, In());
        EXPECT_EQ(c.info, Out());
        int compression = 0;
        const wicimage::Picture picture = Output(nullptr, &compression);
        EXPECT_EQ(c.compression, compression);
        EXPECT_EQ(c.info.bits, picture.BitsPerPixel());
    }
}

TEST_F(ZylKpdTest, BilevelPageIsReadTheRightWayRound) {
    // Page 1 of job 103: white, with a black bar over rows 20..59, columns 20..119.
    ASSERT_EQ(KPD_OK,
              Run(JobPage("default", 103, "page1.tif"), KPD_FORMAT_TIFF, TempFile("bw.tif")));
    const wicimage::Picture picture = Output();
    EXPECT_EQ(0, Grey(picture, 50, 30));
    EXPECT_EQ(255, Grey(picture, 300, 200));
}

TEST_F(ZylKpdTest, BilevelTiffToJpegBecomesGrey) {
    ASSERT_EQ(KPD_OK,
              Run(JobPage("default", 103, "page1.tif"), KPD_FORMAT_TIFF, TempFile("bw.jpg")));
    EXPECT_EQ((Info{300, 400, 1}), In());
    EXPECT_EQ((Info{300, 400, 8}), Out());
    wicimage::EncodedInfo encoded;
    const wicimage::Picture picture = Output(&encoded);
    EXPECT_EQ(wicimage::Container::Jpeg, encoded.container);
    EXPECT_LT(Grey(picture, 50, 30), 40);
}

TEST_F(ZylKpdTest, JpegToTiffByFormatCode) {
    ASSERT_EQ(KPD_OK, Run(JobPage("default", 105, "page1.jpg"), KPD_FORMAT_JPEG,
                          TempFile("grey.out"), KPD_FORMAT_TIFF));
    EXPECT_EQ((Info{280, 200, 8}), Out());
    wicimage::EncodedInfo encoded;
    Output(&encoded);
    EXPECT_EQ(wicimage::Container::Tiff, encoded.container);
}

TEST_F(ZylKpdTest, CropThenResample) {
    ASSERT_EQ(KPD_OK, KPD_setFileNameIn(m_process, JobPage("default", 103, "page1.tif").c_str(),
                                        KPD_FORMAT_TIFF, 0, 0, 0, 1, 0, 0));
    // Rows 10..69 and columns 10..129: the black bar with a white border of ten pixels.
    ASSERT_EQ(KPD_OK, KPD_setCrop(m_process, 10, 10, 70, 130));
    ASSERT_EQ(KPD_OK, KPD_setResample(m_process, 30, 60, KPD_RESAMPLE_SMOOTH));
    m_output = TempFile("crop.tif");
    ASSERT_EQ(KPD_OK, KPD_setFileNameOut(m_process, m_output.c_str(), 0, KPD_OUT_COMPRESSED));
    ASSERT_EQ(KPD_OK, KPD_doProcess(m_process));
    EXPECT_EQ((Info{300, 400, 1}), In());
    EXPECT_EQ((Info{30, 60, 1}), Out());
    const wicimage::Picture picture = Output();
    EXPECT_EQ(60, picture.width);
    EXPECT_EQ(30, picture.height);
    EXPECT_NEAR(100.0, picture.dpiX, 0.5); // half the pixels over the same width
    EXPECT_EQ(255, Grey(picture, 1, 1));
    EXPECT_EQ(0, Grey(picture, 30, 15));
}

TEST_F(ZylKpdTest, NearestResampleOfColour) {
    ASSERT_EQ(KPD_OK, KPD_setFileNameIn(m_process, JobPage("default", 101, "page1.jpg").c_str(),
                                        KPD_FORMAT_JPEG, 0, 0, 0, 1, 0, 0));
    ASSERT_EQ(KPD_OK, KPD_setResample(m_process, 480, 640, KPD_RESAMPLE_NEAREST));
    m_output = TempFile("big.jpg");
    ASSERT_EQ(KPD_OK, KPD_setFileNameOut(m_process, m_output.c_str(), 0, 1));
    ASSERT_EQ(KPD_OK, KPD_doProcess(m_process));
    EXPECT_EQ((Info{480, 640, 24}), Out());
    EXPECT_NEAR(200.0, Output().dpiY, 0.5);
}

TEST_F(ZylKpdTest, SecondPageOfAMultiPageTiff) {
    wicimage::Picture first;
    first.width = 8;
    first.height = 4;
    first.kind = wicimage::PixelKind::Bilevel;
    first.dpiX = first.dpiY = 200;
    first.Allocate();
    wicimage::Picture second = first;
    second.width = 16;
    second.kind = wicimage::PixelKind::Grey;
    second.Allocate();
    std::string bytes;
    std::string error;
    ASSERT_TRUE(wicimage::Encode({&first, &second}, wicimage::Container::Tiff, true, bytes, error))
        << error;
    const std::string input = TempFile("two.tif");
    ASSERT_TRUE(wicimage::WriteWholeFile(input, bytes));
    ASSERT_EQ(KPD_OK,
              KPD_setFileNameIn(m_process, input.c_str(), KPD_FORMAT_TIFF, 0, 0, 0, 2, 0, 0));
    m_output = TempFile("second.tif");
    ASSERT_EQ(KPD_OK, KPD_setFileNameOut(m_process, m_output.c_str(), 0, 1));
    EXPECT_EQ(KPD_OK, KPD_doProcess(m_process));
    EXPECT_EQ((Info{4, 16, 8}), In());
    ASSERT_EQ(KPD_OK,
              KPD_setFileNameIn(m_process, input.c_str(), KPD_FORMAT_TIFF, 0, 0, 0, 3, 0, 0));
    EXPECT_EQ(KPD_ERR_PAGE, KPD_doProcess(m_process));
    DeleteFileA(input.c_str());
}

TEST_F(ZylKpdTest, ProcessFailures) {
    struct Case {
        const char* what;
        std::string input;
        int format;
        std::string output;
        int expected;
    };
    const Case cases[] = {
        {"missing input", JobPage("default", 101, "page9.jpg"), KPD_FORMAT_JPEG, TempFile("x.jpg"),
         KPD_ERR_OPEN},
        {"JPEG named TIFF", JobPage("default", 101, "page1.jpg"), KPD_FORMAT_TIFF,
         TempFile("x.tif"), KPD_ERR_FORMAT},
        {"TIFF named JPEG", JobPage("default", 103, "page1.tif"), KPD_FORMAT_JPEG,
         TempFile("x.jpg"), KPD_ERR_FORMAT},
        {"PNG", JobPage("oddformats", 401, "page1.png"), KPD_FORMAT_JPEG, TempFile("x.jpg"),
         KPD_ERR_FORMAT},
        {"not a picture", JobPage("oddformats", 402, "page1.jpg"), KPD_FORMAT_JPEG,
         TempFile("x.jpg"), KPD_ERR_FORMAT},
        {"output folder missing", JobPage("default", 101, "page1.jpg"), KPD_FORMAT_JPEG,
         TempFile("nofolder\\x.jpg"), KPD_ERR_WRITE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KPD_destroyProcessADT(&m_process);
        m_process = KPD_createProcessADT();
        EXPECT_EQ(c.expected, Run(c.input, c.format, c.output));
        EXPECT_EQ(KPD_ERR_STATE, KPD_getImageInfoOut(m_process, nullptr, nullptr, nullptr, 0, 0));
        EXPECT_EQ((Info{0, 0, 0}), In());
    }
}

TEST_F(ZylKpdTest, CropOutsideThePictureFailsInTheProcess) {
    ASSERT_EQ(KPD_OK, KPD_setCrop(m_process, 0, 0, 301, 10));
    EXPECT_EQ(KPD_ERR_PARAM,
              Run(JobPage("default", 103, "page1.tif"), KPD_FORMAT_TIFF, TempFile("crop.tif")));
}

TEST_F(ZylKpdTest, ArgumentsAndOrder) {
    const std::string page = JobPage("default", 101, "page1.jpg");
    EXPECT_EQ(KPD_ERR_STATE, KPD_doProcess(m_process)); // nothing named yet
    Info info;
    EXPECT_EQ(KPD_ERR_STATE,
              KPD_getImageInfoIn(m_process, &info.length, &info.width, &info.bits, 0, 0));
    EXPECT_EQ((Info{0, 0, 0}), info);
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setFileNameIn(m_process, nullptr, 1, 0, 0, 0, 1, 0, 0));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setFileNameIn(m_process, page.c_str(), 3, 0, 0, 0, 1, 0, 0));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setFileNameIn(m_process, page.c_str(), 1, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setCrop(m_process, 5, 0, 5, 10));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setCrop(m_process, -1, 0, 5, 10));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setResample(m_process, 0, 10, 1));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setResample(m_process, 10, 40000, 1));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setResample(m_process, 10, 10, 2));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setFileNameOut(m_process, "out.png", KPD_FORMAT_BY_NAME, 1));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setFileNameOut(m_process, "out.jpg", 3, 1));
    EXPECT_EQ(KPD_ERR_PARAM, KPD_setFileNameOut(m_process, "out.jpg", 0, 2));
    EXPECT_EQ(KPD_OK, KPD_setFileNameOut(m_process, "OUT.TIFF", KPD_FORMAT_BY_NAME, 1));
    EXPECT_EQ(KPD_OK, KPD_setFileNameIn(m_process, page.c_str(), 1, 0, 0, 0, 1, 0, 0));
}

TEST_F(ZylKpdTest, HandlesAreCheckedAndDestroyedOnce) {
    KPD_HANDLE stale = m_process;
    EXPECT_EQ(KPD_OK, KPD_destroyProcessADT(&m_process));
    EXPECT_EQ(nullptr, m_process);
    EXPECT_EQ(KPD_ERR_HANDLE, KPD_doProcess(stale));
    EXPECT_EQ(KPD_ERR_HANDLE, KPD_setCrop(stale, 0, 0, 1, 1));
    EXPECT_EQ(KPD_ERR_HANDLE, KPD_destroyProcessADT(&stale));
    EXPECT_EQ(KPD_ERR_HANDLE, KPD_doProcess(nullptr));
    KPD_HANDLE none = nullptr;
    EXPECT_EQ(KPD_OK, KPD_destroyProcessADT(&none));
    EXPECT_EQ(KPD_OK, KPD_destroyProcessADT(nullptr));
}

} // namespace
