#pragma once
// ICAP_BITDEPTH: the depths of the current pixel type; while a page is handed over, that
// page's. A reset restores the depths of every pixel type.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_BITDEPTH : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_BITDEPTH();
    ~TwainCapInfo_ICAP_BITDEPTH() override;

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
