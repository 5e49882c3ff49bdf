#include "TwainCapInfo_ICAP_PHYSICALHEIGHT.h"

TwainCapInfo_ICAP_PHYSICALHEIGHT::TwainCapInfo_ICAP_PHYSICALHEIGHT()
    : TwainCapInfo(FlagGet | FlagGetCurrent) {}

TwainCapInfo_ICAP_PHYSICALHEIGHT::~TwainCapInfo_ICAP_PHYSICALHEIGHT() = default;

TW_INT32 TwainCapInfo_ICAP_PHYSICALHEIGHT::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_PHYSICALHEIGHT::Get(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetPhysicalHeight());
}
