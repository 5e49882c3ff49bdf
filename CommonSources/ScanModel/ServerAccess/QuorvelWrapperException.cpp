#include "QuorvelWrapperException.h"

#include <cstring>

#include "QuorvelWrapper.h"

namespace {
char g_whatBuffer[256];
}

QuorvelWrapperException::QuorvelWrapperException(const char* sourceFile, int16_t line,
                                                 int32_t resultCode)
    : CommonCpp::Exception(sourceFile ? sourceFile : "", line), m_resultCode(resultCode) {}

QuorvelWrapperException::~QuorvelWrapperException() = default;

const char* QuorvelWrapperException::what() const noexcept {
    std::memset(g_whatBuffer, 0, sizeof(g_whatBuffer));
    try {
        const std::string name = QuorvelWrapper::ResultToString(m_resultCode);
        std::strncpy(g_whatBuffer, name.c_str(), sizeof(g_whatBuffer) - 1);
    } catch (...) {
        // An empty text rather than an exception out of what().
    }
    return g_whatBuffer;
}

int32_t QuorvelWrapperException::GetResultCode() const {
    return m_resultCode;
}
