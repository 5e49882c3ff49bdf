#pragma once
// ICAP_YRESOLUTION: the Y resolution of the scan in the current units, from the server's list
// (or any value where the server allows it); while a page is handed over, that page's.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_YRESOLUTION : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_YRESOLUTION();
    ~TwainCapInfo_ICAP_YRESOLUTION() override;

    TW_UINT16 Reset(TW_CAPABILITY& capability) override;
    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
};
