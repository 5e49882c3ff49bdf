#pragma once
// The image library failed on a page that TiffReader drives through it.

#include "Exception.h"

class TiffReaderException : public CommonCpp::Exception {
public:
    TiffReaderException(const std::string& sourceFile, int line);
    TiffReaderException(const TiffReaderException& other) = default;
    TiffReaderException& operator=(const TiffReaderException& other) = default;
    ~TiffReaderException() override;

    const char* what() const noexcept override;
};
