#pragma once
// The data source's failure of a TWAIN call: the return and condition code the call answers.

#include "Exception.h"
#include "TwainDefs.h"

class TwainException : public CommonCpp::Exception {
public:
    TwainException(const std::string& sourceFile, int line, TW_UINT16 conditionCode,
                   TW_UINT16 returnCode = TWRC_FAILURE);
    TwainException(const TwainException& other) = default;
    TwainException& operator=(const TwainException& other) = default;
    ~TwainException() override;

    const char* what() const noexcept override;
    std::ostream& Print(std::ostream& os) const override;

    TW_UINT16 GetConditionCode() const { return m_conditionCode; }
    TW_UINT16 GetReturnCode() const { return m_returnCode; }

private:
    TW_UINT16 m_conditionCode;
    TW_UINT16 m_returnCode;
};
