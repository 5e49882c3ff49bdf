#include "ServerInfo.h"

namespace {
const char* const kClassName = "ServerInfo";
const char* const kDefaultNickname = "MyOrvex";
} // namespace

ServerInfo::ServerInfo() : nickname(kDefaultNickname), showNickname(false), reportErrors(true) {
    SetClassName(kClassName);
}

ServerInfo::ServerInfo(bool showNickname_, const std::string& deviceName_,
                       const std::string& ipAddress_, const std::string& nickname_,
                       bool reportErrors_)
    : deviceName(deviceName_), ipAddress(ipAddress_), nickname(nickname_),
      showNickname(showNickname_), reportErrors(reportErrors_) {
    SetClassName(kClassName);
}

ServerInfo::ServerInfo(const ServerInfo& other)
    : BaseObject(other), deviceName(other.deviceName), ipAddress(other.ipAddress),
      nickname(other.nickname), showNickname(other.showNickname), reportErrors(other.reportErrors) {
}

ServerInfo& ServerInfo::operator=(const ServerInfo& other) = default;

ServerInfo::~ServerInfo() = default;

bool ServerInfo::IsEqual(const BaseObject* other) const {
    if (other == this) {
        return true;
    }
    const ServerInfo* server = dynamic_cast<const ServerInfo*>(other);
    if (server == nullptr) {
        return false;
    }
    return deviceName == server->deviceName && ipAddress == server->ipAddress &&
           nickname == server->nickname && showNickname == server->showNickname &&
           reportErrors == server->reportErrors;
}

bool ServerInfo::IsSameObject(const BaseObject* other) const {
    return IsEqual(other);
}

uint32_t ServerInfo::Hash() const {
    uint32_t h = BaseObject::HashString(deviceName);
    h = h * 2 + BaseObject::HashString(ipAddress);
    h = h * 2 + BaseObject::HashString(nickname);
    return h * 2 + BaseObject::HashFlag(showNickname);
}
