#include "TwainCapInfo_zyl_CAP_SourceIpAddr_id.h"

#include "ServerInfo.h"
#include "TW_ONEVALUE_STR255.h"

TwainCapInfo_zyl_CAP_SourceIpAddr_id::TwainCapInfo_zyl_CAP_SourceIpAddr_id()
    : TwainCapInfo(FlagGet | FlagGetCurrent) {}

TwainCapInfo_zyl_CAP_SourceIpAddr_id::~TwainCapInfo_zyl_CAP_SourceIpAddr_id() = default;

TW_INT32 TwainCapInfo_zyl_CAP_SourceIpAddr_id::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETCURRENT;
}

TW_UINT16 TwainCapInfo_zyl_CAP_SourceIpAddr_id::Get(TW_CAPABILITY& capability) {
    const ServerInfo* const server = Source().GetSelectedServer();
    const std::string address = server != nullptr ? server->ipAddress : std::string();
    return Answer(capability, CommonTwain::TW_ONEVALUE_STR255(CommonTwain::STR_value255(address)));
}
