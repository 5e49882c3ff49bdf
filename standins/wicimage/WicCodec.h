#pragma once
// Encoded pictures through Windows Imaging Component: JPEG and TIFF (one or several pages)
// both ways; PNG, BMP and GIF are recognised and decoded too.

#include <string>
#include <vector>

#include "WicImage.h"

namespace wicimage {

enum class Container { Unknown, Jpeg, Tiff, Png, Bmp, Gif };

// COM for the calling thread while the object lives; a thread that already has COM in another
// mode keeps it.
class ComScope {
public:
    ComScope();
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_initialized;
};

// What the bytes are, without decoding the pixels; false when no codec knows them.
struct EncodedInfo {
    Container container = Container::Unknown;
    int frames = 0;
    // Of the first frame.
    int width = 0;
    int height = 0;
    PixelKind kind = PixelKind::Colour;
    double dpiX = 0.0;
    double dpiY = 0.0;
};
bool Probe(const std::string& bytes, EncodedInfo& info, std::string& error);

// Decodes one frame (0-based). A picture without a resolution gets 72 dpi, as the codecs do.
bool Decode(const std::string& bytes, int frame, Picture& picture, std::string& error);

// Encodes the pictures as one file: JPEG takes one picture (bilevel ones become grey) and is
// made by Windows Imaging Component; TIFF takes any number, one page each, CCITT G4 for bilevel
// pages and LZW for the others when compressed, else uncompressed (TiffWriter.h).
bool Encode(const std::vector<const Picture*>& pages, Container container, bool compressed,
            std::string& bytes, std::string& error);

// Whole files.
bool ReadWholeFile(const std::string& path, std::string& bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace wicimage
