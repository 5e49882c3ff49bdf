#include "TwainCapInfo_ICAP_ORIENTATION.h"

#include "AbstractSource.h"

TwainCapInfo_ICAP_ORIENTATION::TwainCapInfo_ICAP_ORIENTATION() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_ORIENTATION::~TwainCapInfo_ICAP_ORIENTATION() = default;

TW_INT32 TwainCapInfo_ICAP_ORIENTATION::GetSupportedOperations() const {
    const TW_INT32 reads = TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
    // Nothing can be set on a server that offers no orientation.
    AbstractSource* const source = AbstractSource::Instance();
    const bool offers = source != nullptr && source->GetOrientationAvailable().GetCount() > 0;
    return offers ? reads | TWQC_SET : reads;
}

TW_UINT16 TwainCapInfo_ICAP_ORIENTATION::Reset(TW_CAPABILITY& capability) {
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_ORIENTATION::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const TW_UINT16 current = source.GetOrientationCurrent();
    return AnswerEnumeration(capability, source.GetOrientationAvailable(), current, current);
}

TW_UINT16 TwainCapInfo_ICAP_ORIENTATION::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetOrientationCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_ORIENTATION::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetOrientationCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_ORIENTATION::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                     unsigned long size) {
    Source().SetOrientationCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_ORIENTATION::SetEnumeration(TW_CAPABILITY&,
                                                        const TW_ENUMERATION* memory,
                                                        unsigned long size) {
    Source().SetOrientationEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
