#pragma once
// CAP_DUPLEX: whether the server has a document feeder; MSG_GET only.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_DUPLEX : public TwainCapInfo {
public:
    TwainCapInfo_CAP_DUPLEX();
    ~TwainCapInfo_CAP_DUPLEX() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;
};
