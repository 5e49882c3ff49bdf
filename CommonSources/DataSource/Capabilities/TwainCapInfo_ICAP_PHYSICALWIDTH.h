#pragma once
// ICAP_PHYSICALWIDTH: the platen's width (17 inches) in the current units; read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_PHYSICALWIDTH : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_PHYSICALWIDTH();
    ~TwainCapInfo_ICAP_PHYSICALWIDTH() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
