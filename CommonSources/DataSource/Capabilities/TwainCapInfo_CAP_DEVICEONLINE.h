#pragma once
// CAP_DEVICEONLINE: whether the source is connected to a server that has not gone down;
// read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_DEVICEONLINE : public TwainCapInfo {
public:
    TwainCapInfo_CAP_DEVICEONLINE();
    ~TwainCapInfo_CAP_DEVICEONLINE() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
