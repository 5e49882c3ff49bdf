#pragma once
// ICAP_UNDEFINEDIMAGESIZE: whether the application accepts pages of a size not known before the
// scan; kept as it is given until the next connection; no default.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE();
    ~TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
