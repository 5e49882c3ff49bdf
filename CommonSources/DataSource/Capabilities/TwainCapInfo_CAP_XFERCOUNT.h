#pragma once
// CAP_XFERCOUNT: how many images the application wants, -1 for as many as there are. The
// source always offers -1.

#include "TwainCapInfo.h"

class TwainCapInfo_CAP_XFERCOUNT : public TwainCapInfo {
public:
    TwainCapInfo_CAP_XFERCOUNT();
    ~TwainCapInfo_CAP_XFERCOUNT() override;

    TW_UINT16 Reset(TW_CAPABILITY& capability) override;
    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
