#pragma once
// ICAP_AUTOMATICBORDERDETECTION: the page's size found by the server. Answered only while the
// application accepts pages of undefined size, and set only where the server finds page sizes by
// itself.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION();
    ~TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
