#include "TypeException.h"

namespace CommonTwain {

TypeException::TypeException(const std::string& sourceFile, int line)
    : CommonCpp::Exception(sourceFile, line) {}

TypeException::~TypeException() = default;

const char* TypeException::what() const noexcept {
    return "TypeException";
}

} // namespace CommonTwain
