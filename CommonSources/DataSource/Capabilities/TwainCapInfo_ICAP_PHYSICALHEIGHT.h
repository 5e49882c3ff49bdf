#pragma once
// ICAP_PHYSICALHEIGHT: the platen's height (11 inches) in the current units; read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_PHYSICALHEIGHT : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_PHYSICALHEIGHT();
    ~TwainCapInfo_ICAP_PHYSICALHEIGHT() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
