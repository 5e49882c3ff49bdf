#include "Exception.h"
#include "FileSpec.h"
#include "zylDIB.h"
#include "zylFile.h"

#include <gtest/gtest.h>

#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

namespace {

std::string TempPath(const char* name) {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

Bytes ReadFile(const std::string& path) {
    Bytes bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(file)) != EOF) {
            bytes.push_back(static_cast<unsigned char>(c));
        }
        std::fclose(file);
    }
    return bytes;
}

std::uint32_t U32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// The file decoded by Windows Imaging Component, as 32-bit BGRA pixels row by row from the top.
class WicPixels {
public:
    explicit WicPixels(const std::string& path) {
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_uninit = SUCCEEDED(init);
        IWICImagingFactory* factory = nullptr;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
            return;
        }
        const std::wstring wide(path.begin(), path.end());
        IWICBitmapDecoder* decoder = nullptr;
        IWICBitmapFrameDecode* frame = nullptr;
        IWICBitmapSource* converted = nullptr;
        if (SUCCEEDED(factory->CreateDecoderFromFilename(
                wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) &&
            SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) &&
            SUCCEEDED(converted->GetSize(&width, &height))) {
            pixels.resize(static_cast<std::size_t>(width) * height * 4);
            if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()),
                                             pixels.data()))) {
                pixels.clear();
            }
        }
        for (IUnknown* object :
             {static_cast<IUnknown*>(converted), static_cast<IUnknown*>(frame),
              static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)}) {
            if (object != nullptr) {
                object->Release();
            }
        }
    }
    ~WicPixels() {
        if (m_uninit) {
            CoUninitialize();
        }
    }
    // Blue, green, red of pixel (x, y).
    Bytes At(UINT x, UINT y) const {
        const unsigned char* p = pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
        return Bytes{p[0], p[1], p[2]};
    }

    UINT width = 0;
    UINT height = 0;
    Bytes pixels;

private:
    bool m_uninit = false;
};

} // namespace

TEST(zylDIB, NewBitmapHeaderAndPalette) {
    EXPECT_EQ(300u, zylDIB(100, 2, 24, 300, 300, false).GetRowBytes());
    EXPECT_EQ(304u, zylDIB(101, 2, 24, 300, 300, false).GetRowBytes());

    const zylDIB grey(5, 3, 4, 300.0, 200.0, true);
    const BITMAPINFOHEADER* header = grey.GetInfoHeader();
    EXPECT_EQ(40u, header->biSize);
    EXPECT_EQ(5, grey.GetWidth());
    EXPECT_EQ(3, grey.GetHeight());
    EXPECT_EQ(1, grey.GetPlanes());
    EXPECT_EQ(4, grey.GetBitCount());
    EXPECT_EQ(DWORD{BI_RGB}, grey.GetCompression());
    EXPECT_EQ(4u, grey.GetRowBytes());
    EXPECT_EQ(12u, grey.GetSizeImage());
    EXPECT_EQ(11811, grey.GetXPelsPerMeter());
    EXPECT_EQ(7874, grey.GetYPelsPerMeter());
    EXPECT_EQ(16u, grey.GetClrUsed());
    EXPECT_EQ(16u, grey.GetClrImportant());
    EXPECT_EQ(40u + 64 + 12, grey.GetDibSize());
    EXPECT_TRUE(grey.IsZeroWhite());
    const auto* palette = reinterpret_cast<const RGBQUAD*>(header + 1);
    EXPECT_EQ(255, palette[0].rgbRed);
    EXPECT_EQ(238, palette[1].rgbGreen);
    EXPECT_EQ(221, palette[2].rgbBlue);
    EXPECT_EQ(0, palette[15].rgbRed);
    EXPECT_EQ(grey.GetBits(), reinterpret_cast<const BYTE*>(header) + 40 + 64);
    // Bottom-up: the top row is the last one in memory.
    EXPECT_EQ(grey.GetBits() + 8, grey.GetRowPointer(0));
    EXPECT_EQ(grey.GetBits(), grey.GetRowPointer(2));
    EXPECT_THROW(grey.GetRowPointer(3), std::out_of_range);
}

TEST(zylDIB, SetRowCopiesOneRowAtMost) {
    zylDIB dib(2, 2, 24, 72, 72, false);
    const Bytes longRow(20, 0xAB);
    dib.SetRow(0, longRow.data(), static_cast<std::uint32_t>(longRow.size()));
    EXPECT_EQ(Bytes(8, 0xAB), Bytes(dib.GetRowPointer(0), dib.GetRowPointer(0) + 8));
    EXPECT_EQ(Bytes(8, 0), Bytes(dib.GetRowPointer(1), dib.GetRowPointer(1) + 8));

    const unsigned char rgb[] = {1, 2, 3, 4, 5, 6, 7};
    dib.SetRowSwapRB(1, rgb, sizeof rgb);
    EXPECT_EQ((Bytes{3, 2, 1, 6, 5, 4, 0, 0}),
              Bytes(dib.GetRowPointer(1), dib.GetRowPointer(1) + 8));
}

TEST(zylDIB, OneBitEightByOneBmpHasTheExactSizes) {
    zylDIB dib(8, 1, 1, 300, 300, false);
    const unsigned char row[] = {0xA5};
    dib.SetRow(0, row, 1);
    const std::string path = TempPath("nimbrel_dib_1x8.bmp");
    dib.SaveAsBmp(CommonCpp::FileSpec(path));
    const Bytes file = ReadFile(path);
    std::remove(path.c_str());
    ASSERT_EQ(66u, file.size());
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    EXPECT_EQ(66u, U32(file, 2));
    EXPECT_EQ(0u, U32(file, 6));
    EXPECT_EQ(62u, U32(file, 10));
    EXPECT_EQ(40u, U32(file, 14));
    EXPECT_EQ(8u, U32(file, 18));
    EXPECT_EQ(1u, U32(file, 22));
    EXPECT_EQ(4u, U32(file, 34));     // biSizeImage
    EXPECT_EQ(11811u, U32(file, 38)); // biXPelsPerMeter
    EXPECT_EQ(2u, U32(file, 46));     // biClrUsed
    EXPECT_EQ((Bytes{0, 0, 0, 0, 255, 255, 255, 0}), Bytes(file.begin() + 54, file.begin() + 62));
    EXPECT_EQ((Bytes{0xA5, 0, 0, 0}), Bytes(file.begin() + 62, file.end()));
}

TEST(zylDIB, WindowsImagingDecodesTheSamePixels) {
    struct Case {
        std::uint16_t bits;
        bool zeroIsWhite;
    } cases[] = {{1, false}, {1, true}, {8, false}, {8, true}, {24, false}};
    const std::uint32_t width = 9;
    const std::uint32_t height = 3;
    for (const Case& c : cases) {
        zylDIB dib(width, height, c.bits, 200, 200, c.zeroIsWhite);
        // Expected blue, green, red per pixel, from the top.
        std::vector<Bytes> expected;
        for (std::uint32_t y = 0; y < height; ++y) {
            Bytes row(dib.GetRowBytes(), 0);
            for (std::uint32_t x = 0; x < width; ++x) {
                const unsigned value = (x * 29 + y * 71) & 0xFF;
                if (c.bits == 24) {
                    const unsigned char rgb[] = {static_cast<unsigned char>(value),
                                                 static_cast<unsigned char>(x * 20),
                                                 static_cast<unsigned char>(y * 90)};
                    std::memcpy(&row[3 * x], rgb, 3);
                    expected.push_back(Bytes{rgb[2], rgb[1], rgb[0]}); // SwapRB: file is BGR
                } else if (c.bits == 8) {
                    row[x] = static_cast<unsigned char>(value);
                    const auto grey =
                        static_cast<unsigned char>(c.zeroIsWhite ? 255 - value : value);
                    expected.push_back(Bytes{grey, grey, grey});
                } else {
                    const bool set = ((x + y) % 3) == 0;
                    if (set) {
                        row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
                    }
                    const unsigned char grey = (set != c.zeroIsWhite) ? 255 : 0;
                    expected.push_back(Bytes{grey, grey, grey});
                }
            }
            if (c.bits == 24) {
                dib.SetRowSwapRB(y, row.data(), static_cast<std::uint32_t>(row.size()));
            } else {
                dib.SetRow(y, row.data(), static_cast<std::uint32_t>(row.size()));
            }
        }
        const std::string path = TempPath("nimbrel_dib_wic.bmp");
        dib.SaveAsBmp(CommonCpp::FileSpec(path));
        const WicPixels decoded(path);
        std::remove(path.c_str());
        ASSERT_EQ(width, decoded.width) << c.bits;
        ASSERT_EQ(height, decoded.height) << c.bits;
        ASSERT_FALSE(decoded.pixels.empty());
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                EXPECT_EQ(expected[y * width + x], decoded.At(x, y))
                    << c.bits << " bits, white zero " << c.zeroIsWhite << " at " << x << "," << y;
            }
        }
    }
}

TEST(zylDIB, AdoptedAndCopiedBitmapsShareOrCopyTheBlock) {
    zylDIB original(4, 2, 8, 150, 150, false);
    EXPECT_FALSE(original.IsZeroWhite());
    original.GetRowPointer(0)[0] = 77;

    const zylDIB shared(original);
    EXPECT_EQ(original.GetRawHandle(), shared.GetRawHandle());
    EXPECT_EQ(77, shared.GetRowPointer(0)[0]);

    const zylDIB adopted(original.GetHandle(), 300, 300);
    EXPECT_FALSE(adopted.IsZeroWhite()); // first palette entry is black
    EXPECT_EQ(300.0, adopted.GetXResolution());
    EXPECT_EQ(original.GetBits(), adopted.GetBits());

    const zylDIB copy = original.CopyToHandle();
    EXPECT_NE(original.GetRawHandle(), copy.GetRawHandle());
    EXPECT_EQ(77, copy.GetRowPointer(0)[0]);
    copy.GetRowPointer(0)[0] = 1;
    EXPECT_EQ(77, original.GetRowPointer(0)[0]);

    EXPECT_TRUE(zylDIB(zylDIB(4, 2, 1, 150, 150, true).GetHandle(), 1, 1).IsZeroWhite());
}

TEST(zylDIB, AdoptingABlockTooSmallForItsHeaderIsRefused) {
    const zylDIB big(64, 64, 24, 100, 100, false);
    CommonCpp::SafeHandle truncated = big.GetHandle().Clone(40 + 100);
    EXPECT_THROW(zylDIB(truncated, 100, 100), CommonCpp::BadHandleException);
    EXPECT_FALSE(truncated.IsLocked());
    CommonCpp::SafeHandle tiny(10, true);
    EXPECT_THROW(zylDIB(tiny, 100, 100), CommonCpp::BadHandleException);
}

TEST(zylDIB, DetachedBlockSurvivesTheBitmap) {
    HGLOBAL handed;
    {
        zylDIB dib(3, 3, 8, 100, 100, false);
        const zylDIB second(dib);
        handed = dib.Detach();
    }
    ASSERT_NE(GMEM_INVALID_HANDLE, GlobalFlags(handed));
    EXPECT_EQ(0u, GlobalFlags(handed) & GMEM_LOCKCOUNT);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(handed));
    EXPECT_EQ(3, header->biWidth);
    GlobalUnlock(handed);
    GlobalFree(handed);
}

TEST(zylDIB, ReadRowsFillsFromTheTop) {
    const std::string path = TempPath("nimbrel_dib_rows.raw");
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        const unsigned char data[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        std::fwrite(data, 1, sizeof data, file);
        std::fclose(file);
    }
    zylDIB dib(1, 3, 24, 100, 100, false);
    {
        CommonCpp::zylFile reader(CommonCpp::FileSpec(path), CommonCpp::zylFile::ModeBinary);
        dib.ReadRowsSwapRB(reader, 3);
    }
    std::remove(path.c_str());
    EXPECT_EQ((Bytes{3, 2, 1}), Bytes(dib.GetRowPointer(0), dib.GetRowPointer(0) + 3));
    EXPECT_EQ((Bytes{9, 8, 7}), Bytes(dib.GetRowPointer(2), dib.GetRowPointer(2) + 3));
}

TEST(zylDIB, DrawPutsTheTopRowAtTheTop) {
    zylDIB dib(4, 4, 24, 100, 100, false);
    const unsigned char red[12] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255}; // BGR
    const unsigned char blue[12] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0};
    dib.SetRow(0, red, sizeof red);
    for (std::uint32_t y = 1; y < 4; ++y) {
        dib.SetRow(y, blue, sizeof blue);
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, target);

    dib.Draw(dc, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4}, nullptr);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 1, 0));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 1, 1));
    // Only the lower half of the picture, one to one.
    dib.Draw(dc, RECT{4, 0, 8, 2}, RECT{0, 2, 4, 4}, nullptr);
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 5, 0));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 5, 1));
    // Stretched to twice the size.
    dib.Draw(dc, RECT{0, 0, 8, 8}, RECT{0, 0, 4, 4}, nullptr);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 3, 1));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 3, 6));

    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteDC(dc);
}
