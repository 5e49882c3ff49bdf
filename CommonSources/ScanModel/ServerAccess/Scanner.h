#pragma once
// The data source's session with one Orvex server: connecting and logging in, the server's
// capabilities, and the server's events, which the library delivers on its own thread and the
// Scanner hands to the user-interface handler. Everything else runs on the application's
// thread. The class is spread over several source files by what it answers.

#include <memory>
#include <string>

#include "ScannerIntf.h"

class QuorvelWrapperIntf;
class ScannerUiIntf;
struct ScannerData;

class Scanner : public ScannerIntf {
public:
    // Not connected; no server call. Becomes the process-wide event handler's owner and clears
    // the server-down flag.
    Scanner(QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui);
    // Connects, opens the scan session and, when the server asks for it, runs the login.
    // Throws QuorvelWrapperException when the connection cannot be made; a cancelled login
    // returns normally, not connected.
    Scanner(QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui, const std::string& address,
            const std::string& displayName);
    ~Scanner() override;

    bool GetUserMailInfo(std::string& displayName, std::string& mailAddress) override;
    bool IsConnected() override;
    void StartNotifications() override;
    int RegisterEventCallbacks() override;
    int StartServerMonitor() override;
    // Never null: the empty set while not connected, else the server's, read once.
    ScanServerCapabilities* GetServerCapabilities() override;
    int32_t GetInitiatedScanJobID() override;
    int32_t SetInitiatedScanJobID(int32_t jobId) override;
    bool IsInitiatingScan() override;
    void SetInitiatingScan(bool initiating) override;
    bool GetIgnoreJobID() override;
    void SetIgnoreJobID(bool ignore) override;
    bool IsServerDown() override;
    Localizer* GetLocalizer() override;

    int LookUpUserMail(QuorvelLdapSession* session) override;
    int GetDefaultNamingContext(QuorvelLdapSession* session, std::string& text) override;
    // The entry list stays the directory session's.
    int LdapSearch(QuorvelLdapSession* session, const std::string& filter, const std::string& base,
                   int32_t scope, char** attributeNames, int32_t attributeCount,
                   CorpLdapEntryList** entries) override;

    int Connect(const std::string& address) override;
    void Disconnect() override;

    // Handed to the library; called on its thread.
    static void QUORVEL_CALL OnServerDown(void* ignored);
    static void QUORVEL_CALL OnScanEvent(void* record);
    static void QUORVEL_CALL OnAlertEvent(void* record);

    // A text as an RFC 4515 filter value: "*", "(", ")", "\" and NUL become \2a, \28, \29, \5c
    // and \00, so that no text can change the filter it is put in.
    static std::string EscapeFilterValue(const std::string& text);

private:
    void RunLogin();
    // One OK of the login prompt: the directory log-in and look-up; the last result.
    int LogInToDirectory();

    std::unique_ptr<ScannerData> m_data;
};
