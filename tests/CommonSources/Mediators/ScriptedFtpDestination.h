#pragma once
// An FTP destination window for mediator tests: the fields come from a record a test fills,
// and every getter the mediator calls is noted in order.

#include <string>
#include <vector>

#include "FtpDestMediator.h"

struct FtpFields {
    std::string server;
    std::string port;
    std::string password;
    std::string userName;
    std::string remoteDir;
    std::string timeout;
    bool anonymous = false;
    bool proxyEnabled = false;
    // Held whether or not the proxy is on; the getters hide them while it is off, as the
    // window does.
    std::string proxyServer;
    std::string proxyPort;
    std::string proxyUserName;
    std::string proxyPassword;
};

class ScriptedFtpDestination : public FtpDestMediator {
public:
    FtpFields fields;
    std::vector<std::string> asked;

    explicit ScriptedFtpDestination(Scanner* scanner) : FtpDestMediator(scanner) {}
    ~ScriptedFtpDestination() override;

    std::string GetServer() override { return Ask("Server", fields.server); }
    std::string GetPort() override { return Ask("Port", fields.port); }
    std::string GetPassword() override { return Ask("Password", fields.password); }
    std::string GetUserName() override { return Ask("UserName", fields.userName); }
    std::string GetRemoteDir() override { return Ask("RemoteDir", fields.remoteDir); }
    std::string GetProxyServer() override { return Proxy("ProxyServer", fields.proxyServer); }
    std::string GetProxyPort() override { return Proxy("ProxyPort", fields.proxyPort); }
    std::string GetProxyUserName() override { return Proxy("ProxyUserName", fields.proxyUserName); }
    std::string GetProxyPassword() override { return Proxy("ProxyPassword", fields.proxyPassword); }
    std::string GetTimeout() override { return Ask("Timeout", fields.timeout); }
    bool IsAnonymousLogin() override {
        asked.push_back("IsAnonymousLogin");
        return fields.anonymous;
    }
    bool IsProxyEnabled() override {
        asked.push_back("IsProxyEnabled");
        return fields.proxyEnabled;
    }

private:
    std::string Ask(const char* name, const std::string& value) {
        asked.push_back(name);
        return value;
    }
    std::string Proxy(const char* name, const std::string& value) {
        asked.push_back(name);
        return fields.proxyEnabled ? value : std::string();
    }
};
