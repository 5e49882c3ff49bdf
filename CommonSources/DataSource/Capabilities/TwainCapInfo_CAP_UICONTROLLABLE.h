#pragma once
// CAP_UICONTROLLABLE: the source can acquire without showing its window; read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_UICONTROLLABLE : public TwainCapInfo {
public:
    TwainCapInfo_CAP_UICONTROLLABLE();
    ~TwainCapInfo_CAP_UICONTROLLABLE() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
