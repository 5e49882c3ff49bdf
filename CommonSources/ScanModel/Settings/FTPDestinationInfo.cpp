#include "FTPDestinationInfo.h"

#include "ScanStrings.h"

FTPDestinationInfo::FTPDestinationInfo() {
    Reset();
}

FTPDestinationInfo::FTPDestinationInfo(const FTPDestinationInfo& other) = default;

FTPDestinationInfo& FTPDestinationInfo::operator=(const FTPDestinationInfo& other) = default;

FTPDestinationInfo::~FTPDestinationInfo() = default;

void FTPDestinationInfo::Reset() {
    m_server.clear();
    m_port = ScanConstStrings::FtpPortDefault;
    m_path.clear();
    m_timeout = ScanConstStrings::FtpTimeOutDefault;
    m_userName = ScanConstStrings::FtpAnonymousUser;
    m_password.clear();
    m_proxyEnabled = false;
    m_proxyAddress.clear();
    m_proxyPort = ScanConstStrings::ProxyFtpPortDefault;
    m_proxyUserName.clear();
    m_proxyPassword.clear();
}

void FTPDestinationInfo::SetPort(const std::string& port) {
    m_port = port.empty() ? ScanConstStrings::FtpPortDefault : port;
}

void FTPDestinationInfo::SetUserName(const std::string& userName) {
    m_userName = userName.empty() ? ScanConstStrings::FtpAnonymousUser : userName;
}

void FTPDestinationInfo::SetProxyPort(const std::string& port) {
    m_proxyPort = port.empty() ? ScanConstStrings::ProxyFtpPortDefault : port;
}

bool FTPDestinationInfo::IsDefaultPort() const {
    return m_port == ScanConstStrings::FtpPortDefault;
}

bool FTPDestinationInfo::IsAnonymousLogin() const {
    return m_userName == ScanConstStrings::FtpAnonymousUser;
}

bool FTPDestinationInfo::IsDefaultProxyPort() const {
    return m_proxyPort == ScanConstStrings::ProxyFtpPortDefault;
}
