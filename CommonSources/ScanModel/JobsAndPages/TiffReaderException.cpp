#include "TiffReaderException.h"

TiffReaderException::TiffReaderException(const std::string& sourceFile, int line)
    : CommonCpp::Exception(sourceFile, line) {}

TiffReaderException::~TiffReaderException() = default;

const char* TiffReaderException::what() const noexcept {
    return "TiffReaderException";
}
