#include "ServerDownException.h"

ServerDownException::ServerDownException(const std::string& sourceFile, int line)
    : Exception(sourceFile, line) {}

ServerDownException::~ServerDownException() = default;

const char* ServerDownException::what() const noexcept {
    return "Server Down Exception";
}

std::string ServerDownException::GetDescription() const {
    return "Server Down Exception";
}
