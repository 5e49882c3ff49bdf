#include "TwainCapInfo_CAP_UICONTROLLABLE.h"

TwainCapInfo_CAP_UICONTROLLABLE::TwainCapInfo_CAP_UICONTROLLABLE()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_CAP_UICONTROLLABLE::~TwainCapInfo_CAP_UICONTROLLABLE() = default;

TW_INT32 TwainCapInfo_CAP_UICONTROLLABLE::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_CAP_UICONTROLLABLE::Get(TW_CAPABILITY& capability) {
    return AnswerBool(capability, Source().GetUIControllable());
}
