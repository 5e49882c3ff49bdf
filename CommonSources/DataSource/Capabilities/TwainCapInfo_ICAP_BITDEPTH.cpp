#include "TwainCapInfo_ICAP_BITDEPTH.h"

#include "AbstractSource.h"

TwainCapInfo_ICAP_BITDEPTH::TwainCapInfo_ICAP_BITDEPTH() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_BITDEPTH::~TwainCapInfo_ICAP_BITDEPTH() = default;

TW_INT32 TwainCapInfo_ICAP_BITDEPTH::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_BITDEPTH::Reset(TW_CAPABILITY& capability) {
    SourceObject().ResetBitDepth();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_BITDEPTH::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetBitDepthAvailable();
    const TW_UINT16 defaultValue = source.GetBitDepthDefault();
    const TW_UINT16 current = source.GetBitDepthCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_BITDEPTH::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetBitDepthCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_BITDEPTH::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetBitDepthDefault());
}

TW_UINT16 TwainCapInfo_ICAP_BITDEPTH::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                  unsigned long size) {
    Source().SetBitDepthCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_BITDEPTH::SetEnumeration(TW_CAPABILITY&, const TW_ENUMERATION* memory,
                                                     unsigned long size) {
    Source().SetBitDepthEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
