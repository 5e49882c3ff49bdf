#pragma once
// Capabilities the source names but does not serve (ICAP_AUTOBRIGHT, ICAP_BRIGHTNESS,
// ICAP_CONTRAST, ICAP_THRESHOLD): every operation fails with TWCC_CAPUNSUPPORTED.

#include "TwainCapInfo.h"

class TwainCapInfo_Unsupported : public TwainCapInfo {
public:
    TwainCapInfo_Unsupported();
    ~TwainCapInfo_Unsupported() override;

    TW_INT32 GetSupportedOperations() const override;
};
