#pragma once
// The one object through which every server call passes. It owns the connection, the sessions
// opened on it and the three notification tickets, remembers which are open and closes them in
// a fixed order when it is destroyed. As a QuorMemoryAllocator it builds records on the
// library's own heap. Results are the library's codes, returned unchanged; nothing is thrown
// for a failed call.

#include <string>

#include "QuorMemoryAllocator.h"
#include "QuorvelWrapperIntf.h"

class QuorvelWrapper : public QuorvelWrapperIntf, public QuorMemoryAllocator {
public:
    // A new wrapper with nothing open; nothing is sent to the server.
    static QuorvelWrapperIntf* Create();
    // The name of a result code, "Unknown Quorvel Result" for a code the libraries do not use.
    static std::string ResultToString(int32_t code);

    QuorvelWrapper(const QuorvelWrapper&) = delete;
    QuorvelWrapper& operator=(const QuorvelWrapper&) = delete;
    // Closes what is still open, unloads the libraries and pauses 150 ms.
    ~QuorvelWrapper() override;

    int ScanOpenSession() override;
    int ScanCloseSession() override;
    int ScanGetJobList(ScanJobList** list) override;
    int ScanGetJobListInMailbox(const std::string& mailbox, const std::string& password,
                                ScanJobList** list) override;
    int ScanGetData(int32_t jobId, ServerAttributeList* attributes, int32_t offset, void* buffer,
                    int32_t* size) override;
    int ScanGetDataEx(int32_t jobId, ServerAttributeList* attributes, int32_t offset, void* buffer,
                      int32_t* size) override;
    int ScanGetDataInMailbox(const std::string& mailbox, const std::string& password, int32_t jobId,
                             ServerAttributeList* attributes, int32_t offset, void* buffer,
                             int32_t* size) override;
    int ScanDeleteJob(int32_t jobId) override;
    int ScanDeleteJobInMailbox(const std::string& mailbox, const std::string& password,
                               int32_t jobId) override;
    int ScanIsJobInMailbox(const std::string& mailbox, const std::string& password, int32_t jobId,
                           int32_t* inMailbox) override;
    int ScanInitiateScan(ServerAttributeList* attributes, int32_t* jobId) override;
    int ScanGetScanPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info) override;
    int ScanGetScanPageInfoInMailbox(const std::string& mailbox, const std::string& password,
                                     int32_t jobId, int32_t page, ScanPageInfo** info) override;
    int ScanServerAttributes(ServerAttributeList** list) override;
    int ScanFreeScanJobList(ScanJobList* list) override;
    int ScanGetEvents(QuorvelCallback callback) override;
    int ScanGetEventsEx(QuorvelCallback callback) override;
    int ScanGetAlertEvents(QuorvelCallback callback) override;
    int ScanCancelScan(int32_t jobId) override;
    int InitConnectToNonStandardServer(const char* address, const char* user,
                                       const char* password) override;
    // Releases the monitor ticket; disconnects only when connected (0 when not).
    int InitDisconnectFromServer() override;
    int InitSetTimeout(int32_t seconds) override;
    void AvoidBrokenWinsockSelect() override;
    int LoclOpenSession(const std::string& languageCode, const std::string& encoding) override;
    int LoclCloseSession() override;
    // The plain lookup, then the one in the context "PageSize"; on failure the key itself.
    int LoclGetString(const std::string& key, std::string& text) override;
    int AddressSGetAddrBook(const char* name, ServerStringArray** book) override;
    int AddressSFreeAddrBook(ServerStringArray** book) override;
    int AddressOpenBookEx(int32_t selector, void* selection) override;
    int AddressReadBookEntriesEx(int32_t batchSize, QuorvelAddressEntryList** entries,
                                 int32_t* atEnd) override;
    int AddressFreeBookEntriesEx(QuorvelAddressEntryList* entries) override;
    int AddressCloseBookEx() override;
    int NbRegisterCallback(QuorvelCallback callback) override;
    bool IsInitiateScanAvailable() override;
    int InitMonitorServer(int32_t interval, int32_t flags) override;
    int SftpValidate(const std::string& address, const std::string& port, const std::string& user,
                     const std::string& password, const std::string& directory,
                     const std::string& proxyServer, const std::string& proxyPort,
                     const std::string& proxyUser, const std::string& proxyPassword) override;
    int AttrOpenSession() override;
    int AttrCloseSession() override;
    // On failure the value is left as it was.
    int AttrGetDefault(const std::string& key, std::string& value) override;
    int CorpLdapOpenSession(QuorvelLdapSession* session) override;
    int CorpAuthenticate(const std::string& user, const std::string& password) override;
    // The directory takes no credentials here: user and password are not passed on.
    int CorpLdapBindEx(QuorvelLdapSession* session, const std::string& user,
                       const std::string& password) override;
    // The base is not passed on.
    int CorpLdapSearch(QuorvelLdapSession* session, const std::string& base,
                       const std::string& filter, int32_t scope, char** attributeNames,
                       int32_t attributeCount) override;
    int CorpLdapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                               CorpLdapEntryList** entries, int32_t flags) override;
    int CorpLdapCloseSession(QuorvelLdapSession* session) override;
    int DevGetNumDevices(int32_t* count) override;
    int AuthGetAuthIDEx(const std::string& user, const std::string& domain, bool useDomain,
                        std::string& id) override;
    int ScanGetNumPagesInJob(int32_t jobId, int32_t* count) override;
    int NbWaitForProgress(int32_t word1, int32_t word2) override;
    // On failure the decoded text is the input unchanged.
    int LoclDecodeString(const std::string& languageCode, const std::string& text,
                         std::string& decoded) override;

    virtual int ReleaseEventTicket();
    virtual int ReleaseAlertTicket();
    virtual int ReleaseMonitorTicket();
    // NB_cancel, NB_block, NB_destroy; the first failure ends it.
    virtual int NbReleaseTicket(QuorvelNBTicket* ticket);
    virtual void* QuorvelMalloc(size_t size);
    virtual void QuorvelFree(void* block);
    virtual void QuorvelUnload();

    // The library heap; throws QuorBadAllocation when quorvel_malloc has nothing.
    void* Allocate(size_t size, const char* file, int line) override;
    void Free(void* block) override;

private:
    QuorvelWrapper();

    bool m_localisationSessionOpen = false;
    bool m_scanSessionOpen = false;
    bool m_connected = false;
    bool m_addressBookOpen = false;
    bool m_attributeSessionOpen = false;
    QuorvelServerHandle m_server = {};
    QuorvelSessionHandle m_scanSession = {};
    QuorvelNBTicket m_eventTicket = {};
    QuorvelNBTicket m_alertTicket = {};
    QuorvelNBTicket m_monitorTicket = {};
    QuorvelSessionHandle m_localisationSession = {};
    QuorvelSessionHandle m_addressBook = {};
    QuorvelSessionHandle m_attributeSession = {};
    bool m_eventTicketActive = false;
    bool m_alertTicketActive = false;
    bool m_monitorTicketActive = false;
};
