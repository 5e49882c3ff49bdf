#pragma once
// ICAP_PLANARCHUNKY: the source delivers chunky pixels only; read-only.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_PLANARCHUNKY : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_PLANARCHUNKY();
    ~TwainCapInfo_ICAP_PLANARCHUNKY() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;
};
