#pragma once
// ICAP_IMAGEFILEFORMAT: the file format of a file transfer (BMP, TIFF, multi-page TIFF),
// remembered per application. It cannot be reset.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_IMAGEFILEFORMAT : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_IMAGEFILEFORMAT();
    ~TwainCapInfo_ICAP_IMAGEFILEFORMAT() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override;
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override;
    TW_INT32 GetSupportedOperations() const override;

protected:
    TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                          unsigned long size) override;
    TW_UINT16 SetEnumeration(TW_CAPABILITY& capability, const TW_ENUMERATION* memory,
                             unsigned long size) override;
};
