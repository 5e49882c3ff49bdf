#pragma once
// Every request the data source makes of an Orvex server, one operation per library call.
// Integer results are the library's result codes (0 success, negative failure); the defaults
// answer QUORVEL_FUNCTION_NOT_AVAILABLE without touching their arguments.

#include <cstdint>
#include <string>

#include "quorvel_api.h"

class QuorvelWrapperIntf {
public:
    QuorvelWrapperIntf() = default;
    QuorvelWrapperIntf(const QuorvelWrapperIntf&) = delete;
    QuorvelWrapperIntf& operator=(const QuorvelWrapperIntf&) = delete;
    virtual ~QuorvelWrapperIntf();

    virtual int ScanOpenSession();
    virtual int ScanCloseSession();
    virtual int ScanGetJobList(ScanJobList** list);
    virtual int ScanGetJobListInMailbox(const std::string& mailbox, const std::string& password,
                                        ScanJobList** list);
    virtual int ScanGetData(int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                            void* buffer, int32_t* size);
    virtual int ScanGetDataEx(int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                              void* buffer, int32_t* size);
    virtual int ScanGetDataInMailbox(const std::string& mailbox, const std::string& password,
                                     int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                                     void* buffer, int32_t* size);
    virtual int ScanDeleteJob(int32_t jobId);
    virtual int ScanDeleteJobInMailbox(const std::string& mailbox, const std::string& password,
                                       int32_t jobId);
    virtual int ScanIsJobInMailbox(const std::string& mailbox, const std::string& password,
                                   int32_t jobId, int32_t* inMailbox);
    virtual int ScanInitiateScan(ServerAttributeList* attributes, int32_t* jobId);
    virtual int ScanGetScanPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info);
    virtual int ScanGetScanPageInfoInMailbox(const std::string& mailbox,
                                             const std::string& password, int32_t jobId,
                                             int32_t page, ScanPageInfo** info);
    virtual int ScanServerAttributes(ServerAttributeList** list);
    // Frees a job list the client built itself (on the ordinary heap); still answers -100.
    virtual int ScanFreeScanJobList(ScanJobList* list);
    virtual int ScanGetEvents(QuorvelCallback callback);
    // An operation no library offers.
    virtual int NotAvailableNoArgs();
    virtual int ScanGetEventsEx(QuorvelCallback callback);
    virtual int ScanGetAlertEvents(QuorvelCallback callback);
    virtual int ScanCancelScan(int32_t jobId);
    virtual int InitConnectToNonStandardServer(const char* address, const char* user,
                                               const char* password);
    virtual int InitDisconnectFromServer();
    virtual int InitSetTimeout(int32_t seconds);
    virtual void AvoidBrokenWinsockSelect();
    virtual int LoclOpenSession(const std::string& languageCode, const std::string& encoding);
    virtual int LoclCloseSession();
    virtual int LoclGetString(const std::string& key, std::string& text);
    virtual int AddressSGetAddrBook(const char* name, ServerStringArray** book);
    virtual int AddressSFreeAddrBook(ServerStringArray** book);
    virtual int AddressOpenBookEx(int32_t selector, void* selection);
    virtual int AddressReadBookEntriesEx(int32_t batchSize, QuorvelAddressEntryList** entries,
                                         int32_t* atEnd);
    virtual int AddressFreeBookEntriesEx(QuorvelAddressEntryList* entries);
    virtual int AddressCloseBookEx();
    virtual int NbRegisterCallback(QuorvelCallback callback);
    // Whether the library can start scans at the copier at all.
    virtual bool IsInitiateScanAvailable();
    virtual int InitMonitorServer(int32_t interval, int32_t flags);
    virtual int SftpValidate(const std::string& address, const std::string& port,
                             const std::string& user, const std::string& password,
                             const std::string& directory, const std::string& proxyServer,
                             const std::string& proxyPort, const std::string& proxyUser,
                             const std::string& proxyPassword);
    virtual int AttrOpenSession();
    virtual int AttrCloseSession();
    virtual int AttrGetDefault(const std::string& key, std::string& value);
    virtual int CorpLdapOpenSession(QuorvelLdapSession* session);
    virtual int CorpAuthenticate(const std::string& user, const std::string& password);
    virtual int CorpLdapBindEx(QuorvelLdapSession* session, const std::string& user,
                               const std::string& password);
    virtual int CorpLdapSearch(QuorvelLdapSession* session, const std::string& base,
                               const std::string& filter, int32_t scope, char** attributeNames,
                               int32_t attributeCount);
    virtual int CorpLdapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                                       CorpLdapEntryList** entries, int32_t flags);
    virtual int CorpLdapCloseSession(QuorvelLdapSession* session);
    virtual int DevGetNumDevices(int32_t* count);
    virtual int AuthGetAuthIDEx(const std::string& user, const std::string& domain, bool useDomain,
                                std::string& id);
    virtual int ScanGetNumPagesInJob(int32_t jobId, int32_t* count);
    virtual int NbWaitForProgress(int32_t word1, int32_t word2);
    virtual int LoclDecodeString(const std::string& languageCode, const std::string& text,
                                 std::string& decoded);
    // The hook QuorvelWrapper::Create calls once.
    virtual void EmptyVoidMethod();
};
