#include "TwainCapInfo_ICAP_PIXELTYPE.h"

TwainCapInfo_ICAP_PIXELTYPE::TwainCapInfo_ICAP_PIXELTYPE() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_PIXELTYPE::~TwainCapInfo_ICAP_PIXELTYPE() = default;

TW_INT32 TwainCapInfo_ICAP_PIXELTYPE::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_PIXELTYPE::Reset(TW_CAPABILITY& capability) {
    Source().ResetPixelType();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_PIXELTYPE::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetPixelTypeAvailable();
    const TW_UINT16 defaultValue = source.GetPixelTypeDefault();
    const TW_UINT16 current = source.GetPixelTypeCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_PIXELTYPE::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetPixelTypeCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_PIXELTYPE::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetPixelTypeDefault());
}

TW_UINT16 TwainCapInfo_ICAP_PIXELTYPE::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                   unsigned long size) {
    Source().SetPixelTypeCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_PIXELTYPE::SetEnumeration(TW_CAPABILITY&, const TW_ENUMERATION* memory,
                                                      unsigned long size) {
    Source().SetPixelTypeEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
