#include "TwainCapInfo_ICAP_PLANARCHUNKY.h"

TwainCapInfo_ICAP_PLANARCHUNKY::TwainCapInfo_ICAP_PLANARCHUNKY()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_ICAP_PLANARCHUNKY::~TwainCapInfo_ICAP_PLANARCHUNKY() = default;

TW_INT32 TwainCapInfo_ICAP_PLANARCHUNKY::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_PLANARCHUNKY::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetPlanarChunkyAvailable();
    const TW_UINT16 defaultValue = source.GetPlanarChunkyDefault();
    const TW_UINT16 current = source.GetPlanarChunkyCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_PLANARCHUNKY::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetPlanarChunkyCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_PLANARCHUNKY::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetPlanarChunkyDefault());
}
