#include "ScanServerCapException.h"

namespace {

const char* const kUnknownText = "ScanServerCapException: Unknown Problem";

std::string MessageFor(int32_t code, const std::string& capability, const std::string& value) {
    switch (code) {
    case ScanServerCapException::kMaxResolutionInvalid:
        return "ScanServerCapException: MAX_RESOLUTION has invalid value";
    case ScanServerCapException::kMinResolutionInvalid:
        return "ScanServerCapException: MIN_RESOLUTION has invalid value";
    case ScanServerCapException::kResStepSizeInvalid:
        return "ScanServerCapException: RES_STEP_SIZE has invalid value";
    case ScanServerCapException::kResolutionCountInvalid:
        return "ScanServerCapException: N_RESOLUTION has invalid value";
    case ScanServerCapException::kDefaultResolutionInvalid:
        return "ScanServerCapException: RESOLUTION has invalid default resolution value";
    case ScanServerCapException::kScanSourceCountInvalid:
        return "ScanServerCapException: N_SCAN_SOURCE has invalid value";
    case ScanServerCapException::kFileFormatCountInvalid:
        return "ScanServerCapException: N_FILE_FORMAT has invalid value";
    case ScanServerCapException::kColorModeCountInvalid:
        return "ScanServerCapException: N_COLOR_MODE has invalid value";
    case ScanServerCapException::kColorModeInvalid:
        return "ScanServerCapException: COLOR_MODE has invalid value";
    case ScanServerCapException::kCompressionCountInvalid:
        return "ScanServerCapException: N_COMPRESSION has invalid value";
    case ScanServerCapException::kDefaultCompressionInvalid:
        return "ScanServerCapException: COMPRESSION has invalid default compression value";
    case ScanServerCapException::kPageSizeCountInvalid:
        return "ScanServerCapException: N_PAGESIZE has invalid value";
    case ScanServerCapException::kValueNotAllowed:
        // Filled by hand: the texts come from the server and may hold "%".
        return "ScanServerCapException '" + capability + "' should not have '" + value +
               "' as value.";
    default:
        return kUnknownText;
    }
}

} // namespace

ScanServerCapException::ScanServerCapException(const std::string& sourceFile, int line,
                                               int32_t code)
    : ScanServerCapException(sourceFile, line, code, std::string(), std::string()) {}

ScanServerCapException::ScanServerCapException(const std::string& sourceFile, int line,
                                               int32_t code, const std::string& capability,
                                               const std::string& value)
    : CommonCpp::Exception(sourceFile, line), m_code(code), m_capability(capability),
      m_value(value), m_message(MessageFor(code, capability, value)) {}

ScanServerCapException::~ScanServerCapException() = default;

const char* ScanServerCapException::what() const noexcept {
    return m_message.c_str();
}
