#include "zylDIB.h"

#include "Exception.h"
#include "FileSpec.h"
#include "zylBinaryWriteFile.h"
#include "zylFile.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

constexpr double InchesPerMeter = 39.370078740157474;
constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = sizeof(BITMAPINFOHEADER);
// Larger pictures do not fit one block on a 32-bit system anyway.
constexpr std::uint64_t MaxBlockSize = 0x7FFFFFFF;

std::uint64_t RowBytesOf(std::uint64_t bitsPerPixel, std::uint64_t width) {
    return (bitsPerPixel * width + 31) / 32 * 4;
}

bool HasByteShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

// Exchanges red and blue of whole pixels, five (15 bytes) a step through one 16-byte shuffle
// whose last byte is rewritten by the next step; stops while 16 bytes still fit in source and
// row. Answers the pixels done.
__attribute__((target("ssse3"), force_align_arg_pointer)) std::uint32_t
SwapRedBlueShuffled(BYTE* row, const BYTE* source, std::uint32_t pixels) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::uint32_t i = 0;
    for (; i + 6 <= pixels; i += 5) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 3 * i), _mm_shuffle_epi8(in, order));
    }
    return i;
}

} // namespace

std::uint32_t zylDIB::PaletteEntriesOf(std::uint16_t bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

zylDIB::zylDIB(std::uint32_t width, std::uint32_t height, std::uint16_t bitsPerPixel, double xDpi,
               double yDpi, bool zeroIsWhite)
    : m_xResolution(xDpi), m_yResolution(yDpi), m_zeroIsWhite(zeroIsWhite) {
    const std::uint32_t entries = PaletteEntriesOf(bitsPerPixel);
    const std::uint64_t imageSize = RowBytesOf(bitsPerPixel, width) * height;
    const std::uint64_t total = InfoHeaderSize + 4ull * entries + imageSize;
    if (total > MaxBlockSize || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        throw std::bad_alloc();
    }
    m_block = CommonCpp::SafeHandle(static_cast<std::uint32_t>(total), true);

    CommonCpp::HandleLocker lock(m_block);
    auto* header = static_cast<BITMAPINFOHEADER*>(lock.GetPointer());
    header->biSize = InfoHeaderSize;
    header->biWidth = static_cast<LONG>(width);
    header->biHeight = static_cast<LONG>(height);
    header->biPlanes = 1;
    header->biBitCount = bitsPerPixel;
    header->biCompression = BI_RGB;
    header->biSizeImage = static_cast<DWORD>(imageSize);
    header->biXPelsPerMeter = static_cast<LONG>(xDpi * InchesPerMeter);
    header->biYPelsPerMeter = static_cast<LONG>(yDpi * InchesPerMeter);
    header->biClrUsed = entries;
    header->biClrImportant = entries;

    auto* palette = reinterpret_cast<RGBQUAD*>(header + 1);
    const std::uint32_t step = entries > 1 ? 255 / (entries - 1) : 0;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const auto grey = static_cast<BYTE>(zeroIsWhite ? 255 - step * i : step * i);
        palette[i] = RGBQUAD{grey, grey, grey, 0};
    }
    Attach();
}

zylDIB::zylDIB(const CommonCpp::SafeHandle& block, double xDpi, double yDpi)
    : m_block(block), m_xResolution(xDpi), m_yResolution(yDpi) {
    Attach();
    m_zeroIsWhite = true;
    if (m_header->biBitCount == 1 || m_header->biBitCount == 4 || m_header->biBitCount == 8) {
        const auto* first = reinterpret_cast<const RGBQUAD*>(
            reinterpret_cast<const BYTE*>(m_header) + m_header->biSize);
        if (m_paletteEntries > 0 && first->rgbBlue == 0 && first->rgbGreen == 0 &&
            first->rgbRed == 0) {
            m_zeroIsWhite = false;
        }
    }
}

zylDIB::zylDIB(const zylDIB& other)
    : m_block(other.m_block), m_xResolution(other.m_xResolution),
      m_yResolution(other.m_yResolution), m_zeroIsWhite(other.m_zeroIsWhite) {
    Attach();
}

zylDIB::~zylDIB() {
    try {
        m_block.Unlock();
    } catch (const CommonCpp::Exception&) {
        // Nothing was locked.
    }
}

void zylDIB::Attach() {
    auto* base = static_cast<BYTE*>(m_block.Lock());
    const std::uint64_t blockSize = m_block.GetSize();
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(base);

    // A header, palette or picture larger than the block would send every row write past it.
    bool fits = blockSize >= InfoHeaderSize && header->biSize >= InfoHeaderSize &&
                header->biSize <= blockSize && header->biWidth >= 0;
    std::uint64_t entries = 0;
    std::uint64_t rowBytes = 0;
    std::uint64_t imageSize = 0;
    if (fits) {
        entries = header->biClrUsed != 0 ? header->biClrUsed : PaletteEntriesOf(header->biBitCount);
        const std::uint64_t height =
            header->biHeight < 0 ? -static_cast<std::int64_t>(header->biHeight) : header->biHeight;
        rowBytes = RowBytesOf(header->biBitCount, static_cast<std::uint64_t>(header->biWidth));
        imageSize = rowBytes * height;
        fits = header->biSize + 4 * entries + imageSize <= blockSize;
    }
    if (!fits) {
        m_block.Unlock();
        throw CommonCpp::BadHandleException(__FILE__, __LINE__);
    }
    header->biSizeImage = static_cast<DWORD>(imageSize);
    m_header = header;
    m_paletteEntries = static_cast<std::uint32_t>(entries);
    m_rowBytes = static_cast<std::uint32_t>(rowBytes);
    m_dibSize = static_cast<std::uint32_t>(header->biSize + 4 * entries + imageSize);
    m_pixels = base + header->biSize + 4 * entries;
}

zylDIB zylDIB::CopyToHandle() const {
    return zylDIB(m_block.Clone(0), m_xResolution, m_yResolution);
}

void zylDIB::Draw(HDC dc, const RECT& destination, const RECT& source, HPALETTE palette) const {
    HPALETTE previous = nullptr;
    if (palette != nullptr) {
        previous = SelectPalette(dc, palette, TRUE);
        RealizePalette(dc);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    const int destinationWidth = destination.right - destination.left;
    const int destinationHeight = destination.bottom - destination.top;
    const int sourceWidth = source.right - source.left;
    const int sourceHeight = source.bottom - source.top;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(m_header);
    if (destinationWidth == sourceWidth && destinationHeight == sourceHeight) {
        SetDIBitsToDevice(dc, destination.left, destination.top, destinationWidth,
                          destinationHeight, source.left,
                          GetHeight() - source.top - destinationHeight, 0,
                          static_cast<UINT>(GetHeight()), m_pixels, info, DIB_RGB_COLORS);
    } else {
        StretchDIBits(dc, destination.left, destination.top, destinationWidth, destinationHeight,
                      source.left, source.top, sourceWidth, sourceHeight, m_pixels, info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    if (palette != nullptr) {
        SelectPalette(dc, previous, TRUE);
    }
}

void zylDIB::SaveAsBmp(const CommonCpp::FileSpec& file) const {
    const std::uint32_t paletteBytes = 4 * m_paletteEntries;
    const std::uint32_t offBits = FileHeaderSize + InfoHeaderSize + paletteBytes;

    CommonCpp::zylBinaryWriteFile out(file);
    out.WriteUInt16(0x4D42); // "BM"
    out.WriteUInt32(offBits + m_header->biSizeImage);
    out.WriteUInt16(0);
    out.WriteUInt16(0);
    out.WriteUInt32(offBits);

    // The file's header is always the 40-byte one, followed by the palette.
    out.WriteUInt32(InfoHeaderSize);
    out.WriteUInt32(static_cast<std::uint32_t>(m_header->biWidth));
    out.WriteUInt32(static_cast<std::uint32_t>(m_header->biHeight));
    out.WriteUInt16(m_header->biPlanes);
    out.WriteUInt16(m_header->biBitCount);
    out.WriteUInt32(m_header->biCompression);
    out.WriteUInt32(m_header->biSizeImage);
    out.WriteUInt32(static_cast<std::uint32_t>(m_header->biXPelsPerMeter));
    out.WriteUInt32(static_cast<std::uint32_t>(m_header->biYPelsPerMeter));
    out.WriteUInt32(m_header->biClrUsed);
    out.WriteUInt32(m_header->biClrImportant);
    if (paletteBytes > 0) {
        out.Write(reinterpret_cast<const BYTE*>(m_header) + m_header->biSize, paletteBytes);
    }
    if (m_header->biSizeImage > 0) {
        out.Write(m_pixels, m_header->biSizeImage);
    }
    out.Close();
}

BYTE* zylDIB::GetBits() const {
    return m_pixels;
}

BITMAPINFOHEADER* zylDIB::GetInfoHeader() const {
    return m_header;
}

BITMAPINFO* zylDIB::GetBitmapInfo() const {
    return reinterpret_cast<BITMAPINFO*>(m_header);
}

HGLOBAL zylDIB::GetRawHandle() const {
    return m_block.GetHandle();
}

HGLOBAL zylDIB::Detach() {
    return m_block.Detach();
}

CommonCpp::SafeHandle zylDIB::GetHandle() const {
    return m_block;
}

WORD zylDIB::GetBitCount() const {
    return m_header->biBitCount;
}

BYTE* zylDIB::GetRowPointer(std::uint32_t y) const {
    const std::uint32_t height = static_cast<std::uint32_t>(std::abs(m_header->biHeight));
    if (y >= height) {
        throw std::out_of_range("zylDIB row");
    }
    return m_pixels + static_cast<std::size_t>(m_rowBytes) * (height - y - 1);
}

void zylDIB::SetRow(std::uint32_t y, const void* bytes, std::uint32_t n) {
    std::memcpy(GetRowPointer(y), bytes, std::min(n, m_rowBytes));
}

void zylDIB::SetRowSwapRB(std::uint32_t y, const void* bytes, std::uint32_t n) {
    BYTE* row = GetRowPointer(y);
    const auto* source = static_cast<const BYTE*>(bytes);
    const std::uint32_t pixels = std::min(n, m_rowBytes) / 3;
    // A native transfer stores every row of the page through here, so the exchange runs five
    // pixels a step where the processor can, else four as three 32-bit words
    // (R0 G0 B0 R1 | G1 B1 R2 G2 | B2 R3 G3 B3 -> B0 G0 R0 B1 | ...).
    std::uint32_t i = HasByteShuffle() ? SwapRedBlueShuffled(row, source, pixels) : 0;
    for (; i + 4 <= pixels; i += 4) {
        std::uint32_t w[3];
        std::memcpy(w, source + 3 * i, sizeof w);
        const std::uint32_t out[3] = {((w[0] >> 16) & 0xFFu) | (w[0] & 0xFF00u) |
                                          ((w[0] & 0xFFu) << 16) | ((w[1] & 0xFF00u) << 16),
                                      (w[1] & 0xFFu) | ((w[0] >> 16) & 0xFF00u) |
                                          ((w[2] & 0xFFu) << 16) | (w[1] & 0xFF000000u),
                                      ((w[1] >> 16) & 0xFFu) | ((w[2] >> 16) & 0xFF00u) |
                                          (w[2] & 0xFF0000u) | ((w[2] & 0xFF00u) << 16)};
        std::memcpy(row + 3 * i, out, sizeof out);
    }
    for (; i < pixels; ++i) {
        row[3 * i] = source[3 * i + 2];
        row[3 * i + 1] = source[3 * i + 1];
        row[3 * i + 2] = source[3 * i];
    }
}

bool zylDIB::IsZeroWhite() const {
    return m_zeroIsWhite;
}

std::uint32_t zylDIB::GetRowBytes() const {
    return m_rowBytes;
}

LONG zylDIB::GetHeight() const {
    return m_header->biHeight;
}

LONG zylDIB::GetWidth() const {
    return m_header->biWidth;
}

DWORD zylDIB::GetCompression() const {
    return m_header->biCompression;
}

DWORD zylDIB::GetClrUsed() const {
    return m_header->biClrUsed;
}

DWORD zylDIB::GetClrImportant() const {
    return m_header->biClrImportant;
}

WORD zylDIB::GetPlanes() const {
    return m_header->biPlanes;
}

std::uint32_t zylDIB::GetDibSize() const {
    return m_dibSize;
}

DWORD zylDIB::GetSizeImage() const {
    return m_header->biSizeImage;
}

LONG zylDIB::GetXPelsPerMeter() const {
    return m_header->biXPelsPerMeter;
}

LONG zylDIB::GetYPelsPerMeter() const {
    return m_header->biYPelsPerMeter;
}

double zylDIB::GetXResolution() const {
    return m_xResolution;
}

double zylDIB::GetYResolution() const {
    return m_yResolution;
}

template <typename Store>
void zylDIB::ReadRowsWith(CommonCpp::zylFile& reader, std::uint32_t n, Store store) {
    std::vector<BYTE> buffer(n);
    const std::uint32_t height = static_cast<std::uint32_t>(std::abs(m_header->biHeight));
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t got = reader.ReadBlock(buffer.data(), n);
        (this->*store)(y, buffer.data(), got);
        if (got < n) {
            break; // end of the data
        }
    }
}

void zylDIB::ReadRows(CommonCpp::zylFile& reader, std::uint32_t n) {
    ReadRowsWith(reader, n, &zylDIB::SetRow);
}

void zylDIB::ReadRowsSwapRB(CommonCpp::zylFile& reader, std::uint32_t n) {
    ReadRowsWith(reader, n, &zylDIB::SetRowSwapRB);
}
