#pragma once
// The image library failed on a page that JpegReader drives through it.

#include "Exception.h"

class JpegReaderException : public CommonCpp::Exception {
public:
    JpegReaderException(const std::string& sourceFile, int line);
    JpegReaderException(const JpegReaderException& other) = default;
    JpegReaderException& operator=(const JpegReaderException& other) = default;
    ~JpegReaderException() override;

    const char* what() const noexcept override;
};
