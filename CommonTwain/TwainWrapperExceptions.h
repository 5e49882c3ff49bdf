#pragma once
// Failures of the application side of TWAIN: a triplet the source manager refused, and a
// source manager that cannot be loaded at all.

#include "Exception.h"
#include "TwainDefs.h"

namespace CommonTwain {

class TwainException : public CommonCpp::Exception {
public:
    TwainException(const std::string& sourceFile, int line, TW_UINT16 returnCode,
                   TW_UINT16 conditionCode);
    TwainException(const TwainException& other) = default;
    TwainException& operator=(const TwainException& other) = default;
    ~TwainException() override;

    const char* what() const noexcept override;
    std::ostream& Print(std::ostream& os) const override;

    TW_UINT16 GetReturnCode() const { return m_returnCode; }
    TW_UINT16 GetConditionCode() const { return m_conditionCode; }

private:
    TW_UINT16 m_returnCode;
    TW_UINT16 m_conditionCode;
};

class TwainMgrNotFoundException : public TwainException {
public:
    TwainMgrNotFoundException(const std::string& sourceFile, int line);
    TwainMgrNotFoundException(const TwainMgrNotFoundException& other) = default;
    TwainMgrNotFoundException& operator=(const TwainMgrNotFoundException& other) = default;
    ~TwainMgrNotFoundException() override;

    const char* what() const noexcept override;
};

} // namespace CommonTwain
