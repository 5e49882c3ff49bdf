/*
 * The server-access libraries quorvel10, quorvel_scan, quorvel_zyl and quorvel_corp: every call,
 * record and result code they share with their clients. The data source includes only this
 * header and binds the calls through the import libraries.
 *
 * Calling convention: every call and every callback is __cdecl (QUORVEL_CALL); exported names
 * carry no decoration. Every call answers a 32-bit result code: 0 success, negative failure
 * (QUORVEL_FUNCTION_NOT_AVAILABLE, -100, for a call the library does not offer). Most calls end
 * in reserved words that callers pass as 0.
 *
 * Memory: records the libraries hand out (attribute lists, page descriptions, job lists, string
 * arrays, address entries, decoded texts) live on the library heap (quorvel_malloc/quorvel_free);
 * records a client builds for a call live wherever the client likes, but a client that wants the
 * library to free them builds them on that heap too. Texts that LOCL_getString,
 * LOCL_getStringWithContext, ATTR_getDefault, AUTH_getAuthIDEx and CORP_ldapGetEntryListEx
 * return stay the library's: they are valid until the session (or connection) is closed, and
 * the client only copies them.
 *
 * Layouts are those of the 32-bit target.
 */
#ifndef QUORVEL_API_H
#define QUORVEL_API_H

#include <stddef.h>
#include <stdint.h>

#define QUORVEL_CALL __cdecl

#ifdef __cplusplus
#define QUORVEL_STATIC_ASSERT(cond, text) static_assert(cond, text)
extern "C" {
#else
#define QUORVEL_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#endif

/* ---- result codes ---------------------------------------------------------------------- */

enum QuorvelResultCode {
    QUORVEL_OK = 0,
    QUORVEL_BAD_PARAM = -1,
    QUORVEL_ACCESS_DENIED = -2,
    QUORVEL_SYSTEM_ERROR = -3,
    QUORVEL_FILE_NOT_FOUND = -5,
    QUORVEL_BUSY = -6,
    QUORVEL_HOST_NOT_FOUND = -7,
    QUORVEL_HOST_UNREACHABLE = -8,
    QUORVEL_CONNECTION_FAILED = -9,
    QUORVEL_PROTOCOL_ERROR = -10,
    QUORVEL_GENERAL_FAILURE = -11,
    QUORVEL_INVALID_HANDLE = -12,
    QUORVEL_LP_NOT_FOUND = -13,
    QUORVEL_LP_EXISTS = -14,
    QUORVEL_ITEM_NOT_FOUND = -15,
    QUORVEL_BAD_DEVICE_INDEX = -16,
    QUORVEL_NO_SUCH_SCOPE = -17,
    QUORVEL_KEY_NOT_FOUND = -18,
    QUORVEL_VALUE_NOT_FOUND = -19,
    QUORVEL_MALFORMED_ATTRIBUTES = -20,
    QUORVEL_INVALID_SCOPE = -21,
    QUORVEL_CONSTRAINTS_VIOLATED = -22,
    QUORVEL_FILE_LOCKED = -23,
    QUORVEL_OUT_OF_MEMORY = -24,
    QUORVEL_LOCL_PARMERR = -30,
    QUORVEL_LOCL_NOMEMERR = -31,
    QUORVEL_LOCL_INVALID_HANDLE = -32,
    QUORVEL_LOCL_UNKNOWN_KEY = -33,
    QUORVEL_LOCL_INVALID_LOCALE = -34,
    QUORVEL_LOCL_INVALID_ENCODING = -35,
    QUORVEL_LOCL_INTERNAL_ERROR = -36,
    QUORVEL_LOCL_UNSUPPORTED = -37,
    QUORVEL_OFFSET_OUT_OF_RANGE = -38,
    QUORVEL_BAD_LIMIT = -39,
    QUORVEL_ACTION_UNNECESSARY = -40,
    QUORVEL_PARAMETER_MAY_NOT_BE_NULL = -41,
    QUORVEL_NO_DEFAULT = -42,
    QUORVEL_NO_CONSTRAINTS = -43,
    QUORVEL_JOB_NOT_FOUND = -50,
    QUORVEL_BAD_PATH = -51,
    QUORVEL_ARCHIVE_NOT_FOUND = -52,
    QUORVEL_DISK_FULL = -53,
    QUORVEL_TAB_EXISTS = -54,
    QUORVEL_NO_RETURN = -60,
    QUORVEL_CANNOT_REUSE_NBTICKET = -61,
    QUORVEL_SNMP_PDU_ERROR = -70,
    QUORVEL_SNMP_TOO_BIG = -71,
    QUORVEL_SNMP_NO_SUCH_NAME = -72,
    QUORVEL_SNMP_BAD_VALUE = -73,
    QUORVEL_SNMP_READ_ONLY = -74,
    QUORVEL_SNMP_GENERAL_ERROR = -75,
    QUORVEL_FUNCTION_NOT_COMPATIBLE = -99,
    QUORVEL_FUNCTION_NOT_AVAILABLE = -100,
    QUORVEL_PENDING = -101,
    QUORVEL_TIMEOUT = -102,
    QUORVEL_CANCELED = -103,
    QUORVEL_ACTION_NOT_SUPPORTED = -104,
    QUORVEL_ADDRESS_DATABASE_OPEN_ERROR = -110,
    QUORVEL_ADDRESS_DATABASE_WRITE_ERROR = -111,
    QUORVEL_ADDRESS_SERVICE_ERROR = -112,
    QUORVEL_ADDRESS_DUPLICATE_ENTRY = -113,
    QUORVEL_SCAN_DEST_NOT_SUPPORTED = -200,
    QUORVEL_SCAN_DEST_FAILED = -201,
    QUORVEL_SCAN_DISK_PARTITION_FULL = -202,
    /* A part of the library itself is missing. */
    QUORVEL_CORE_DLL_NOT_FOUND = 101,
    QUORVEL_QUORVEL10_DLL_NOT_FOUND = 102,
    QUORVEL_ZYL_DLL_NOT_FOUND = 103,
    QUORVEL_SCAN_DLL_NOT_FOUND = 104,
    QUORVEL_FUNCTION_NOT_FOUND = 105
};

/* ---- handles (opaque; zero them before the call that fills them) ------------------------ */

typedef struct QuorvelServerHandle {
    uint32_t words[13];
} QuorvelServerHandle;

typedef struct QuorvelSessionHandle {
    uint32_t words[2];
} QuorvelSessionHandle;

typedef struct QuorvelNBTicket {
    uint32_t words[2];
} QuorvelNBTicket;

typedef struct QuorvelLdapSession {
    uint32_t words[2];
} QuorvelLdapSession;

/* Called on a thread of the library's own; the argument is valid only during the call. */
typedef void(QUORVEL_CALL* QuorvelCallback)(void* record);

/* ---- records --------------------------------------------------------------------------- */

typedef struct ServerStringArray {
    char** items;
    int32_t count;
} ServerStringArray;

/* Parallel arrays of NUL-terminated texts; an empty list has count 0 and null arrays. */
typedef struct ServerAttributeList {
    char** keys;
    char** values;
    int32_t count;
} ServerAttributeList;

/* What SCAN_getScanPageInfo returns: the page's keys and values ("X_PIXELS", ...). */
typedef ServerAttributeList ScanPageInfo;

typedef struct ScanJobEntry {
    int32_t jobId;
    char owner[32];
    char name[32];
    char date[32]; /* ctime form */
    uint32_t size;
    ServerAttributeList attributes;
} ScanJobEntry;

typedef struct ScanJobList {
    ScanJobEntry* entries;
    int32_t count;
} ScanJobList;

typedef struct QuorvelAddressValue {
    int32_t length;
    char* data;
} QuorvelAddressValue;

typedef struct QuorvelAddressAttr {
    char* name;
    QuorvelAddressValue* values;
    int32_t numVals;
} QuorvelAddressAttr;

typedef struct QuorvelAddressEntry {
    char* name;
    QuorvelAddressAttr* attrs;
    int32_t numAttrs;
} QuorvelAddressEntry;

typedef struct QuorvelAddressEntryList {
    QuorvelAddressEntry** items;
    int32_t count;
} QuorvelAddressEntryList;

/* ADDRESS_OpenBookEx selector 1: open a book by name. */
#define QUORVEL_BOOK_BY_NAME 1
/* ADDRESS_OpenBookEx selector 0x10: search the directory. */
#define QUORVEL_BOOK_DIRECTORY_SEARCH 0x10

typedef struct QuorvelBookNameList {
    const char* name;
    const char* terminator; /* null */
} QuorvelBookNameList;

typedef struct QuorvelBookSelection {
    QuorvelBookNameList* names;
    int32_t reserved; /* 0 */
} QuorvelBookSelection;

/* Attribute names a directory search asks for. */
typedef struct CorpLdapAttrNames {
    char** names;
    int32_t count;
} CorpLdapAttrNames;

typedef struct QuorvelDirectoryQuery {
    int32_t reserved;         /* 0 */
    const char* filter;       /* null: no filter */
    CorpLdapAttrNames* names; /* {"cn", "mail"} */
    int32_t limit;            /* 30 */
} QuorvelDirectoryQuery;

typedef struct QuorvelDirectorySelection {
    int32_t word0;  /* 0 */
    int32_t* word1; /* &word2 */
    int32_t word2;  /* 0 */
    int32_t word3;  /* 0 */
    int32_t* word4; /* &word6 */
    QuorvelDirectoryQuery* query;
    int32_t word6; /* 0 */
    int32_t word7; /* 0 */
    int32_t word8; /* 0 */
} QuorvelDirectorySelection;

/* The corporate directory's entry list (CORP_ldapGetEntryListEx); owned by the LDAP session. */
typedef struct CorpLdapValue {
    char* data; /* data first, unlike QuorvelAddressValue */
    int32_t length;
} CorpLdapValue;

typedef struct CorpLdapAttr {
    char* name;
    CorpLdapValue* values;
    int32_t count;
} CorpLdapAttr;

typedef struct CorpLdapEntry {
    uint32_t reserved;
    CorpLdapAttr* attrs;
    int32_t count;
} CorpLdapEntry;

typedef struct CorpLdapEntryList {
    CorpLdapEntry** entries;
    int32_t count;
} CorpLdapEntryList;

/* Server events: type -8 is made by the client itself for "server down". */
typedef struct ScanEventRecord {
    int32_t type;
    int32_t jobId;
    uint32_t reserved;
} ScanEventRecord;

typedef struct ScanAlertEventRecord {
    uint32_t word0;
    uint32_t word1;
    char* text;
    uint32_t word3;
    uint32_t word4;
    uint32_t word5;
} ScanAlertEventRecord;

/* SFTP_Validate request: ten words, built by the caller for the call. */
typedef struct SftpAttributeBlock {
    char** keys;
    char** values;
    int32_t reserved2; /* 0 */
    int32_t reserved3; /* 0 */
    int32_t count;
} SftpAttributeBlock;

typedef struct SftpValidateRequest {
    int32_t reserved0; /* 0 */
    const char* address;
    const char* user;
    const char* password;
    const char* directory;
    const char* listName;           /* "sftp_validate" */
    int32_t one;                    /* 1 */
    int32_t reserved7;              /* 0 */
    int32_t reserved8;              /* 0 */
    SftpAttributeBlock* attributes; /* null: no attributes */
} SftpValidateRequest;

/* A value record of the library's; built and freed only by the client's allocator. */
typedef struct QuorvelValueSubRecord {
    char* text1;
    char* text2;
    ServerStringArray* strings;
} QuorvelValueSubRecord;

typedef struct QuorvelValueFirstForm {
    char* text;
    QuorvelValueSubRecord* sub;
} QuorvelValueFirstForm;

typedef struct QuorvelValuePointers {
    void* pointer0;
    void* pointer1;
    void* pointer2;
} QuorvelValuePointers;

typedef struct QuorvelValueSecondForm {
    char* text;
    void* extra;
    QuorvelValuePointers* pointers;
    QuorvelValueSubRecord* sub;
} QuorvelValueSecondForm;

typedef struct QuorvelValueRecord {
    QuorvelValueFirstForm* first;
    QuorvelValueSecondForm* second;
} QuorvelValueRecord;

#if UINTPTR_MAX == 0xFFFFFFFFu
QUORVEL_STATIC_ASSERT(sizeof(QuorvelServerHandle) == 52, "server handle");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelSessionHandle) == 8, "session handle");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelNBTicket) == 8, "ticket");
QUORVEL_STATIC_ASSERT(sizeof(ServerStringArray) == 8, "ServerStringArray");
QUORVEL_STATIC_ASSERT(sizeof(ServerAttributeList) == 12, "ServerAttributeList");
QUORVEL_STATIC_ASSERT(sizeof(ScanJobList) == 8, "ScanJobList");
QUORVEL_STATIC_ASSERT(sizeof(ScanJobEntry) == 116, "ScanJobEntry");
QUORVEL_STATIC_ASSERT(offsetof(ScanJobEntry, owner) == 4, "ScanJobEntry.owner");
QUORVEL_STATIC_ASSERT(offsetof(ScanJobEntry, name) == 36, "ScanJobEntry.name");
QUORVEL_STATIC_ASSERT(offsetof(ScanJobEntry, date) == 68, "ScanJobEntry.date");
QUORVEL_STATIC_ASSERT(offsetof(ScanJobEntry, size) == 100, "ScanJobEntry.size");
QUORVEL_STATIC_ASSERT(offsetof(ScanJobEntry, attributes) == 104, "ScanJobEntry.attributes");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelAddressValue) == 8, "QuorvelAddressValue");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelAddressAttr) == 12, "QuorvelAddressAttr");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelAddressEntry) == 12, "QuorvelAddressEntry");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelAddressEntryList) == 8, "QuorvelAddressEntryList");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelBookSelection) == 8, "QuorvelBookSelection");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelDirectoryQuery) == 16, "QuorvelDirectoryQuery");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelDirectorySelection) == 36, "QuorvelDirectorySelection");
QUORVEL_STATIC_ASSERT(sizeof(CorpLdapValue) == 8, "CorpLdapValue");
QUORVEL_STATIC_ASSERT(sizeof(CorpLdapAttr) == 12, "CorpLdapAttr");
QUORVEL_STATIC_ASSERT(sizeof(CorpLdapEntry) == 12, "CorpLdapEntry");
QUORVEL_STATIC_ASSERT(sizeof(ScanEventRecord) == 12, "ScanEventRecord");
QUORVEL_STATIC_ASSERT(sizeof(ScanAlertEventRecord) == 24, "ScanAlertEventRecord");
QUORVEL_STATIC_ASSERT(sizeof(SftpAttributeBlock) == 20, "SftpAttributeBlock");
QUORVEL_STATIC_ASSERT(sizeof(SftpValidateRequest) == 40, "SftpValidateRequest");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelValueRecord) == 8, "QuorvelValueRecord");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelValueFirstForm) == 8, "QuorvelValueFirstForm");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelValueSecondForm) == 16, "QuorvelValueSecondForm");
QUORVEL_STATIC_ASSERT(sizeof(QuorvelValueSubRecord) == 12, "QuorvelValueSubRecord");
#endif

/* ---- quorvel10: connection, monitor, localisation, attribute defaults, tickets, heap ---- */

int QUORVEL_CALL INIT_connectToNonStandardServer(const char* address, const char* user,
                                                 const char* password, const char* protocol,
                                                 int32_t option1, int32_t option2, int32_t option3,
                                                 QuorvelServerHandle* server, int32_t reserved);
int QUORVEL_CALL INIT_usePipe(QuorvelServerHandle* server, int32_t reserved);
int QUORVEL_CALL INIT_disconnectFromServer(QuorvelServerHandle* server, int32_t reserved);
int QUORVEL_CALL INIT_setTimeout(QuorvelServerHandle* server, int32_t seconds, int32_t reserved);
/* Fills the ticket; NB_registerCallback then names the function called when the server goes. */
int QUORVEL_CALL INIT_monitorServer(QuorvelServerHandle* server, int32_t interval, int32_t flags,
                                    QuorvelNBTicket* ticket);
void QUORVEL_CALL avoid_broken_winsock_select(void);

int QUORVEL_CALL LOCL_openSession(QuorvelServerHandle* server, int32_t flags, const char* language,
                                  const char* encoding, QuorvelSessionHandle* session,
                                  int32_t reserved);
int QUORVEL_CALL LOCL_closeSession(QuorvelSessionHandle* session, int32_t reserved);
int QUORVEL_CALL LOCL_getString(QuorvelSessionHandle* session, const char* key, char** text,
                                int32_t reserved);
int QUORVEL_CALL LOCL_getStringWithContext(QuorvelSessionHandle* session, const char* context,
                                           const char* key, char** text, int32_t reserved);
/* The converted text is on the library heap; the caller frees it with quorvel_free. */
int QUORVEL_CALL LOCL_decodeString(QuorvelSessionHandle* session, const char* fromEncoding,
                                   const char* text, const char* toEncoding, char** converted,
                                   int32_t reserved);

int QUORVEL_CALL ATTR_openSession(QuorvelServerHandle* server, QuorvelSessionHandle* session,
                                  int32_t reserved);
int QUORVEL_CALL ATTR_closeSession(QuorvelSessionHandle* session, int32_t reserved);
int QUORVEL_CALL ATTR_getDefault(QuorvelSessionHandle* session, int32_t scope, const char* key,
                                 char** value, int32_t reserved);

int QUORVEL_CALL NB_registerCallback(QuorvelNBTicket* ticket, int32_t flags,
                                     QuorvelCallback callback);
int QUORVEL_CALL NB_cancel(QuorvelNBTicket* ticket);
/* Returns once no callback of the cancelled ticket is running. */
int QUORVEL_CALL NB_block(QuorvelNBTicket* ticket);
int QUORVEL_CALL NB_destroy(QuorvelNBTicket* ticket);
int QUORVEL_CALL NB_waitForProgress(QuorvelNBTicket* ticket, int32_t word1, int32_t word2);

int QUORVEL_CALL AUTH_getAuthIDEx(QuorvelServerHandle* server, const char* user, const char* domain,
                                  int32_t kind, int32_t flags, char** id, int32_t* extra,
                                  int32_t reserved);
int QUORVEL_CALL DEV_getNumDevices(QuorvelServerHandle* server, int32_t* count, int32_t reserved);

void* QUORVEL_CALL quorvel_malloc(size_t size);
void QUORVEL_CALL quorvel_free(void* block);
/* Releases connections, sessions, tickets and the library's thread; the library stays usable. */
void QUORVEL_CALL quorvel_unload(void);

/* ---- quorvel_scan ---------------------------------------------------------------------- */

int QUORVEL_CALL SCAN_openSession(QuorvelServerHandle* server, QuorvelSessionHandle* session,
                                  int32_t reserved);
int QUORVEL_CALL SCAN_closeSession(QuorvelSessionHandle* session, int32_t reserved);
int QUORVEL_CALL SCAN_getJobList(QuorvelSessionHandle* session, ScanJobList** list,
                                 int32_t reserved);
int QUORVEL_CALL SCAN_getJobListInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                          const char* password, ScanJobList** list,
                                          int32_t reserved);
/* size: in bytes asked, out bytes delivered; attributes name the destinations. */
int QUORVEL_CALL SCAN_getData(QuorvelSessionHandle* session, int32_t jobId,
                              ServerAttributeList* attributes, int32_t offset, void* buffer,
                              int32_t* size, int32_t reserved);
int QUORVEL_CALL SCAN_getDataEx(QuorvelSessionHandle* session, int32_t jobId,
                                ServerAttributeList* attributes, int32_t offset, void* buffer,
                                int32_t* size, int32_t reserved);
int QUORVEL_CALL SCAN_getDataInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                       const char* password, int32_t jobId,
                                       ServerAttributeList* attributes, int32_t offset,
                                       void* buffer, int32_t* size, int32_t reserved);
int QUORVEL_CALL SCAN_deleteJob(QuorvelSessionHandle* session, int32_t jobId, int32_t reserved);
int QUORVEL_CALL SCAN_deleteJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                         const char* password, int32_t jobId, int32_t reserved);
int QUORVEL_CALL SCAN_isJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                     const char* password, int32_t jobId, int32_t* inMailbox,
                                     int32_t reserved);
/* jobId: the first word of the job ticket the library fills. */
int QUORVEL_CALL SCAN_initiateScan(QuorvelSessionHandle* session, ServerAttributeList* attributes,
                                   int32_t* jobId, int32_t reserved);
int QUORVEL_CALL SCAN_getScanPageInfo(QuorvelSessionHandle* session, int32_t jobId, int32_t page,
                                      ScanPageInfo** info, int32_t reserved);
int QUORVEL_CALL SCAN_getScanPageInfoInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                               const char* password, int32_t jobId, int32_t page,
                                               ScanPageInfo** info, int32_t reserved);
/* The list is on the library heap; the client frees it (keys, values, arrays, record). */
int QUORVEL_CALL SCAN_serverAttributes(QuorvelSessionHandle* session, ServerAttributeList** list,
                                       int32_t reserved);
int QUORVEL_CALL SCAN_freeScanJobList(ScanJobList* list, int32_t reserved);
int QUORVEL_CALL SCAN_getEvents(QuorvelServerHandle* server, QuorvelCallback callback,
                                QuorvelNBTicket* ticket);
int QUORVEL_CALL SCAN_getEventsEx(QuorvelServerHandle* server, QuorvelCallback callback,
                                  QuorvelNBTicket* ticket);
int QUORVEL_CALL SCAN_getAlertEvents(QuorvelServerHandle* server, QuorvelCallback callback,
                                     QuorvelNBTicket* ticket);
int QUORVEL_CALL SCAN_cancelScan(QuorvelSessionHandle* session, int32_t jobId, int32_t flags,
                                 int32_t reserved);
int QUORVEL_CALL SCAN_getNumPagesInJob(QuorvelSessionHandle* session, int32_t jobId, int32_t* count,
                                       int32_t reserved);

/* ---- quorvel_zyl: server address books and FTP validation ------------------------------ */

int QUORVEL_CALL ADDRESS_sGetAddrBook(QuorvelServerHandle* server, const char* name,
                                      ServerStringArray** book, int32_t reserved);
int QUORVEL_CALL ADDRESS_sFreeAddrBook(QuorvelServerHandle* server, ServerStringArray** book,
                                       int32_t reserved);
/* record: QuorvelBookSelection (selector 1) or QuorvelDirectorySelection (selector 0x10). */
int QUORVEL_CALL ADDRESS_OpenBookEx(QuorvelServerHandle* server, QuorvelSessionHandle* book,
                                    int32_t selector, void* record, int32_t reserved1,
                                    int32_t reserved2);
int QUORVEL_CALL ADDRESS_ReadBookEntriesEx(QuorvelSessionHandle* book, int32_t batchSize,
                                           QuorvelAddressEntryList** entries, int32_t* atEnd,
                                           int32_t reserved);
int QUORVEL_CALL ADDRESS_FreeBookEntriesEx(QuorvelSessionHandle* book,
                                           QuorvelAddressEntryList* entries, int32_t reserved);
int QUORVEL_CALL ADDRESS_CloseBookEx(QuorvelSessionHandle* book, int32_t reserved);
int QUORVEL_CALL SFTP_Validate(QuorvelServerHandle* server, SftpValidateRequest* request,
                               int32_t reserved1, int32_t reserved2);

/* ---- quorvel_corp: the corporate directory --------------------------------------------- */

int QUORVEL_CALL CORP_ldapOpenSession(QuorvelServerHandle* server, QuorvelLdapSession* session,
                                      int32_t reserved1, int32_t reserved2, int32_t reserved3);
int QUORVEL_CALL CORP_Authenticate(QuorvelServerHandle* server, int32_t reserved1,
                                   int32_t reserved2, const char* user, const char* password,
                                   int32_t reserved3, int32_t reserved4);
int QUORVEL_CALL CORP_ldapBindEx(QuorvelLdapSession* session, int32_t reserved1, int32_t reserved2,
                                 int32_t reserved3, int32_t reserved4, int32_t reserved5);
int QUORVEL_CALL CORP_ldapSearch(QuorvelLdapSession* session, int32_t reserved, int32_t scope,
                                 const char* filter, CorpLdapAttrNames* attributes,
                                 int32_t sizeLimit, int32_t timeLimit, int32_t reserved2);
/* count: out number of entries; the list stays the session's. */
int QUORVEL_CALL CORP_ldapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                                         CorpLdapEntryList** entries, int32_t flags,
                                         int32_t reserved);
int QUORVEL_CALL CORP_ldapCloseSession(QuorvelLdapSession* session, int32_t reserved);

#ifdef __cplusplus
}
#endif

#endif /* QUORVEL_API_H */
