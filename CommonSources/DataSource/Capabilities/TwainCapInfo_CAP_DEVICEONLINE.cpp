#include "TwainCapInfo_CAP_DEVICEONLINE.h"

#include "AbstractSource.h"

TwainCapInfo_CAP_DEVICEONLINE::TwainCapInfo_CAP_DEVICEONLINE()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_CAP_DEVICEONLINE::~TwainCapInfo_CAP_DEVICEONLINE() = default;

TW_INT32 TwainCapInfo_CAP_DEVICEONLINE::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_CAP_DEVICEONLINE::Get(TW_CAPABILITY& capability) {
    return AnswerBool(capability, SourceObject().IsDeviceOnline() ? TRUE : FALSE);
}
