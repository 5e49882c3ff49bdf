#pragma once
// A server call failed where the scan model cannot go on; carries the library's result code.

#include <cstdint>

#include "Exception.h"

class QuorvelWrapperException : public CommonCpp::Exception {
public:
    QuorvelWrapperException(const char* sourceFile, int16_t line, int32_t resultCode);
    QuorvelWrapperException(const QuorvelWrapperException& other) = default;
    QuorvelWrapperException& operator=(const QuorvelWrapperException& other) = default;
    ~QuorvelWrapperException() override;

    // The code's name, in one buffer shared by the process: every call overwrites the text any
    // earlier call returned.
    const char* what() const noexcept override;
    virtual int32_t GetResultCode() const;

private:
    int32_t m_resultCode;
};
