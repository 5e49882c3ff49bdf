#include "WicImage.h"

#include <algorithm>

namespace wicimage {

namespace {

std::uint8_t Luminance(const std::uint8_t* rgb) {
    return static_cast<std::uint8_t>((rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114 + 500) / 1000);
}

std::uint8_t Threshold(std::uint8_t grey) {
    return grey < 128 ? 0 : 255;
}

} // namespace

int Picture::BitsPerPixel() const {
    switch (kind) {
    case PixelKind::Bilevel:
        return 1;
    case PixelKind::Grey:
        return 8;
    case PixelKind::Colour:
        break;
    }
    return 24;
}

void Picture::Allocate() {
    samples.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * Channels(), 0);
}

bool Crop(const Picture& source, int top, int left, int bottom, int right, Picture& result) {
    if (top < 0 || left < 0 || bottom > source.height || right > source.width || top >= bottom ||
        left >= right) {
        return false;
    }
    Picture cropped;
    cropped.width = right - left;
    cropped.height = bottom - top;
    cropped.kind = source.kind;
    cropped.dpiX = source.dpiX;
    cropped.dpiY = source.dpiY;
    cropped.Allocate();
    const size_t channels = source.Channels();
    const size_t rowBytes = cropped.width * channels;
    for (int y = 0; y < cropped.height; ++y) {
        const std::uint8_t* const from =
            &source.samples[((top + y) * static_cast<size_t>(source.width) + left) * channels];
        std::copy(from, from + rowBytes, &cropped.samples[y * rowBytes]);
    }
    result = std::move(cropped);
    return true;
}

bool Resize(const Picture& source, int width, int height, bool smooth, Picture& result) {
    if (width < 1 || height < 1 || source.width < 1 || source.height < 1) {
        return false;
    }
    Picture resized;
    resized.width = width;
    resized.height = height;
    resized.kind = source.kind;
    resized.dpiX = source.dpiX * width / source.width;
    resized.dpiY = source.dpiY * height / source.height;
    resized.Allocate();
    const int channels = source.Channels();
    for (int y = 0; y < height; ++y) {
        // Source rows [y0, y1) cover this output row; at least one row.
        const int y0 = static_cast<int>(static_cast<long long>(y) * source.height / height);
        const int y1 = std::max(
            y0 + 1, static_cast<int>(static_cast<long long>(y + 1) * source.height / height));
        for (int x = 0; x < width; ++x) {
            const int x0 = static_cast<int>(static_cast<long long>(x) * source.width / width);
            const int x1 = std::max(
                x0 + 1, static_cast<int>(static_cast<long long>(x + 1) * source.width / width));
            std::uint8_t* const to =
                &resized.samples[(static_cast<size_t>(y) * width + x) * channels];
            if (!smooth) {
                const int sy = static_cast<int>((static_cast<long long>(y) * 2 + 1) *
                                                source.height / (2LL * height));
                const int sx = static_cast<int>((static_cast<long long>(x) * 2 + 1) * source.width /
                                                (2LL * width));
                const std::uint8_t* const from =
                    &source.samples[(static_cast<size_t>(sy) * source.width + sx) * channels];
                std::copy(from, from + channels, to);
                continue;
            }
            for (int c = 0; c < channels; ++c) {
                unsigned long sum = 0;
                for (int sy = y0; sy < y1; ++sy) {
                    const std::uint8_t* row =
                        &source.samples[static_cast<size_t>(sy) * source.width * channels];
                    for (int sx = x0; sx < x1; ++sx) {
                        sum += row[sx * channels + c];
                    }
                }
                const unsigned long count = static_cast<unsigned long>(y1 - y0) * (x1 - x0);
                const auto mean = static_cast<std::uint8_t>((sum + count / 2) / count);
                to[c] = source.kind == PixelKind::Bilevel ? Threshold(mean) : mean;
            }
        }
    }
    result = std::move(resized);
    return true;
}

Picture ConvertKind(const Picture& source, PixelKind kind) {
    if (source.kind == kind) {
        return source;
    }
    Picture converted;
    converted.width = source.width;
    converted.height = source.height;
    converted.kind = kind;
    converted.dpiX = source.dpiX;
    converted.dpiY = source.dpiY;
    converted.Allocate();
    const size_t pixels = static_cast<size_t>(source.width) * source.height;
    for (size_t i = 0; i < pixels; ++i) {
        const std::uint8_t grey = source.kind == PixelKind::Colour
                                      ? Luminance(&source.samples[i * 3])
                                      : source.samples[i];
        switch (kind) {
        case PixelKind::Colour:
            converted.samples[i * 3] = grey;
            converted.samples[i * 3 + 1] = grey;
            converted.samples[i * 3 + 2] = grey;
            break;
        case PixelKind::Grey:
            converted.samples[i] = grey;
            break;
        case PixelKind::Bilevel:
            converted.samples[i] = Threshold(grey);
            break;
        }
    }
    return converted;
}

std::string RawRows(const Picture& picture, int bitsPerPixel) {
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24) {
        return std::string();
    }
    const PixelKind kind = bitsPerPixel == 1   ? PixelKind::Bilevel
                           : bitsPerPixel == 8 ? PixelKind::Grey
                                               : PixelKind::Colour;
    const Picture converted = ConvertKind(picture, kind);
    if (bitsPerPixel != 1) {
        return std::string(converted.samples.begin(), converted.samples.end());
    }
    const size_t rowBytes = (static_cast<size_t>(picture.width) + 7) / 8;
    std::string rows(rowBytes * picture.height, '\0');
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (converted.samples[static_cast<size_t>(y) * picture.width + x] == 0) {
                rows[y * rowBytes + x / 8] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
    }
    return rows;
}

} // namespace wicimage
