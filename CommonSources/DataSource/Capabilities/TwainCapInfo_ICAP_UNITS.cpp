#include "TwainCapInfo_ICAP_UNITS.h"

TwainCapInfo_ICAP_UNITS::TwainCapInfo_ICAP_UNITS() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_ICAP_UNITS::~TwainCapInfo_ICAP_UNITS() = default;

TW_INT32 TwainCapInfo_ICAP_UNITS::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
}

TW_UINT16 TwainCapInfo_ICAP_UNITS::Reset(TW_CAPABILITY& capability) {
    Source().ResetUnits();
    return GetDefault(capability);
}

TW_UINT16 TwainCapInfo_ICAP_UNITS::Get(TW_CAPABILITY& capability) {
    CapSupport& source = Source();
    const CapSupport::ValueList available = source.GetUnitsAvailable();
    const TW_UINT16 defaultValue = source.GetUnitsDefault();
    const TW_UINT16 current = source.GetUnitsCurrent();
    return AnswerEnumeration(capability, available, current, defaultValue);
}

TW_UINT16 TwainCapInfo_ICAP_UNITS::GetCurrent(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetUnitsCurrent());
}

TW_UINT16 TwainCapInfo_ICAP_UNITS::GetDefault(TW_CAPABILITY& capability) {
    return AnswerUInt16(capability, Source().GetUnitsDefault());
}

TW_UINT16 TwainCapInfo_ICAP_UNITS::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                               unsigned long size) {
    Source().SetUnitsCurrent(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo_ICAP_UNITS::SetEnumeration(TW_CAPABILITY&, const TW_ENUMERATION* memory,
                                                  unsigned long size) {
    Source().SetUnitsEnumeration(ReadUInt16Items(memory, size));
    return TWRC_SUCCESS;
}
