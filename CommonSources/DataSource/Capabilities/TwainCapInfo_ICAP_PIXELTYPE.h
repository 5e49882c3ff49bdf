#pragma once
// ICAP_PIXELTYPE: the pixel types of the server's colour modes; while a page is handed over,
// that page's.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_PIXELTYPE : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_PIXELTYPE();
    ~TwainCapInfo_ICAP_PIXELTYPE() override;

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
