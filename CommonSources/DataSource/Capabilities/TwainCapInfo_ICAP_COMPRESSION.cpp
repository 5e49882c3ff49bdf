#include "TwainCapInfo_ICAP_COMPRESSION.h"

TwainCapInfo_ICAP_COMPRESSION::TwainCapInfo_ICAP_COMPRESSION()
    : TwainCapInfo(FlagSet | FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_ICAP_COMPRESSION::~TwainCapInfo_ICAP_COMPRESSION() = default;

TW_INT32 TwainCapInfo_ICAP_COMPRESSION::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_ICAP_COMPRESSION::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetCompressionAvailable();
    const TW_UINT16 defaultValue = source.GetCompressionDefault();
    const TW_UINT16 current = source.GetCompressionCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_COMPRESSION::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetCompressionCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_COMPRESSION::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetCompressionDefault());
}

TW_UINT16 TwainCapInfo_ICAP_COMPRESSION::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                     unsigned long size) {
    Source().SetCompressionCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_COMPRESSION::SetEnumeration(TW_CAPABILITY&,
                                                        const TW_ENUMERATION* memory,
                                                        unsigned long size) {
    Source().SetCompressionEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
