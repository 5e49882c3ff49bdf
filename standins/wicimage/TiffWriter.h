#pragma once
// TIFF files written by our own code: Windows Imaging Component on Wine writes every TIFF
// uncompressed whatever the encoder options say, so the compressions are done here.

#include <string>
#include <vector>

#include "WicImage.h"

namespace wicimage {

// Little-endian TIFF, one page a picture, one strip a page. Bilevel pages are 1 bit deep with
// 1 for black (white is zero), grey pages 8 bits with 0 for black, colour pages 8, 8, 8 bits of
// red, green and blue. Compressed: CCITT group 4 for bilevel pages, LZW for the others.
std::string WriteTiff(const std::vector<const Picture*>& pages, bool compressed);

// The codings themselves, for tests: rows of 1-bit pixels (1 = black, first pixel in the high
// bit, rows padded to whole bytes), and any bytes.
std::string EncodeGroup4(const std::string& rows, int width, int height);
std::string EncodeLzw(const std::string& bytes);

} // namespace wicimage
