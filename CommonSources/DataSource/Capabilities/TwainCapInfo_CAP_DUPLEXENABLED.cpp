#include "TwainCapInfo_CAP_DUPLEXENABLED.h"

TwainCapInfo_CAP_DUPLEXENABLED::TwainCapInfo_CAP_DUPLEXENABLED()
    : TwainCapInfo(FlagSet | FlagGet) {}

TwainCapInfo_CAP_DUPLEXENABLED::~TwainCapInfo_CAP_DUPLEXENABLED() = default;

TW_INT32 TwainCapInfo_CAP_DUPLEXENABLED::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_CAP_DUPLEXENABLED::Get(TW_CAPABILITY& capability) {
    return AnswerBool(capability, Source().GetDuplexEnabled());
}

TW_UINT16 TwainCapInfo_CAP_DUPLEXENABLED::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                      unsigned long size) {
    Source().SetDuplexEnabled(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}
