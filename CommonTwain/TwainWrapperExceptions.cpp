#include "TwainWrapperExceptions.h"

namespace CommonTwain {

TwainException::TwainException(const std::string& sourceFile, int line, TW_UINT16 returnCode,
                               TW_UINT16 conditionCode)
    : CommonCpp::Exception(sourceFile, line), m_returnCode(returnCode),
      m_conditionCode(conditionCode) {}

TwainException::~TwainException() = default;

const char* TwainException::what() const noexcept {
    return "TwainException";
}

std::ostream& TwainException::Print(std::ostream& os) const {
    CommonCpp::Exception::Print(os);
    return os << " rc " << m_returnCode << " cc " << m_conditionCode;
}

TwainMgrNotFoundException::TwainMgrNotFoundException(const std::string& sourceFile, int line)
    : TwainException(sourceFile, line, 0, 0) {}

TwainMgrNotFoundException::~TwainMgrNotFoundException() = default;

const char* TwainMgrNotFoundException::what() const noexcept {
    return "TwainMgrNotFoundException";
}

} // namespace CommonTwain
