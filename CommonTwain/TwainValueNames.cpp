#include "TwainValueNames.h"

#include <iterator>

namespace {

const char* const kPixelTypeNames[] = {"BW",   "GRAY", "RGB",  "PALETTE", "CMY",
                                       "CMYK", "YUV",  "YUVK", "CIEXYZ"};
const char* const kCompressionNames[] = {
    "NONE", "PACKBITS", "GROUP31D", "GROUP31DEOL", "GROUP32D", "GROUP4",   "JPEG",
    "LZW",  "JBIG",     "PNG",      "RLE4",        "RLE8",     "BITFIELDS"};
// Indexed by file format + 1.
const char* const kFileFormatNames[] = {"RAW", "TIFF",      "PICT", "BMP",   "XBM", "JFIF",
                                        "FPX", "TIFFMULTI", "PNG",  "SPIFF", "EXIF"};

template <std::size_t N> std::string NameAt(const char* const (&table)[N], int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
        return std::string();
    }
    return table[index];
}

} // namespace

std::string pixelTypeToString(int code) {
    return NameAt(kPixelTypeNames, code);
}

std::string compressionToString(int code) {
    return NameAt(kCompressionNames, code);
}

std::string fileFormatToString(int code) {
    // Checked before adding 1, so the largest int cannot wrap.
    if (code < -1 || code >= static_cast<int>(std::size(kFileFormatNames)) - 1) {
        return std::string();
    }
    return kFileFormatNames[code + 1];
}
