#pragma once
// The page-file reader for JPEG pages.

#include "PageFileReader.h"

class JpegReader : public PageFileReader {
public:
    // Throws CommonCpp::BinaryFileException (can't open) when the input cannot be read.
    explicit JpegReader(const CommonCpp::FileSpec& input);

protected:
    [[noreturn]] void ThrowLibraryFailure() const override;
};
