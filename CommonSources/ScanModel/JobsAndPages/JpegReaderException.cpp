#include "JpegReaderException.h"

JpegReaderException::JpegReaderException(const std::string& sourceFile, int line)
    : CommonCpp::Exception(sourceFile, line) {}

JpegReaderException::~JpegReaderException() = default;

const char* JpegReaderException::what() const noexcept {
    return "JpegReaderException";
}
