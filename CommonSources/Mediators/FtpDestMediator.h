#pragma once
// The FTP destination window's logic, as its second base: the window answers the field
// getters; this class has the server check the settings and collects them into one record.

#include <windows.h>
// windows.h maps GetUserName to its A/W variant; every unit must see the plain name.
#undef GetUserName

#include <string>

class FTPDestinationInfo;
class Scanner;

class FtpDestMediator {
public:
    // The scanner is borrowed.
    explicit FtpDestMediator(Scanner* scanner);
    FtpDestMediator(const FtpDestMediator&) = delete;
    FtpDestMediator& operator=(const FtpDestMediator&) = delete;
    virtual ~FtpDestMediator();

    // The server library's answer to the settings: 0 when it accepts them.
    virtual int Validate();
    virtual std::string GetServer() = 0;
    virtual std::string GetPort() = 0;
    virtual std::string GetPassword() = 0;
    virtual std::string GetUserName() = 0;
    virtual std::string GetRemoteDir() = 0;
    // The proxy getters answer empty texts while the window's proxy is off.
    virtual std::string GetProxyServer() = 0;
    virtual std::string GetProxyPort() = 0;
    virtual std::string GetProxyUserName() = 0;
    virtual std::string GetProxyPassword() = 0;
    // The record from its defaults, then every field from the window.
    virtual void GetDestinationInfo(FTPDestinationInfo& info);
    // Seconds, as text.
    virtual std::string GetTimeout() = 0;
    virtual bool IsAnonymousLogin() = 0;
    virtual bool IsProxyEnabled() = 0;

private:
    Scanner* m_scanner;
};
