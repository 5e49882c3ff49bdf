#pragma once
// CAP_AUTOFEED: a server with a document feeder feeds its pages by itself; read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_AUTOFEED : public TwainCapInfo {
public:
    TwainCapInfo_CAP_AUTOFEED();
    ~TwainCapInfo_CAP_AUTOFEED() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
