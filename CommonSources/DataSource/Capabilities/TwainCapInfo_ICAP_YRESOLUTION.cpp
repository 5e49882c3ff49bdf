#include "TwainCapInfo_ICAP_YRESOLUTION.h"

TwainCapInfo_ICAP_YRESOLUTION::TwainCapInfo_ICAP_YRESOLUTION() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_YRESOLUTION::~TwainCapInfo_ICAP_YRESOLUTION() = default;

TW_INT32 TwainCapInfo_ICAP_YRESOLUTION::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_YRESOLUTION::Reset(TW_CAPABILITY& capability) {
    Source().ResetYResolution();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_YRESOLUTION::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CommonTwain::SimpleValArray<double> available = source.GetYResolutionAvailable();
    const double defaultValue = source.GetYResolutionDefault();
    const double current = source.GetYResolutionCurrent();
    return AnswerFix32Enumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_YRESOLUTION::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetYResolutionCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_YRESOLUTION::GetDefault(TW_CAPABILITY& capability) {
    return AnswerFix32(capability, Source().GetYResolutionDefault());
}

TW_UINT16 TwainCapInfo_ICAP_YRESOLUTION::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                     unsigned long size) {
    Source().SetYResolutionCurrent(ReadFix32(memory, size));
    return TWRC_SUCCESS;
}
