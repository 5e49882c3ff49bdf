#pragma once
// A capability value the model cannot accept. Loading catches it per step, so it never leaves
// ScanServerCapabilities::LoadFromServerAttributes.

#include <cstdint>
#include <string>

#include "Exception.h"

class ScanServerCapException : public CommonCpp::Exception {
public:
    enum Code : int32_t {
        kMaxResolutionInvalid = 1,
        kMinResolutionInvalid = 2,
        kResStepSizeInvalid = 3,
        kResolutionCountInvalid = 4,
        kDefaultResolutionInvalid = 5,
        kScanSourceCountInvalid = 6,
        kFileFormatCountInvalid = 7,
        kColorModeCountInvalid = 8,
        kColorModeInvalid = 9,
        kUnknownProblem = 10,
        kCompressionCountInvalid = 11,
        kDefaultCompressionInvalid = 12,
        kPageSizeCountInvalid = 13,
        kValueNotAllowed = 14,
    };

    // Capability name and value empty.
    ScanServerCapException(const std::string& sourceFile, int line, int32_t code);
    // For kValueNotAllowed: the capability and the value it should not have.
    ScanServerCapException(const std::string& sourceFile, int line, int32_t code,
                           const std::string& capability, const std::string& value);
    ScanServerCapException(const ScanServerCapException& other) = default;
    ScanServerCapException& operator=(const ScanServerCapException& other) = default;
    ~ScanServerCapException() override;

    const char* what() const noexcept override;

    int32_t GetCode() const { return m_code; }
    const std::string& GetCapability() const { return m_capability; }
    const std::string& GetValue() const { return m_value; }

private:
    int32_t m_code;
    std::string m_capability;
    std::string m_value;
    std::string m_message;
};
