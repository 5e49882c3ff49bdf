#pragma once
// ICAP_COMPRESSION: the compression a transfer delivers, decided by the file format of a file
// transfer and none for native and memory transfers. It cannot be reset.

#include "TwainCapInfo.h"

class TwainCapInfo_ICAP_COMPRESSION : public TwainCapInfo {
public:
    TwainCapInfo_ICAP_COMPRESSION();
    ~TwainCapInfo_ICAP_COMPRESSION() override;

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
