#include "TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE.h"

#include "AbstractSource.h"

TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE::TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE()
    : TwainCapInfo(FlagSet | FlagGet | FlagGetCurrent) {}

TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE::~TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE() = default;

TW_INT32 TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE::Get(TW_CAPABILITY& capability) {
    return AnswerBool(capability, SourceObject().GetUndefinedImageSize());
}

TW_UINT16 TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE::SetOneValue(TW_CAPABILITY&,
                                                            const TW_ONEVALUE* memory,
                                                            unsigned long size) {
    SourceObject().SetUndefinedImageSize(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}
