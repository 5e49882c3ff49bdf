#include "TwainCapInfo_CAP_XFERCOUNT.h"

#include "TW_OneValue.h"

TwainCapInfo_CAP_XFERCOUNT::TwainCapInfo_CAP_XFERCOUNT() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_CAP_XFERCOUNT::~TwainCapInfo_CAP_XFERCOUNT() = default;

TW_INT32 TwainCapInfo_CAP_XFERCOUNT::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_CAP_XFERCOUNT::Reset(TW_CAPABILITY& capability) {
    Source().ResetTransferCount();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_CAP_XFERCOUNT::Get(TW_CAPABILITY& capability) {
    return Answer(capability, CommonTwain::TW_ONEVALUE_INT16(Source().GetTransferCountAvailable()));
}

TW_UINT16 TwainCapInfo_CAP_XFERCOUNT::GetCurrent(TW_CAPABILITY& capability) {
    return Answer(capability, CommonTwain::TW_ONEVALUE_INT16(Source().GetTransferCountDesired()));
}

TW_UINT16 TwainCapInfo_CAP_XFERCOUNT::GetDefault(TW_CAPABILITY& capability) {
    return Answer(capability, CommonTwain::TW_ONEVALUE_INT16(Source().GetTransferCountDefault()));
}

TW_UINT16 TwainCapInfo_CAP_XFERCOUNT::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                  unsigned long size) {
    Source().SetTransferCountDesired(static_cast<TW_INT16>(ReadLow16(memory, size)));
    return TWRC_SUCCESS;
}
