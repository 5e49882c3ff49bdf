#pragma once
// CAP_FEEDERLOADED: TRUE while the feeder is in use; the source cannot see the paper, so it
// says so only once the application enabled the feeder of a server that has one.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_FEEDERLOADED : public TwainCapInfo {
public:
    TwainCapInfo_CAP_FEEDERLOADED();
    ~TwainCapInfo_CAP_FEEDERLOADED() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
