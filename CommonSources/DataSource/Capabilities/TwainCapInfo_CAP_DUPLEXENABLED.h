#pragma once
// CAP_DUPLEXENABLED: the application's wish for both sides, kept as it is given until the next
// connection; no default.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_DUPLEXENABLED : public TwainCapInfo {
public:
    TwainCapInfo_CAP_DUPLEXENABLED();
    ~TwainCapInfo_CAP_DUPLEXENABLED() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
