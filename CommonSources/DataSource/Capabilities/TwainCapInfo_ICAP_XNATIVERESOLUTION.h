#pragma once
// ICAP_XNATIVERESOLUTION: the device's own X resolution (the server's largest) in the current
// units; MSG_GET only.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_XNATIVERESOLUTION : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_XNATIVERESOLUTION();
    ~TwainCapInfo_ICAP_XNATIVERESOLUTION() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;
};
