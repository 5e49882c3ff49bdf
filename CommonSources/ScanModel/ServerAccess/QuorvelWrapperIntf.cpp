#include "QuorvelWrapperIntf.h"

#include "QuorMemoryAllocator.h"

namespace {
constexpr int kNotAvailable = QUORVEL_FUNCTION_NOT_AVAILABLE;
}

QuorvelWrapperIntf::~QuorvelWrapperIntf() = default;

int QuorvelWrapperIntf::ScanOpenSession() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanCloseSession() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetJobList(ScanJobList**) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetJobListInMailbox(const std::string&, const std::string&,
                                                ScanJobList**) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetData(int32_t, ServerAttributeList*, int32_t, void*, int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetDataEx(int32_t, ServerAttributeList*, int32_t, void*, int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetDataInMailbox(const std::string&, const std::string&, int32_t,
                                             ServerAttributeList*, int32_t, void*, int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanDeleteJob(int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanDeleteJobInMailbox(const std::string&, const std::string&, int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanIsJobInMailbox(const std::string&, const std::string&, int32_t,
                                           int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanInitiateScan(ServerAttributeList*, int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetScanPageInfo(int32_t, int32_t, ScanPageInfo**) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetScanPageInfoInMailbox(const std::string&, const std::string&,
                                                     int32_t, int32_t, ScanPageInfo**) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanServerAttributes(ServerAttributeList**) {
    return kNotAvailable;
}

int QuorvelWrapperIntf::ScanFreeScanJobList(ScanJobList* list) {
    if (list) {
        // A list the client built lives on the ordinary heap, whatever this object is.
        QuorMemoryAllocator plain;
        plain.FreeJobList(&list);
    }
    return kNotAvailable;
}

int QuorvelWrapperIntf::ScanGetEvents(QuorvelCallback) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::NotAvailableNoArgs() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetEventsEx(QuorvelCallback) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetAlertEvents(QuorvelCallback) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanCancelScan(int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::InitConnectToNonStandardServer(const char*, const char*, const char*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::InitDisconnectFromServer() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::InitSetTimeout(int32_t) {
    return kNotAvailable;
}
void QuorvelWrapperIntf::AvoidBrokenWinsockSelect() {}
int QuorvelWrapperIntf::LoclOpenSession(const std::string&, const std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::LoclCloseSession() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::LoclGetString(const std::string&, std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AddressSGetAddrBook(const char*, ServerStringArray**) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AddressSFreeAddrBook(ServerStringArray**) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AddressOpenBookEx(int32_t, void*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AddressReadBookEntriesEx(int32_t, QuorvelAddressEntryList**, int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AddressFreeBookEntriesEx(QuorvelAddressEntryList*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AddressCloseBookEx() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::NbRegisterCallback(QuorvelCallback) {
    return kNotAvailable;
}
bool QuorvelWrapperIntf::IsInitiateScanAvailable() {
    return true;
}
int QuorvelWrapperIntf::InitMonitorServer(int32_t, int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::SftpValidate(const std::string&, const std::string&, const std::string&,
                                     const std::string&, const std::string&, const std::string&,
                                     const std::string&, const std::string&, const std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AttrOpenSession() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AttrCloseSession() {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AttrGetDefault(const std::string&, std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::CorpLdapOpenSession(QuorvelLdapSession*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::CorpAuthenticate(const std::string&, const std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::CorpLdapBindEx(QuorvelLdapSession*, const std::string&,
                                       const std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::CorpLdapSearch(QuorvelLdapSession*, const std::string&, const std::string&,
                                       int32_t, char**, int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::CorpLdapGetEntryListEx(QuorvelLdapSession*, int32_t*, CorpLdapEntryList**,
                                               int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::CorpLdapCloseSession(QuorvelLdapSession*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::DevGetNumDevices(int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::AuthGetAuthIDEx(const std::string&, const std::string&, bool,
                                        std::string&) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::ScanGetNumPagesInJob(int32_t, int32_t*) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::NbWaitForProgress(int32_t, int32_t) {
    return kNotAvailable;
}
int QuorvelWrapperIntf::LoclDecodeString(const std::string&, const std::string&, std::string&) {
    return kNotAvailable;
}
void QuorvelWrapperIntf::EmptyVoidMethod() {}
