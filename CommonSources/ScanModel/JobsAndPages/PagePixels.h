#pragma once
// The pixel rows of a local page file, decoded once through the platform's imaging codecs
// (JPEG, TIFF and whatever else they read), in the form the server sends raw rows: no padding,
// 1 bit per pixel with a set bit black, 8 bits grey with 0 black, or 24 bits red, green, blue.
// A picture is kept at the depth it is stored at; bilevel and grey pictures in other pixel
// formats (palettes) count as colour.

#include <cstdint>
#include <string>

class PagePixels {
public:
    // The first picture of the file; false (and nothing kept) when it cannot be decoded.
    bool Load(const std::string& path);

    std::int32_t GetWidth() const { return m_width; }
    std::int32_t GetHeight() const { return m_height; }
    // 1, 8 or 24; 0 before a successful Load.
    std::int32_t GetBitsPerPixel() const { return m_bitsPerPixel; }
    const std::string& GetRows() const { return m_rows; }

private:
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int32_t m_bitsPerPixel = 0;
    std::string m_rows;
};
