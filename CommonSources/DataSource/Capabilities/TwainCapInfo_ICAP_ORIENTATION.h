#pragma once
// ICAP_ORIENTATION: portrait or landscape, as the server offers them. MSG_GET lists every
// orientation the server offers, whatever the application narrowed; there is no default apart
// from the current value, so a reset changes nothing.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_ORIENTATION : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_ORIENTATION();
    ~TwainCapInfo_ICAP_ORIENTATION() override;

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
