// The TWAIN transfers of an image file against the simulated servers: memory strips and native
// pictures that rebuild the server's pixel rows, BMP and TIFF files, the output size, the end
// of a page, the user's stop, and servers that send nothing, have no size or go down.

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "QuorvelWrapperException.h"
#include "ServerDownException.h"
#include "TransferTestSupport.h"
#include "TwainException.h"
#include "zylDIB.h"

namespace {

// A picture as it is shown: one grey (or RGB) value per pixel, rows from the top.
struct Shown {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB
};

// The server's rows as shown: 1 bit set is black, 8 bits 0 is black, 24 bits R, G, B.
Shown FromRaw(const std::string& raw, int bitsPerPixel, int width, int height) {
    Shown shown{width, height, {}};
    const size_t row = (static_cast<size_t>(bitsPerPixel) * width + 7) / 8;
    for (int y = 0; y < height; ++y) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(raw.data()) + row * y;
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour = 0;
            if (bitsPerPixel == 1) {
                colour = (bytes[x / 8] >> (7 - x % 8)) & 1 ? 0x000000 : 0xFFFFFF;
            } else if (bitsPerPixel == 8) {
                colour = bytes[x] * 0x010101u;
            } else {
                colour = (bytes[3 * x] << 16) | (bytes[3 * x + 1] << 8) | bytes[3 * x + 2];
            }
            shown.pixels.push_back(colour);
        }
    }
    return shown;
}

// A packed DIB (info header, palette, bottom-up rows) as shown.
Shown FromDib(const unsigned char* dib) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof(header));
    const auto* palette = reinterpret_cast<const RGBQUAD*>(dib + header.biSize);
    const unsigned char* pixels = dib + header.biSize + 4 * header.biClrUsed;
    const size_t stride = (static_cast<size_t>(header.biBitCount) * header.biWidth + 31) / 32 * 4;
    Shown shown{header.biWidth, header.biHeight, {}};
    auto entry = [&](unsigned index) {
        const RGBQUAD& q = palette[index];
        return (static_cast<std::uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    };
    for (int y = 0; y < header.biHeight; ++y) {
        const unsigned char* bytes = pixels + stride * (header.biHeight - 1 - y);
        for (int x = 0; x < header.biWidth; ++x) {
            if (header.biBitCount == 1) {
                shown.pixels.push_back(entry((bytes[x / 8] >> (7 - x % 8)) & 1));
            } else if (header.biBitCount == 8) {
                shown.pixels.push_back(entry(bytes[x]));
            } else {
                shown.pixels.push_back((bytes[3 * x + 2] << 16) | (bytes[3 * x + 1] << 8) |
                                       bytes[3 * x]);
            }
        }
    }
    return shown;
}

bool SamePicture(const Shown& a, const Shown& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ImageTransferTest : public TransferTest {
protected:
    using Strip = MemoryTransferResult;

    Strip MemoryStrip(std::vector<char>& buffer, double xRes, double yRes, std::int16_t bits,
                      std::uint16_t pixelType, ScannerUiIntf* ui = nullptr) {
        Strip strip;
        Command().TransferMemory(
            MemoryRequest(ui ? ui : &m_ui, buffer, xRes, yRes, bits, pixelType), strip);
        return strip;
    }
};

TEST_F(ImageTransferTest, MemoryStripsRebuildThePageExactly) {
    struct Case {
        const char* name;
        const char* server;
        int job;
        std::int16_t startPage;
        std::int16_t bits;
        std::uint16_t pixelType;
        double xRes, yRes;
        int width, height; // of the output
        size_t buffer;
        TW_UINT16 flavor;
    };
    const Case cases[] = {
        // Whole rows: several a strip, the last strip shorter.
        {"colour, rows", "localhost", 104, -1, 24, TWPT_RGB, 100, 100, 240, 180, 720 * 7 + 5,
         TWPF_CHOCOLATE},
        // Smaller than a row of 303 bytes: strips of 50 pixels, then the 1 left in the row.
        {"colour, parts of odd rows", "localhost", 104, -1, 24, TWPT_RGB, 42.0833333, 25, 101, 45,
         200, TWPF_CHOCOLATE},
        // Bilevel page 2, rows of 25 bytes in strips of 6, 6, 6, 6, 1; chocolate inverts.
        {"bilevel, parts of rows", "localhost", 103, 2, 1, TWPT_BW, 100, 20, 200, 30, 10,
         TWPF_CHOCOLATE},
        {"bilevel vanilla, rows", "localhost", 103, 2, 1, TWPT_BW, 100, 20, 200, 30, 100,
         TWPF_VANILLA},
        {"grey, rows", "localhost", 102, -1, 8, TWPT_GRAY, 150, 150, 200, 150, 4096,
         TWPF_CHOCOLATE},
        // Grey comes 0-is-black from the server; vanilla wants 0 white.
        {"grey vanilla, rows", "localhost", 102, -1, 8, TWPT_GRAY, 150, 150, 200, 150, 4096,
         TWPF_VANILLA},
    };
    Connect("localhost");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_source.flavor = c.flavor;
        Attach(c.job, c.startPage);
        const size_t rowBytes = (static_cast<size_t>(c.bits) * c.width + 7) / 8;
        std::string rebuilt(rowBytes * c.height, '\x5a');
        std::vector<char> buffer(c.buffer);
        size_t sent = 0;
        for (int call = 0; call < 100000; ++call) {
            const Strip strip = MemoryStrip(buffer, c.xRes, c.yRes, c.bits, c.pixelType);
            ASSERT_EQ(rowBytes, strip.bytesPerRow);
            ASSERT_EQ(sent / rowBytes, strip.yOffset);
            ASSERT_EQ(sent % rowBytes * 8 / c.bits, strip.xOffset);
            ASSERT_GT(strip.bytesWritten, 0u);
            ASSERT_LE(sent + strip.bytesWritten, rebuilt.size());
            if (c.buffer >= rowBytes) {
                ASSERT_EQ(0u, strip.bytesWritten % rowBytes);
                ASSERT_EQ(strip.bytesWritten / rowBytes, strip.rows);
                ASSERT_EQ(static_cast<std::uint32_t>(c.width), strip.columns);
            } else {
                ASSERT_EQ(1u, strip.rows);
                ASSERT_EQ(strip.bytesWritten * 8 / c.bits, strip.columns);
                ASSERT_LE(sent % rowBytes + strip.bytesWritten, rowBytes) << "within one row";
                ASSERT_EQ(0u, strip.bytesWritten * 8 % c.bits) << "whole pixels";
            }
            std::memcpy(&rebuilt[sent], buffer.data(), strip.bytesWritten);
            sent += strip.bytesWritten;
            if (strip.lastBlock) {
                break;
            }
        }
        ASSERT_EQ(rebuilt.size(), sent);
        std::string raw =
            RawRows(c.job, c.startPage == -1 ? 1 : c.startPage, c.bits, c.width, c.height);
        if ((c.bits == 1 && c.flavor == TWPF_CHOCOLATE) ||
            (c.bits == 8 && c.flavor == TWPF_VANILLA)) {
            for (char& byte : raw) {
                byte = static_cast<char>(~byte);
            }
        }
        EXPECT_TRUE(raw == rebuilt) << "the server's rows, byte for byte";

        // After the last strip, nothing more comes.
        const Strip after = MemoryStrip(buffer, c.xRes, c.yRes, c.bits, c.pixelType);
        EXPECT_EQ(0u, after.bytesWritten);
        EXPECT_EQ(0u, after.rows);
        EXPECT_TRUE(after.lastBlock);
    }
}

TEST_F(ImageTransferTest, OutputWidthFollowsTheXResolutionsAndLengthTheY) {
    Connect("localhost");
    Attach(104); // 240 x 180 pixels at 100 dpi
    std::vector<char> buffer(1 << 20);
    Strip strip = MemoryStrip(buffer, 50, 100, 24, TWPT_RGB);
    EXPECT_EQ(120u * 3, strip.bytesPerRow);
    EXPECT_EQ(120u, strip.columns);
    EXPECT_EQ(180u, strip.rows);
    EXPECT_TRUE(strip.lastBlock);

    Attach(104);
    strip = MemoryStrip(buffer, 100, 50, 24, TWPT_RGB);
    EXPECT_EQ(240u * 3, strip.bytesPerRow);
    EXPECT_EQ(90u, strip.rows);
}

TEST_F(ImageTransferTest, NativePicturesHaveTheRightSizeDepthAndPixels) {
    struct Case {
        const char* name;
        int job;
        std::int16_t startPage;
        std::int16_t bits;
        std::int16_t pixelType;
        double xRes, yRes;
        int width, height;
        TW_UINT16 flavor;
    };
    const Case cases[] = {
        {"colour", 104, -1, 24, TWPT_RGB, 100, 100, 240, 180, TWPF_CHOCOLATE},
        {"colour, other size", 101, -1, 24, TWPT_RGB, 50, 75, 160, 180, TWPF_CHOCOLATE},
        {"bilevel chocolate", 103, 3, 1, TWPT_BW, 200, 200, 400, 300, TWPF_CHOCOLATE},
        {"bilevel vanilla", 103, 3, 1, TWPT_BW, 200, 200, 400, 300, TWPF_VANILLA},
        {"grey chocolate", 102, -1, 8, TWPT_GRAY, 150, 150, 200, 150, TWPF_CHOCOLATE},
        {"grey vanilla", 102, -1, 8, TWPT_GRAY, 150, 150, 200, 150, TWPF_VANILLA},
    };
    Connect("localhost");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_source.flavor = c.flavor;
        Attach(c.job, c.startPage);
        HGLOBAL handle = nullptr;
        Command().TransferNative(Request(&m_ui, c.xRes, c.yRes, c.bits, c.pixelType), &handle);
        ASSERT_NE(nullptr, handle);
        const auto* dib = static_cast<const unsigned char*>(GlobalLock(handle));
        BITMAPINFOHEADER header;
        std::memcpy(&header, dib, sizeof(header));
        EXPECT_EQ(c.width, header.biWidth);
        EXPECT_EQ(c.height, header.biHeight);
        EXPECT_EQ(c.bits, header.biBitCount);
        EXPECT_EQ(zylDIB::PaletteEntriesOf(c.bits), header.biClrUsed);
        const std::string raw =
            RawRows(c.job, c.startPage == -1 ? 1 : c.startPage, c.bits, c.width, c.height);
        EXPECT_TRUE(SamePicture(FromRaw(raw, c.bits, c.width, c.height), FromDib(dib)))
            << "shows what the server's rows show";
        GlobalUnlock(handle);
        GlobalFree(handle);
    }
}

TEST_F(ImageTransferTest, ABmpFileShowsThePageAndATiffFileHoldsTheServersBytes) {
    Connect("localhost");
    const std::string bmp = TempPath("transfer_test.bmp");
    Attach(101);
    Command().TransferFile(FileRequest(&m_ui, bmp, 100, 100, 24, TWPT_RGB, 0, TWFF_BMP));
    const std::string file = FileBytes(bmp);
    std::remove(bmp.c_str());
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ("BM", file.substr(0, 2));
    const std::string raw = RawRows(101, 1, 24, 320, 240);
    EXPECT_TRUE(SamePicture(FromRaw(raw, 24, 320, 240),
                            FromDib(reinterpret_cast<const unsigned char*>(file.data()) + 14)));

    // One page of a three-page job, and the whole job when no start page is set.
    const std::string tiff = TempPath("transfer_test.tif");
    Attach(103, 2);
    Command().TransferFile(FileRequest(&m_ui, tiff, 200, 200, 1, TWPT_BW, 5, TWFF_TIFF));
    const std::string page = FileBytes(tiff);
    EXPECT_TRUE(page == ServerBytes(103, {{"PAGE", "2"}, {"FILE_FORMAT", "TIFF"}}));
    Attach(103);
    Command().TransferFile(FileRequest(&m_ui, tiff, 200, 200, 1, TWPT_BW, 5, TWFF_TIFFMULTI));
    const std::string whole = FileBytes(tiff);
    std::remove(tiff.c_str());
    EXPECT_TRUE(whole == ServerBytes(103, {{"FILE_FORMAT", "TIFF"}}));
    EXPECT_GT(whole.size(), page.size());
}

TEST_F(ImageTransferTest, APreparedTiffPageIsCopiedWithoutAskingTheServer) {
    Connect("localhost");
    Attach(103, 2);
    ScanCommand& command = Command();
    command.SetSaveRequest(103);
    command.SelectTiffConversion();
    ASSERT_TRUE(command.StartPage(2));
    const std::string page = FileBytes(command.GetConvertedFile().GetPath());
    ASSERT_FALSE(page.empty());

    OrvexSim_ClearLog();
    const std::string tiff = TempPath("transfer_page.tif");
    command.TransferFile(FileRequest(&m_ui, tiff, 200, 200, 1, TWPT_BW, 0, TWFF_TIFF));
    EXPECT_TRUE(FileBytes(tiff) == page);
    std::remove(tiff.c_str());
    EXPECT_TRUE(OrvexSimLog().empty()) << "the page file answered";

    // Rows at another resolution than the page's are not in the page file: the server's.
    HGLOBAL handle = nullptr;
    command.TransferNative(Request(&m_ui, 100, 100, 1, TWPT_BW), &handle);
    ASSERT_NE(nullptr, handle);
    GlobalFree(handle);
    EXPECT_FALSE(OrvexSimLog().empty());
    command.Reset();
}

TEST_F(ImageTransferTest, FormatsWithoutAWriterFailAndWriteNothing) {
    Connect("localhost");
    const std::string path = TempPath("transfer_test.jpg");
    std::remove(path.c_str());
    for (const TW_UINT16 format : {TWFF_JFIF, TWFF_PNG, TWFF_PICT}) {
        Attach(101);
        try {
            Command().TransferFile(FileRequest(&m_ui, path, 100, 100, 24, TWPT_RGB, 0, format));
            ADD_FAILURE() << "format " << format << " reported success";
        } catch (const TwainException& e) {
            EXPECT_EQ(TWCC_BADVALUE, e.GetConditionCode());
            EXPECT_EQ(TWRC_FAILURE, e.GetReturnCode());
        }
        EXPECT_FALSE(Exists(path));
    }
}

TEST_F(ImageTransferTest, AUserStopEndsReadsQuietlyAndLeavesNoBmp) {
    Connect("localhost");
    Attach(104);
    m_ui.stopAfterPositions = 2;
    HGLOBAL handle = reinterpret_cast<HGLOBAL>(1);
    Command().TransferNative(Request(&m_ui, 100, 100, 24, TWPT_RGB), &handle);
    EXPECT_EQ(nullptr, handle) << "no picture after a stop";

    const std::string bmp = TempPath("transfer_stop.bmp");
    m_ui.stopped = false;
    m_ui.positions = 0;
    Attach(104);
    try {
        Command().TransferFile(FileRequest(&m_ui, bmp, 100, 100, 24, TWPT_RGB, 0, TWFF_BMP));
        ADD_FAILURE() << "a stopped BMP reported success";
    } catch (const TwainException& e) {
        EXPECT_EQ(TWCC_FILEWRITEERROR, e.GetConditionCode());
    }
    EXPECT_FALSE(Exists(bmp));
}

TEST_F(ImageTransferTest, AStopDuringAMemoryBlockHandsOverOnlyTheRowsThatArrived) {
    Connect("smallblocks"); // answers of at most 1000 bytes; rows of 960
    Attach(601);
    m_ui.stopAfterPositions = 3; // the user stops while the third answer is on its way
    std::vector<char> buffer(10 * 960, '\x5a');
    const Strip strip = MemoryStrip(buffer, 100, 100, 24, TWPT_RGB);
    EXPECT_TRUE(strip.stopped);
    EXPECT_FALSE(strip.lastBlock);
    EXPECT_EQ(2880u, strip.bytesWritten) << "3000 bytes came: three whole rows";
    EXPECT_EQ(3u, strip.rows);
    EXPECT_TRUE(std::string(buffer.data(), 2880) == RawRows(601, 1, 24, 320, 240).substr(0, 2880));
}

TEST_F(ImageTransferTest, AServerThatSendsNothingMoreEndsInAnError) {
    Connect("zerobytes"); // no byte at or past offset 1000
    Attach(501);
    OrvexSim_ClearLog();
    HGLOBAL handle = nullptr;
    try {
        Command().TransferNative(Request(&m_ui, 100, 100, 24, TWPT_RGB), &handle);
        ADD_FAILURE() << "no error";
    } catch (const TwainException& e) {
        EXPECT_EQ(TWCC_BUMMER, e.GetConditionCode());
    }
    EXPECT_EQ(nullptr, handle);
    EXPECT_LE(OrvexSimLog().size(), 10u) << "a bounded number of tries";
    EXPECT_EQ(1, m_ui.CountOf("EndProgress"));
    EXPECT_EQ(0, Command().GetImageFile()->GetNumPagesLeftToXfer()) << "page run ended";
}

// A failed answer is no page data: the read fails with the server's code, and the page is
// there to be read again.
TEST_F(ImageTransferTest, AFailedServerAnswerFailsTheReadAndLeavesThePage) {
    Connect("localhost");
    std::vector<char> buffer(1 << 20);
    Attach(104);
    OrvexSim_FailNext("SCAN_getDataEx", QUORVEL_GENERAL_FAILURE);
    try {
        MemoryStrip(buffer, 100, 100, 24, TWPT_RGB);
        ADD_FAILURE() << "no error";
    } catch (const QuorvelWrapperException& e) {
        EXPECT_EQ(QUORVEL_GENERAL_FAILURE, e.GetResultCode());
    }
    EXPECT_EQ(1, Command().GetPagesLeft());
    const Strip strip = MemoryStrip(buffer, 100, 100, 24, TWPT_RGB);
    EXPECT_TRUE(strip.lastBlock);
    EXPECT_TRUE(std::string(buffer.data(), strip.bytesWritten) == RawRows(104, 1, 24, 240, 180));
}

TEST_F(ImageTransferTest, AServerGoingDownDuringAReadThrowsServerDown) {
    Connect("localhost");
    m_scanner->StartNotifications();
    Attach(104);
    struct DownAfterFirstBlock : RecordingUi {
        void SetProgressPos(unsigned long position) override {
            if (position > 0 && !down) {
                down = true;
                OrvexSim_SetServerDown("default", 1);
            }
        }
        bool down = false;
    } ui;
    HGLOBAL handle = nullptr;
    EXPECT_THROW(Command().TransferNative(Request(&ui, 100, 100, 24, TWPT_RGB), &handle),
                 ServerDownException);
    EXPECT_TRUE(ui.down);
    EXPECT_EQ(nullptr, handle);
    EXPECT_TRUE(m_scanner->IsServerDown());
    OrvexSim_SetServerDown("default", 0);
}

TEST_F(ImageTransferTest, APageWithoutASizeFallsBackToTheJobsOrFails) {
    Connect("badpages");
    // Page 1 of job 306 has no size: the job's 200 x 280 stands in.
    Attach(306);
    std::vector<char> buffer(1 << 20);
    Strip strip = MemoryStrip(buffer, 100, 100, 8, TWPT_GRAY);
    EXPECT_EQ(200u, strip.bytesPerRow);
    EXPECT_EQ(280u, strip.rows);

    // Job 307 has no size either: a TWAIN failure, never a division by zero.
    Attach(307);
    HGLOBAL handle = nullptr;
    try {
        Command().TransferNative(Request(&m_ui, 100, 100, 8, TWPT_GRAY), &handle);
        ADD_FAILURE() << "no error";
    } catch (const TwainException& e) {
        EXPECT_EQ(TWCC_BUMMER, e.GetConditionCode());
    }
    Attach(307);
    EXPECT_THROW(MemoryStrip(buffer, 100, 100, 8, TWPT_GRAY), TwainException);
}

TEST_F(ImageTransferTest, BadRequestsFail) {
    Connect("localhost");
    Attach(104);
    HGLOBAL handle = nullptr;
    for (const auto& bad : std::vector<std::function<void()>>{
             [&] { Command().TransferNative(Request(&m_ui, 100, 100, 24, 4), &handle); },
             [&] { Command().TransferNative(Request(&m_ui, 0, 100, 24, TWPT_RGB), &handle); },
             [&] { Command().TransferNative(Request(&m_ui, 100, 100, 0, TWPT_RGB), &handle); }}) {
        try {
            bad();
            ADD_FAILURE() << "no error";
        } catch (const TwainException& e) {
            EXPECT_EQ(TWCC_BADVALUE, e.GetConditionCode());
        }
        Attach(104);
    }
}

} // namespace
