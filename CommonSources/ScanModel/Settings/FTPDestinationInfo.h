#pragma once
// One FTP destination of a job, optionally through an FTP proxy. A plain value: the send and
// FTP dialogs copy it to and from the saved preferences; it does no input or output itself.

#include <windows.h>
// windows.h maps GetUserName to its A/W variant; every unit must see the plain name.
#undef GetUserName

#include <string>

class FTPDestinationInfo {
public:
    FTPDestinationInfo();
    FTPDestinationInfo(const FTPDestinationInfo& other);
    FTPDestinationInfo& operator=(const FTPDestinationInfo& other);
    virtual ~FTPDestinationInfo();

    void Reset();

    std::string GetServer() const { return m_server; }
    void SetServer(const std::string& server) { m_server = server; }
    std::string GetPort() const { return m_port; }
    // An empty port, user name or proxy port falls back to its default.
    void SetPort(const std::string& port);
    std::string GetPath() const { return m_path; }
    void SetPath(const std::string& path) { m_path = path; }
    std::string GetTimeout() const { return m_timeout; }
    void SetTimeout(const std::string& timeout) { m_timeout = timeout; }
    std::string GetUserName() const { return m_userName; }
    void SetUserName(const std::string& userName);
    std::string GetPassword() const { return m_password; }
    void SetPassword(const std::string& password) { m_password = password; }
    bool IsProxyEnabled() const { return m_proxyEnabled; }
    void SetProxyEnabled(bool enabled) { m_proxyEnabled = enabled; }
    std::string GetProxyAddress() const { return m_proxyAddress; }
    void SetProxyAddress(const std::string& address) { m_proxyAddress = address; }
    std::string GetProxyPort() const { return m_proxyPort; }
    void SetProxyPort(const std::string& port);
    std::string GetProxyUserName() const { return m_proxyUserName; }
    void SetProxyUserName(const std::string& userName) { m_proxyUserName = userName; }
    std::string GetProxyPassword() const { return m_proxyPassword; }
    void SetProxyPassword(const std::string& password) { m_proxyPassword = password; }

    // Exact, case-sensitive comparisons with the defaults.
    bool IsDefaultPort() const;
    bool IsAnonymousLogin() const;
    bool IsDefaultProxyPort() const;

private:
    std::string m_server;
    std::string m_port;
    std::string m_path;
    std::string m_timeout;
    std::string m_userName;
    std::string m_password;
    bool m_proxyEnabled = false;
    std::string m_proxyAddress;
    std::string m_proxyPort;
    std::string m_proxyUserName;
    std::string m_proxyPassword;
};
