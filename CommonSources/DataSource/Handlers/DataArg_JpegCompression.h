#pragma once
// DAT_JPEGCOMPRESSION: JPEG settings belong to the server; every message fails.

#include "AbstractDataArg.h"

class DataArg_JpegCompression : public AbstractDataArg {
public:
    ~DataArg_JpegCompression() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_JPEGCOMPRESSION; }
};
