#pragma once
// Custom 0x8002: whether the acquire window hands pages to the application (non-zero) or only
// sends them on. It lives as long as the source; no default.

#include "TwainCapInfo.h"

class TwainCapInfo_zyl_CAP_ShowAcquireGUI : public TwainCapInfo {
public:
    TwainCapInfo_zyl_CAP_ShowAcquireGUI();
    ~TwainCapInfo_zyl_CAP_ShowAcquireGUI() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
