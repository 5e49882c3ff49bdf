#include "TwainCapInfo_zyl_CAP_ShowAcquireGUI.h"

TwainCapInfo_zyl_CAP_ShowAcquireGUI::TwainCapInfo_zyl_CAP_ShowAcquireGUI()
    : TwainCapInfo(FlagSet | FlagGet | FlagGetCurrent) {}

TwainCapInfo_zyl_CAP_ShowAcquireGUI::~TwainCapInfo_zyl_CAP_ShowAcquireGUI() = default;

TW_INT32 TwainCapInfo_zyl_CAP_ShowAcquireGUI::GetSupportedOperations() const {
    return TWQC_GET | TWQC_SET | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_zyl_CAP_ShowAcquireGUI::Get(TW_CAPABILITY& capability) {
    return AnswerBool(capability, Source().GetShowAcquireGUI());
}

TW_UINT16 TwainCapInfo_zyl_CAP_ShowAcquireGUI::SetOneValue(TW_CAPABILITY&,
                                                           const TW_ONEVALUE* memory,
                                                           unsigned long size) {
    Source().SetShowAcquireGUI(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}
