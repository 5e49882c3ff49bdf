#pragma once
// The page as the application negotiated it, read once at the start of a transfer:
// resolutions in dots per inch whatever ICAP_UNITS says, and the current bit depth, pixel
// type, compression and file format.

#include "TwainDefs.h"

class ImageAttributes {
public:
    virtual ~ImageAttributes() = default;

    double XResolution = 0;
    double YResolution = 0;
    TW_UINT16 BitDepth = 0;
    TW_UINT16 PixelType = 0;
    TW_UINT16 Compression = 0;
    TW_UINT16 FileFormat = 0;
};
