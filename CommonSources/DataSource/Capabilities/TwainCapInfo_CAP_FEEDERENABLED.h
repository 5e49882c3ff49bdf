#pragma once
// CAP_FEEDERENABLED: whether pages come from the document feeder; only on a server with one
// (TWCC_BADVALUE elsewhere). Back to FALSE at every connection.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_FEEDERENABLED : public TwainCapInfo {
public:
    TwainCapInfo_CAP_FEEDERENABLED();
    ~TwainCapInfo_CAP_FEEDERENABLED() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
