#pragma once
// ICAP_YNATIVERESOLUTION: the device's own Y resolution (the server's largest) in the current
// units; MSG_GET only.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_YNATIVERESOLUTION : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_YNATIVERESOLUTION();
    ~TwainCapInfo_ICAP_YNATIVERESOLUTION() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;
};
