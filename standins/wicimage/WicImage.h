#pragma once
// A decoded picture as plain samples, and the edits the stand-ins make on it.

#include <cstdint>
#include <string>
#include <vector>

namespace wicimage {

// What a picture holds: bilevel pictures keep the samples 0 and 255 only.
enum class PixelKind { Bilevel, Grey, Colour };

struct Picture {
    int width = 0;
    int height = 0;
    PixelKind kind = PixelKind::Colour;
    double dpiX = 0.0;
    double dpiY = 0.0;
    // Top row first, no padding: one sample a pixel (0 black .. 255 white) for bilevel and grey
    // pictures, three (red, green, blue) for colour ones.
    std::vector<std::uint8_t> samples;

    int Channels() const { return kind == PixelKind::Colour ? 3 : 1; }
    // 1, 8 or 24: the depth the picture is stored at in a file.
    int BitsPerPixel() const;
    // Allocates the samples (all 0) for the current size and kind.
    void Allocate();
};

// The rows top..bottom-1 and columns left..right-1; false, nothing changed, for a rectangle
// that is empty or leaves the picture.
bool Crop(const Picture& source, int top, int left, int bottom, int right, Picture& result);

// A copy resized to width x height: smooth averages the source area of each pixel (bilevel
// pictures are thresholded again), otherwise the nearest source pixel is taken. The resolution
// scales with the size, so the picture keeps its physical size. False for sizes below 1.
bool Resize(const Picture& source, int width, int height, bool smooth, Picture& result);

// The same picture held as another kind: grey from colour by luminance, bilevel by a threshold
// at the middle grey.
Picture ConvertKind(const Picture& source, PixelKind kind);

// Rows without padding at 1 (set bit = black, first pixel in the high bit), 8 (grey, 0 black)
// or 24 (red, green, blue) bits per pixel; empty for any other depth.
std::string RawRows(const Picture& picture, int bitsPerPixel);

} // namespace wicimage
