#include "TwainCapInfo_CAP_DUPLEX.h"

TwainCapInfo_CAP_DUPLEX::TwainCapInfo_CAP_DUPLEX() : TwainCapInfo(FlagGet) {}

TwainCapInfo_CAP_DUPLEX::~TwainCapInfo_CAP_DUPLEX() = default;

TW_INT32 TwainCapInfo_CAP_DUPLEX::GetSupportedOperations() const {
    return TWQC_GET;
}

TW_UINT16 TwainCapInfo_CAP_DUPLEX::Get(TW_CAPABILITY& capability) {
    return AnswerBool(capability, Source().GetDuplex());
}
