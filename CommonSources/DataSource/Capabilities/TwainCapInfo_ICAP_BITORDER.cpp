#include "TwainCapInfo_ICAP_BITORDER.h"

TwainCapInfo_ICAP_BITORDER::TwainCapInfo_ICAP_BITORDER()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_ICAP_BITORDER::~TwainCapInfo_ICAP_BITORDER() = default;

TW_INT32 TwainCapInfo_ICAP_BITORDER::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_BITORDER::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetBitOrderAvailable();
    const TW_UINT16 defaultValue = source.GetBitOrderDefault();
    const TW_UINT16 current = source.GetBitOrderCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_BITORDER::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetBitOrderCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_BITORDER::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetBitOrderDefault());
}
