#pragma once
// A native transfer's packed bitmap read back as rows, for comparing pictures in tests.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

// A packed device-independent bitmap read back: header, palette and rows top-down, each row
// cut to the bytes its pixels take (the padding to 4 bytes is checked and dropped).
struct Bitmap {
    BITMAPINFOHEADER header = {};
    std::vector<RGBQUAD> palette;
    std::string rows;
    std::uint32_t stride = 0;
};

inline Bitmap ReadBitmap(const unsigned char* dib) {
    Bitmap bitmap;
    std::memcpy(&bitmap.header, dib, sizeof(bitmap.header));
    const BITMAPINFOHEADER& h = bitmap.header;
    std::uint32_t colours = h.biClrUsed;
    if (colours == 0 && h.biBitCount <= 8) {
        colours = 1u << h.biBitCount;
    }
    const auto* palette = reinterpret_cast<const RGBQUAD*>(dib + h.biSize);
    bitmap.palette.assign(palette, palette + colours);
    const unsigned char* bits = dib + h.biSize + colours * sizeof(RGBQUAD);
    bitmap.stride = (static_cast<std::uint32_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    const std::uint32_t used = (static_cast<std::uint32_t>(h.biWidth) * h.biBitCount + 7) / 8;
    const LONG height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    for (LONG y = 0; y < height; ++y) {
        const LONG stored = h.biHeight > 0 ? height - 1 - y : y;
        bitmap.rows.append(reinterpret_cast<const char*>(bits) + bitmap.stride * stored, used);
    }
    return bitmap;
}

inline Bitmap ReadBitmap(HGLOBAL handle) {
    const auto* dib = static_cast<const unsigned char*>(GlobalLock(handle));
    Bitmap bitmap = ReadBitmap(dib);
    GlobalUnlock(handle);
    return bitmap;
}

// 24-bit rows with red and blue exchanged; other depths unchanged.
inline std::string SwapRedBlue(std::string rows, int bits) {
    if (bits == 24) {
        for (size_t i = 0; i + 2 < rows.size(); i += 3) {
            std::swap(rows[i], rows[i + 2]);
        }
    }
    return rows;
}
