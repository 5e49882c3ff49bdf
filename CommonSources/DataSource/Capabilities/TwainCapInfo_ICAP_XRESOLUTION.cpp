#include "TwainCapInfo_ICAP_XRESOLUTION.h"

TwainCapInfo_ICAP_XRESOLUTION::TwainCapInfo_ICAP_XRESOLUTION() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_XRESOLUTION::~TwainCapInfo_ICAP_XRESOLUTION() = default;

TW_INT32 TwainCapInfo_ICAP_XRESOLUTION::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_XRESOLUTION::Reset(TW_CAPABILITY& capability) {
    Source().ResetXResolution();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_XRESOLUTION::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CommonTwain::SimpleValArray<double> available = source.GetXResolutionAvailable();
    const double defaultValue = source.GetXResolutionDefault();
    const double current = source.GetXResolutionCurrent();
    return AnswerFix32Enumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_XRESOLUTION::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetXResolutionCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_XRESOLUTION::GetDefault(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetXResolutionDefault());
}

TW_UINT16 TwainCapInfo_ICAP_XRESOLUTION::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                     unsigned long size) {
    Source().SetXResolutionCurrent(ReadFix32(memory, size));
    return TWRC_SUCCESS;
}
