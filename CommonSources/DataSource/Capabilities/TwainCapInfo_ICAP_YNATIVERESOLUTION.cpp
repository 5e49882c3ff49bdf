#include "TwainCapInfo_ICAP_YNATIVERESOLUTION.h"

TwainCapInfo_ICAP_YNATIVERESOLUTION::TwainCapInfo_ICAP_YNATIVERESOLUTION()
    : TwainCapInfo(FlagGet) {}

TwainCapInfo_ICAP_YNATIVERESOLUTION::~TwainCapInfo_ICAP_YNATIVERESOLUTION() = default;

TW_INT32 TwainCapInfo_ICAP_YNATIVERESOLUTION::GetSupportedOperations() const {
    return TWQC_GET;
}

TW_UINT16 TwainCapInfo_ICAP_YNATIVERESOLUTION::Get(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetYNativeResolution());
}
