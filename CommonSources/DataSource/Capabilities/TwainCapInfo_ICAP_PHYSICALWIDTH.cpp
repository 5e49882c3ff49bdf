#include "TwainCapInfo_ICAP_PHYSICALWIDTH.h"

TwainCapInfo_ICAP_PHYSICALWIDTH::TwainCapInfo_ICAP_PHYSICALWIDTH()
    : TwainCapInfo(FlagGet | FlagGetCurrent) {}

TwainCapInfo_ICAP_PHYSICALWIDTH::~TwainCapInfo_ICAP_PHYSICALWIDTH() = default;

TW_INT32 TwainCapInfo_ICAP_PHYSICALWIDTH::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_PHYSICALWIDTH::Get(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetPhysicalWidth());
}
