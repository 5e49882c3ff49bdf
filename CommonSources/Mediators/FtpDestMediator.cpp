#include "FtpDestMediator.h"

#include "FTPDestinationInfo.h"
#include "Scanner.h"

FtpDestMediator::FtpDestMediator(Scanner* scanner) : m_scanner(scanner) {}

FtpDestMediator::~FtpDestMediator() = default;

int FtpDestMediator::Validate() {
    // One statement each: the window is asked in a fixed order.
    const std::string proxyPassword = GetProxyPassword();
    const std::string proxyUser = GetProxyUserName();
    const std::string proxyPort = GetProxyPort();
    const std::string proxyServer = GetProxyServer();
    const std::string directory = GetRemoteDir();
    const std::string password = GetPassword();
    const std::string user = GetUserName();
    const std::string port = GetPort();
    const std::string server = GetServer();
    return m_scanner->ValidateFtpDestination(server, port, user, password, directory, proxyServer,
                                             proxyPort, proxyUser, proxyPassword);
}

void FtpDestMediator::GetDestinationInfo(FTPDestinationInfo& info) {
    info.Reset();
    info.SetServer(GetServer());
    info.SetPort(GetPort());
    info.SetPath(GetRemoteDir());
    info.SetTimeout(GetTimeout());
    info.SetUserName(GetUserName());
    info.SetPassword(GetPassword());
    info.SetProxyEnabled(IsProxyEnabled());
    info.SetProxyAddress(GetProxyServer());
    info.SetProxyPort(GetProxyPort());
    info.SetProxyUserName(GetProxyUserName());
    info.SetProxyPassword(GetProxyPassword());
}
