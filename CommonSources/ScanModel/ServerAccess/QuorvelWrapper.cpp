#include "QuorvelWrapper.h"

#include <map>
#include <memory>

#include <windows.h>

namespace {

const char* const kPageSizeContext = "PageSize";
const char* const kSftpListName = "sftp_validate";
const char* const kFtpDefaultPort = "21";

std::string EncodingFor(const std::string& languageCode) {
    return languageCode == "ja" ? "SJIS" : "ISO8859_1";
}

// The key and value arrays of an FTP validation request, released through their allocator.
class SftpArrays {
public:
    SftpArrays(QuorMemoryAllocator& allocator, int32_t count, int keyLine, int valueLine)
        : m_allocator(allocator), m_count(count) {
        const size_t bytes = static_cast<size_t>(count) * sizeof(char*);
        m_keys = static_cast<char**>(m_allocator.Allocate(bytes, __FILE__, keyLine));
        try {
            m_values = static_cast<char**>(m_allocator.Allocate(bytes, __FILE__, valueLine));
        } catch (...) {
            m_allocator.FreeIfNotNull(m_keys);
            throw;
        }
    }
    SftpArrays(const SftpArrays&) = delete;
    SftpArrays& operator=(const SftpArrays&) = delete;
    ~SftpArrays() {
        // The texts belong to the caller's strings; only the arrays are ours.
        m_allocator.FreeIfNotNull(m_keys);
        m_allocator.FreeIfNotNull(m_values);
    }

    bool IsComplete() const { return m_keys && m_values; }
    void Set(int32_t index, const char* key, const std::string& value) {
        m_keys[index] = const_cast<char*>(key);
        m_values[index] = const_cast<char*>(value.c_str());
    }
    SftpAttributeBlock Block() const { return SftpAttributeBlock{m_keys, m_values, 0, 0, m_count}; }

private:
    QuorMemoryAllocator& m_allocator;
    int32_t m_count;
    char** m_keys = nullptr;
    char** m_values = nullptr;
};

} // namespace

QuorvelWrapperIntf* QuorvelWrapper::Create() {
    auto* const wrapper = new QuorvelWrapper();
    wrapper->EmptyVoidMethod();
    return wrapper;
}

std::string QuorvelWrapper::ResultToString(int32_t code) {
    static const std::map<int32_t, const char*> names = {
        {0, "OK"},
        {-1, "BAD_PARAM"},
        {-2, "ACCESS_DENIED"},
        {-3, "SYSTEM_ERROR"},
        {-5, "FILE_NOT_FOUND"},
        {-6, "BUSY"},
        {-7, "HOST_NOT_FOUND"},
        {-8, "HOST_UNREACHABLE"},
        {-9, "CONNECTION_FAILED"},
        {-10, "PROTOCOL_ERROR"},
        {-11, "GENERAL_FAILURE"},
        {-12, "INVALID_HANDLE"},
        {-13, "LP_NOT_FOUND"},
        {-14, "LP_EXISTS"},
        {-15, "ITEM_NOT_FOUND"},
        {-16, "BAD_DEVICE_INDEX"},
        {-17, "NO_SUCH_SCOPE"},
        {-18, "KEY_NOT_FOUND"},
        {-19, "VALUE_NOT_FOUND"},
        {-20, "MALFORMED_ATTRIBUTES"},
        {-21, "INVALID_SCOPE"},
        {-22, "CONSTRAINTS_VIOLATED"},
        {-23, "FILE_LOCKED"},
        {-24, "OUT_OF_MEMORY"},
        {-30, "LOCL_PARMERR"},
        {-31, "LOCL_NOMEMERR"},
        {-32, "LOCL_INVALID_HANDLE"},
        {-33, "LOCL_UNKNOWN_KEY"},
        {-34, "LOCL_INVALID_LOCALE"},
        {-35, "LOCL_INVALID_ENCODING"},
        {-36, "LOCL_INTERNAL_ERROR"},
        {-37, "LOCL_UNSUPPORTED"},
        {-38, "OFFSET_OUT_OF_RANGE"},
        {-39, "BAD_LIMIT"},
        {-40, "ACTION_UNNECESSARY"},
        {-41, "PARAMETER_MAY_NOT_BE_NULL"},
        {-42, "NO_DEFAULT"},
        {-43, "NO_CONSTRAINTS"},
        {-50, "JOB_NOT_FOUND"},
        {-51, "BAD_PATH"},
        {-52, "ARCHIVE_NOT_FOUND"},
        {-53, "DISK_FULL"},
        {-54, "TAB_EXISTS"},
        {-60, "NO_RETURN"},
        {-61, "CANNOT_REUSE_NBTICKET"},
        {-70, "SNMP_PDU_ERROR"},
        {-71, "SNMP_TOO_BIG"},
        {-72, "SNMP_NO_SUCH_NAME"},
        {-73, "SNMP_BAD_VALUE"},
        {-74, "SNMP_READ_ONLY"},
        {-75, "SNMP_GENERAL_ERROR"},
        {-99, "FUNCTION_NOT_COMPATIBLE"},
        {-100, "FUNCTION_NOT_AVAILABLE"},
        {-101, "PENDING"},
        {-102, "TIMEOUT"},
        {-103, "CANCELED"},
        {-104, "ACTION_NOT_SUPPORTED"},
        {-110, "ADDRESS_DATABASE_OPEN_ERROR"},
        {-111, "ADDRESS_DATABASE_WRITE_ERROR"},
        {-112, "ADDRESS_SERVICE_ERROR"},
        {-113, "ADDRESS_DUPLICATE_ENTRY"},
        {-200, "SCAN_DEST_NOT_SUPPORTED"},
        {-201, "SCAN_DEST_FAILED"},
        {-202, "SCAN_DISK_PARTITION_FULL"},
        {101, "Quorvel_core.dll is not found"},
        {102, "Quorvel10.dll is not found"},
        {103, "Quorvel_zyl.dll is not found"},
        {104, "Quorvel_scan.dll is not found"},
        {105, "A quorvel function is not found"},
    };
    const auto found = names.find(code);
    return found == names.end() ? "Unknown Quorvel Result" : found->second;
}

QuorvelWrapper::QuorvelWrapper() = default;

QuorvelWrapper::~QuorvelWrapper() {
    if (m_localisationSessionOpen) {
        LOCL_closeSession(&m_localisationSession, 0);
    }
    ReleaseEventTicket();
    ReleaseAlertTicket();
    if (m_scanSessionOpen) {
        SCAN_closeSession(&m_scanSession, 0);
    }
    if (m_addressBookOpen) {
        ADDRESS_CloseBookEx(&m_addressBook, 0);
    }
    if (m_attributeSessionOpen) {
        ATTR_closeSession(&m_attributeSession, 0);
    }
    if (m_connected) {
        ReleaseMonitorTicket();
        if (m_connected) {
            INIT_disconnectFromServer(&m_server, 0);
        }
    }
    QuorvelUnload();
    // Gives the library's thread time to finish before the caller unloads anything.
    Sleep(150);
}

int QuorvelWrapper::ScanOpenSession() {
    const int result = SCAN_openSession(&m_server, &m_scanSession, 0);
    m_scanSessionOpen = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ScanCloseSession() {
    ReleaseEventTicket();
    ReleaseAlertTicket();
    const int result = SCAN_closeSession(&m_scanSession, 0);
    m_scanSessionOpen = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ScanGetJobList(ScanJobList** list) {
    return SCAN_getJobList(&m_scanSession, list, 0);
}

int QuorvelWrapper::ScanGetJobListInMailbox(const std::string& mailbox, const std::string& password,
                                            ScanJobList** list) {
    return SCAN_getJobListInMailbox(&m_scanSession, mailbox.c_str(), password.c_str(), list, 0);
}

int QuorvelWrapper::ScanGetData(int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                                void* buffer, int32_t* size) {
    return SCAN_getData(&m_scanSession, jobId, attributes, offset, buffer, size, 0);
}

int QuorvelWrapper::ScanGetDataEx(int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                                  void* buffer, int32_t* size) {
    return SCAN_getDataEx(&m_scanSession, jobId, attributes, offset, buffer, size, 0);
}

int QuorvelWrapper::ScanGetDataInMailbox(const std::string& mailbox, const std::string& password,
                                         int32_t jobId, ServerAttributeList* attributes,
                                         int32_t offset, void* buffer, int32_t* size) {
    return SCAN_getDataInMailbox(&m_scanSession, mailbox.c_str(), password.c_str(), jobId,
                                 attributes, offset, buffer, size, 0);
}

int QuorvelWrapper::ScanDeleteJob(int32_t jobId) {
    return SCAN_deleteJob(&m_scanSession, jobId, 0);
}

int QuorvelWrapper::ScanDeleteJobInMailbox(const std::string& mailbox, const std::string& password,
                                           int32_t jobId) {
    return SCAN_deleteJobInMailbox(&m_scanSession, mailbox.c_str(), password.c_str(), jobId, 0);
}

int QuorvelWrapper::ScanIsJobInMailbox(const std::string& mailbox, const std::string& password,
                                       int32_t jobId, int32_t* inMailbox) {
    return SCAN_isJobInMailbox(&m_scanSession, mailbox.c_str(), password.c_str(), jobId, inMailbox,
                               0);
}

int QuorvelWrapper::ScanInitiateScan(ServerAttributeList* attributes, int32_t* jobId) {
    return SCAN_initiateScan(&m_scanSession, attributes, jobId, 0);
}

int QuorvelWrapper::ScanGetScanPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info) {
    return SCAN_getScanPageInfo(&m_scanSession, jobId, page, info, 0);
}

int QuorvelWrapper::ScanGetScanPageInfoInMailbox(const std::string& mailbox,
                                                 const std::string& password, int32_t jobId,
                                                 int32_t page, ScanPageInfo** info) {
    return SCAN_getScanPageInfoInMailbox(&m_scanSession, mailbox.c_str(), password.c_str(), jobId,
                                         page, info, 0);
}

int QuorvelWrapper::ScanServerAttributes(ServerAttributeList** list) {
    return SCAN_serverAttributes(&m_scanSession, list, 0);
}

int QuorvelWrapper::ScanFreeScanJobList(ScanJobList* list) {
    return SCAN_freeScanJobList(list, 0);
}

int QuorvelWrapper::ScanGetEvents(QuorvelCallback callback) {
    const int result = SCAN_getEvents(&m_server, callback, &m_eventTicket);
    m_eventTicketActive = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ScanGetEventsEx(QuorvelCallback callback) {
    const int result = SCAN_getEventsEx(&m_server, callback, &m_eventTicket);
    m_eventTicketActive = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ScanGetAlertEvents(QuorvelCallback callback) {
    const int result = SCAN_getAlertEvents(&m_server, callback, &m_alertTicket);
    m_alertTicketActive = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ScanCancelScan(int32_t jobId) {
    return SCAN_cancelScan(&m_scanSession, jobId, 0, 0);
}

int QuorvelWrapper::InitConnectToNonStandardServer(const char* address, const char* user,
                                                   const char* password) {
    m_server = {};
    const int result =
        INIT_connectToNonStandardServer(address ? address : "", user ? user : "",
                                        password ? password : "", "kivo", -1, -1, -1, &m_server, 0);
    if (result == QUORVEL_OK) {
        INIT_usePipe(&m_server, 0);
    }
    m_connected = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::InitDisconnectFromServer() {
    ReleaseMonitorTicket();
    if (!m_connected) {
        return QUORVEL_OK;
    }
    const int result = INIT_disconnectFromServer(&m_server, 0);
    m_connected = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::InitSetTimeout(int32_t seconds) {
    return INIT_setTimeout(&m_server, seconds, 0);
}

void QuorvelWrapper::AvoidBrokenWinsockSelect() {
    const DWORD version = GetVersion();
    const bool windows9x = (version & 0x80000000u) != 0;
    const unsigned majorVersion = version & 0xFFu;
    if (windows9x && majorVersion >= 4) {
        avoid_broken_winsock_select();
    }
}

int QuorvelWrapper::LoclOpenSession(const std::string& languageCode, const std::string& encoding) {
    const int result = LOCL_openSession(&m_server, 0, languageCode.c_str(), encoding.c_str(),
                                        &m_localisationSession, 0);
    m_localisationSessionOpen = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::LoclCloseSession() {
    if (!m_localisationSessionOpen) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    const int result = LOCL_closeSession(&m_localisationSession, 0);
    m_localisationSessionOpen = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::LoclGetString(const std::string& key, std::string& text) {
    if (key.empty()) {
        text.clear();
        return QUORVEL_OK;
    }
    char* found = nullptr;
    int result = LOCL_getString(&m_localisationSession, key.c_str(), &found, 0);
    if (result == QUORVEL_OK && found) {
        text = found;
        return QUORVEL_OK;
    }
    char* inContext = nullptr;
    result = LOCL_getStringWithContext(&m_localisationSession, kPageSizeContext, key.c_str(),
                                       &inContext, 0);
    if (result == QUORVEL_OK && inContext) {
        text = inContext;
        return QUORVEL_OK;
    }
    text = key;
    return result;
}

int QuorvelWrapper::AddressSGetAddrBook(const char* name, ServerStringArray** book) {
    return ADDRESS_sGetAddrBook(&m_server, name ? name : "", book, 0);
}

int QuorvelWrapper::AddressSFreeAddrBook(ServerStringArray** book) {
    const int result = ADDRESS_sFreeAddrBook(&m_server, book, 0);
    if (book) {
        *book = nullptr;
    }
    return result;
}

int QuorvelWrapper::AddressOpenBookEx(int32_t selector, void* selection) {
    const int result = ADDRESS_OpenBookEx(&m_server, &m_addressBook, selector, selection, 0, 0);
    m_addressBookOpen = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::AddressReadBookEntriesEx(int32_t batchSize, QuorvelAddressEntryList** entries,
                                             int32_t* atEnd) {
    return ADDRESS_ReadBookEntriesEx(&m_addressBook, batchSize, entries, atEnd, 0);
}

int QuorvelWrapper::AddressFreeBookEntriesEx(QuorvelAddressEntryList* entries) {
    return ADDRESS_FreeBookEntriesEx(&m_addressBook, entries, 0);
}

int QuorvelWrapper::AddressCloseBookEx() {
    const int result = ADDRESS_CloseBookEx(&m_addressBook, 0);
    m_addressBookOpen = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::NbRegisterCallback(QuorvelCallback callback) {
    const int result = NB_registerCallback(&m_monitorTicket, 0, callback);
    m_monitorTicketActive = result == QUORVEL_OK;
    return result;
}

bool QuorvelWrapper::IsInitiateScanAvailable() {
    // An invalid session and no attributes: no scan can start, only the answer counts.
    const uint32_t saved = m_scanSession.words[0];
    m_scanSession.words[0] = 0xFFFFFFFFu;
    const int result = SCAN_initiateScan(&m_scanSession, nullptr, nullptr, 0);
    m_scanSession.words[0] = saved;
    return result != QUORVEL_FUNCTION_NOT_AVAILABLE;
}

int QuorvelWrapper::InitMonitorServer(int32_t interval, int32_t flags) {
    return INIT_monitorServer(&m_server, interval, flags, &m_monitorTicket);
}

int QuorvelWrapper::SftpValidate(const std::string& address, const std::string& port,
                                 const std::string& user, const std::string& password,
                                 const std::string& directory, const std::string& proxyServer,
                                 const std::string& proxyPort, const std::string& proxyUser,
                                 const std::string& proxyPassword) {
    SftpValidateRequest request = {};
    request.address = address.c_str();
    request.user = user.c_str();
    request.password = password.c_str();
    request.directory = directory.c_str();
    request.listName = kSftpListName;
    request.one = 1;

    const bool otherPort = !port.empty() && port != kFtpDefaultPort;
    std::unique_ptr<SftpArrays> arrays;
    if (proxyServer.empty()) {
        if (otherPort) {
            arrays = std::make_unique<SftpArrays>(*this, 1, 979, 980);
            if (!arrays->IsComplete()) {
                return QUORVEL_OUT_OF_MEMORY;
            }
            arrays->Set(0, "ftp_port", port);
        }
    } else {
        const int32_t count = otherPort ? 6 : 5;
        arrays = otherPort ? std::make_unique<SftpArrays>(*this, count, 1000, 1001)
                           : std::make_unique<SftpArrays>(*this, count, 1012, 1013);
        if (!arrays->IsComplete()) {
            return QUORVEL_OUT_OF_MEMORY;
        }
        static const std::string kHttpProxy = "HTTP_PROXY";
        arrays->Set(0, "proxy_type", kHttpProxy);
        arrays->Set(1, "address", proxyServer);
        arrays->Set(2, "proxy_port", proxyPort);
        arrays->Set(3, "username", proxyUser);
        arrays->Set(4, "password", proxyPassword);
        if (otherPort) {
            arrays->Set(5, "ftp_port", port);
        }
    }
    SftpAttributeBlock block = {};
    if (arrays) {
        block = arrays->Block();
        request.attributes = &block;
    }
    return SFTP_Validate(&m_server, &request, 0, 0);
}

int QuorvelWrapper::AttrOpenSession() {
    const int result = ATTR_openSession(&m_server, &m_attributeSession, 0);
    m_attributeSessionOpen = result == QUORVEL_OK;
    return result;
}

int QuorvelWrapper::AttrCloseSession() {
    const int result = ATTR_closeSession(&m_attributeSession, 0);
    m_attributeSessionOpen = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::AttrGetDefault(const std::string& key, std::string& value) {
    char* text = nullptr;
    const int result = ATTR_getDefault(&m_attributeSession, 0, key.c_str(), &text, 0);
    if (result == QUORVEL_OK && text) {
        value = text;
    }
    return result;
}

int QuorvelWrapper::CorpLdapOpenSession(QuorvelLdapSession* session) {
    return CORP_ldapOpenSession(&m_server, session, 0, 0, 0);
}

int QuorvelWrapper::CorpAuthenticate(const std::string& user, const std::string& password) {
    return CORP_Authenticate(&m_server, 0, 0, user.c_str(), password.c_str(), 0, 0);
}

int QuorvelWrapper::CorpLdapBindEx(QuorvelLdapSession* session, const std::string&,
                                   const std::string&) {
    return CORP_ldapBindEx(session, 0, 0, 0, 0, 0);
}

int QuorvelWrapper::CorpLdapSearch(QuorvelLdapSession* session, const std::string&,
                                   const std::string& filter, int32_t scope, char** attributeNames,
                                   int32_t attributeCount) {
    CorpLdapAttrNames names = {attributeNames, attributeCount};
    return CORP_ldapSearch(session, 0, scope, filter.c_str(), &names, 10, 60, 0);
}

int QuorvelWrapper::CorpLdapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                                           CorpLdapEntryList** entries, int32_t flags) {
    return CORP_ldapGetEntryListEx(session, count, entries, flags, 0);
}

int QuorvelWrapper::CorpLdapCloseSession(QuorvelLdapSession* session) {
    return CORP_ldapCloseSession(session, 0);
}

int QuorvelWrapper::DevGetNumDevices(int32_t* count) {
    return DEV_getNumDevices(&m_server, count, 0);
}

int QuorvelWrapper::AuthGetAuthIDEx(const std::string& user, const std::string& domain,
                                    bool useDomain, std::string& id) {
    if (!useDomain) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    char* text = nullptr;
    int32_t extra = 0;
    const int result =
        AUTH_getAuthIDEx(&m_server, user.c_str(), domain.c_str(), 5, 0, &text, &extra, 0);
    if (result == QUORVEL_OK && text) {
        id = text;
    }
    return result;
}

int QuorvelWrapper::ScanGetNumPagesInJob(int32_t jobId, int32_t* count) {
    return SCAN_getNumPagesInJob(&m_scanSession, jobId, count, 0);
}

int QuorvelWrapper::NbWaitForProgress(int32_t word1, int32_t word2) {
    if (!m_eventTicketActive) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    return NB_waitForProgress(&m_eventTicket, word1, word2);
}

int QuorvelWrapper::LoclDecodeString(const std::string& languageCode, const std::string& text,
                                     std::string& decoded) {
    char* buffer = nullptr;
    const int result = LOCL_decodeString(&m_localisationSession, EncodingFor(languageCode).c_str(),
                                         text.c_str(), "UTF8NOBOM", &buffer, 0);
    if (result == QUORVEL_OK && buffer) {
        decoded = buffer;
        QuorvelFree(buffer);
    } else {
        decoded = text;
    }
    return result;
}

int QuorvelWrapper::ReleaseEventTicket() {
    if (!m_eventTicketActive) {
        return QUORVEL_OK;
    }
    const int result = NbReleaseTicket(&m_eventTicket);
    m_eventTicketActive = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ReleaseAlertTicket() {
    if (!m_alertTicketActive) {
        return QUORVEL_OK;
    }
    const int result = NbReleaseTicket(&m_alertTicket);
    m_alertTicketActive = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::ReleaseMonitorTicket() {
    if (!m_monitorTicketActive) {
        return QUORVEL_OK;
    }
    const int result = NbReleaseTicket(&m_monitorTicket);
    m_monitorTicketActive = result != QUORVEL_OK;
    return result;
}

int QuorvelWrapper::NbReleaseTicket(QuorvelNBTicket* ticket) {
    int result = NB_cancel(ticket);
    if (result != QUORVEL_OK) {
        return result;
    }
    result = NB_block(ticket);
    if (result != QUORVEL_OK) {
        return result;
    }
    return NB_destroy(ticket);
}

void* QuorvelWrapper::QuorvelMalloc(size_t size) {
    return quorvel_malloc(size);
}

void QuorvelWrapper::QuorvelFree(void* block) {
    quorvel_free(block);
}

void QuorvelWrapper::QuorvelUnload() {
    quorvel_unload();
}

void* QuorvelWrapper::Allocate(size_t size, const char*, int) {
    void* const block = QuorvelMalloc(size);
    if (!block) {
        throw QuorBadAllocation();
    }
    return block;
}

void QuorvelWrapper::Free(void* block) {
    QuorvelFree(block);
}
