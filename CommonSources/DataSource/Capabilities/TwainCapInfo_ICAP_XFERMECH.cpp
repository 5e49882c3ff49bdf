#include "TwainCapInfo_ICAP_XFERMECH.h"

TwainCapInfo_ICAP_XFERMECH::TwainCapInfo_ICAP_XFERMECH() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_XFERMECH::~TwainCapInfo_ICAP_XFERMECH() = default;

TW_INT32 TwainCapInfo_ICAP_XFERMECH::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_XFERMECH::Reset(TW_CAPABILITY& capability) {
    Source().ResetTransferMechanism();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_XFERMECH::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetTransferMechanismAvailable();
    const TW_UINT16 defaultValue = source.GetTransferMechanismDefault();
    const TW_UINT16 current = source.GetTransferMechanismCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_XFERMECH::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetTransferMechanismCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_XFERMECH::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetTransferMechanismDefault());
}

TW_UINT16 TwainCapInfo_ICAP_XFERMECH::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                  unsigned long size) {
    Source().SetTransferMechanismCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_XFERMECH::SetEnumeration(TW_CAPABILITY&, const TW_ENUMERATION* memory,
                                                     unsigned long size) {
    Source().SetTransferMechanismEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
