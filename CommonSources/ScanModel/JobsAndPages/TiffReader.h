#pragma once
// The page-file reader for TIFF pages (the first page of the file).

#include "PageFileReader.h"

class TiffReader : public PageFileReader {
public:
    // Throws CommonCpp::BinaryFileException (can't open) when the input cannot be opened.
    explicit TiffReader(const CommonCpp::FileSpec& input);

protected:
    [[noreturn]] void ThrowLibraryFailure() const override;
};
