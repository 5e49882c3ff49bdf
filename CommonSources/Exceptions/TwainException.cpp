#include "TwainException.h"

TwainException::TwainException(const std::string& sourceFile, int line, TW_UINT16 conditionCode,
                               TW_UINT16 returnCode)
    : Exception(sourceFile, line), m_conditionCode(conditionCode), m_returnCode(returnCode) {}

TwainException::~TwainException() = default;

const char* TwainException::what() const noexcept {
    return "Twain Exception";
}

std::ostream& TwainException::Print(std::ostream& os) const {
    os << what() << " return code " << m_returnCode << ", condition code " << m_conditionCode
       << ", line " << GetLine() << ", source file '" << GetSourceFile() << "'" << std::endl;
    return os;
}
