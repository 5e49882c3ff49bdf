#pragma once
// Custom 0x8001: the address of the selected server as text, empty while none is selected;
// read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_zyl_CAP_SourceIpAddr_id : public TwainCapInfo {
public:
    TwainCapInfo_zyl_CAP_SourceIpAddr_id();
    ~TwainCapInfo_zyl_CAP_SourceIpAddr_id() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;
};
