#pragma once
// ICAP_UNITS: the unit of every length and resolution the application reads and writes,
// remembered per application.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_UNITS : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_UNITS();
    ~TwainCapInfo_ICAP_UNITS() override;

    TW_UINT16 Reset(TW_CAPABILITY& capability) override;
    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
    TW_UINT16 SetEnumeration(TW_CAPABILITY& capability, const TW_ENUMERATION* memory,
                             unsigned long size) override;
};
