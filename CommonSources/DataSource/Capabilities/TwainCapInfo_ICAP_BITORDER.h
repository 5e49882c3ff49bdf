#pragma once
// ICAP_BITORDER: the most significant bit comes first; read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_BITORDER : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_BITORDER();
    ~TwainCapInfo_ICAP_BITORDER() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;
};
