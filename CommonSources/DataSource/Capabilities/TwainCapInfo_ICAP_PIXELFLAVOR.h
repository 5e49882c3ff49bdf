#pragma once
// ICAP_PIXELFLAVOR: whether 0 is black or white, remembered per application; only one value at
// a time may be set.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_PIXELFLAVOR : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_PIXELFLAVOR();
    ~TwainCapInfo_ICAP_PIXELFLAVOR() override;

    TW_UINT16 Reset(TW_CAPABILITY& capability) override;
    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
