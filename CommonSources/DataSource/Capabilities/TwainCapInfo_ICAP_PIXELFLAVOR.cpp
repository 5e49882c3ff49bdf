#include "TwainCapInfo_ICAP_PIXELFLAVOR.h"

TwainCapInfo_ICAP_PIXELFLAVOR::TwainCapInfo_ICAP_PIXELFLAVOR() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_PIXELFLAVOR::~TwainCapInfo_ICAP_PIXELFLAVOR() = default;

TW_INT32 TwainCapInfo_ICAP_PIXELFLAVOR::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_PIXELFLAVOR::Reset(TW_CAPABILITY& capability) {
    Source().ResetPixelFlavor();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_PIXELFLAVOR::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetPixelFlavorAvailable();
    const TW_UINT16 defaultValue = source.GetPixelFlavorDefault();
    const TW_UINT16 current = source.GetPixelFlavorCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_PIXELFLAVOR::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetPixelFlavorCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_PIXELFLAVOR::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetPixelFlavorDefault());
}

TW_UINT16 TwainCapInfo_ICAP_PIXELFLAVOR::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                     unsigned long size) {
    Source().SetPixelFlavorCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}
