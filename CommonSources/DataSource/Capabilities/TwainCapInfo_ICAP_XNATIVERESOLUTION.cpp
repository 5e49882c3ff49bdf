#include "TwainCapInfo_ICAP_XNATIVERESOLUTION.h"

TwainCapInfo_ICAP_XNATIVERESOLUTION::TwainCapInfo_ICAP_XNATIVERESOLUTION()
    : TwainCapInfo(FlagGet) {}

TwainCapInfo_ICAP_XNATIVERESOLUTION::~TwainCapInfo_ICAP_XNATIVERESOLUTION() = default;

TW_INT32 TwainCapInfo_ICAP_XNATIVERESOLUTION::GetSupportedOperations() const {
    return TWQC_GET;
}

TW_UINT16 TwainCapInfo_ICAP_XNATIVERESOLUTION::Get(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetXNativeResolution());
}
