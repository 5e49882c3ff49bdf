#include "TwainCapInfo_ICAP_IMAGEFILEFORMAT.h"

TwainCapInfo_ICAP_IMAGEFILEFORMAT::TwainCapInfo_ICAP_IMAGEFILEFORMAT()
    : TwainCapInfo(FlagSet | FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_ICAP_IMAGEFILEFORMAT::~TwainCapInfo_ICAP_IMAGEFILEFORMAT() = default;

TW_INT32 TwainCapInfo_ICAP_IMAGEFILEFORMAT::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_IMAGEFILEFORMAT::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetImageFileFormatAvailable();
    const TW_UINT16 defaultValue = source.GetImageFileFormatDefault();
    const TW_UINT16 current = source.GetImageFileFormatCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_IMAGEFILEFORMAT::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetImageFileFormatCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_IMAGEFILEFORMAT::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetImageFileFormatDefault());
}

TW_UINT16 TwainCapInfo_ICAP_IMAGEFILEFORMAT::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                         unsigned long size) {
    Source().SetImageFileFormatCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_IMAGEFILEFORMAT::SetEnumeration(TW_CAPABILITY&,
                                                            const TW_ENUMERATION* memory,
                                                            unsigned long size) {
    Source().SetImageFileFormatEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
