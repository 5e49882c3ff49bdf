// The simulated server's connections, sessions, server attributes, heap, call log, injected
// failures and the calls that later servers will answer.

#include <cstring>
#include <map>

#include "SimTestSupport.h"

namespace {

class SimConnectionTest : public SimTest {};

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    GetComputerNameA(name, &size);
    return name;
}

TEST_F(SimConnectionTest, AddressesSelectServers) {
    const std::string machine = ComputerName();
    struct Case {
        std::string address;
        int expected;
    };
    const Case cases[] = {
        {"localhost", QUORVEL_OK},
        {"127.0.0.1", QUORVEL_OK},
        {"LocalHost", QUORVEL_OK},
        {machine, QUORVEL_OK},
        {"default", QUORVEL_OK},
        {"no-such-server", QUORVEL_HOST_UNREACHABLE},
        {"", QUORVEL_HOST_UNREACHABLE},
        {"..\\default", QUORVEL_HOST_UNREACHABLE},
        {"../default", QUORVEL_HOST_UNREACHABLE},
        {"default\\users.txt", QUORVEL_HOST_UNREACHABLE},
    };
    for (const Case& c : cases) {
        QuorvelServerHandle server = {};
        EXPECT_EQ(c.expected, INIT_connectToNonStandardServer(c.address.c_str(), "guest", "",
                                                              "kivo", -1, -1, -1, &server, 0))
            << c.address;
        if (c.expected == QUORVEL_OK) {
            EXPECT_EQ(QUORVEL_OK, INIT_disconnectFromServer(&server, 0));
        }
    }
}

TEST_F(SimConnectionTest, AccountsAndBadArguments) {
    QuorvelServerHandle server = {};
    EXPECT_EQ(QUORVEL_OK, INIT_connectToNonStandardServer("localhost", "scanuser", "scan123",
                                                          "kivo", -1, -1, -1, &server, 0));
    EXPECT_EQ(QUORVEL_OK,
              INIT_connectToNonStandardServer("localhost", "", "", "kivo", -1, -1, -1, &server, 0))
        << "an empty user connects as guest";
    EXPECT_EQ(QUORVEL_ACCESS_DENIED,
              INIT_connectToNonStandardServer("localhost", "scanuser", "wrong", "kivo", -1, -1, -1,
                                              &server, 0));
    EXPECT_EQ(
        QUORVEL_ACCESS_DENIED,
        INIT_connectToNonStandardServer("localhost", "nobody", "", "kivo", -1, -1, -1, &server, 0));
    EXPECT_EQ(
        QUORVEL_PROTOCOL_ERROR,
        INIT_connectToNonStandardServer("localhost", "guest", "", "http", -1, -1, -1, &server, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, INIT_connectToNonStandardServer(nullptr, "guest", "", "kivo", -1,
                                                                 -1, -1, &server, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, INIT_connectToNonStandardServer("localhost", "guest", "", "kivo",
                                                                 -1, -1, -1, nullptr, 0));
}

TEST_F(SimConnectionTest, HandlesGoStaleOnDisconnectAndUnload) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle scan = OpenScanSession(server);
    EXPECT_EQ(QUORVEL_OK, INIT_setTimeout(&server, 180, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, INIT_setTimeout(&server, -1, 0));
    EXPECT_EQ(QUORVEL_OK, INIT_disconnectFromServer(&server, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, INIT_setTimeout(&server, 180, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, SCAN_closeSession(&scan, 0)) << "gone with its connection";

    QuorvelServerHandle zero = {};
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, INIT_disconnectFromServer(&zero, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, INIT_disconnectFromServer(nullptr, 0));

    server = Connect();
    scan = OpenScanSession(server);
    quorvel_unload();
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, SCAN_closeSession(&scan, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, INIT_disconnectFromServer(&server, 0));
    // The library works on after unloading: the data source connects again on the next open.
    server = Connect();
    scan = OpenScanSession(server);
    EXPECT_EQ(QUORVEL_OK, SCAN_closeSession(&scan, 0));
    EXPECT_EQ(QUORVEL_OK, INIT_disconnectFromServer(&server, 0));
}

TEST_F(SimConnectionTest, ServerAttributesComeInFileOrderOnTheLibraryHeap) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle scan = OpenScanSession(server);
    ServerAttributeList* list = nullptr;
    ASSERT_EQ(QUORVEL_OK, SCAN_serverAttributes(&scan, &list, 0));
    ASSERT_NE(nullptr, list);
    ASSERT_GT(list->count, 100);
    EXPECT_STREQ("COPIER_TYPE", list->keys[0]);
    EXPECT_STREQ("COLOR", list->values[0]);
    std::map<std::string, std::string> pairs;
    for (int i = 0; i < list->count; ++i) {
        pairs[list->keys[i]] = list->values[i];
    }
    EXPECT_EQ("13", pairs["N_PAGESIZE"]);
    EXPECT_EQ("CUSTOM", pairs["PAGESIZE:13"]);
    EXPECT_EQ("NO", pairs["C_MAILFROM"]) << "the default server asks nobody to log in";
    EXPECT_EQ(1 + 2 + 2 * list->count, OrvexSim_HeapBlocks());

    // The client frees every level itself.
    for (int i = 0; i < list->count; ++i) {
        quorvel_free(list->keys[i]);
        quorvel_free(list->values[i]);
    }
    quorvel_free(list->keys);
    quorvel_free(list->values);
    quorvel_free(list);
    EXPECT_EQ(0, OrvexSim_HeapBlocks());

    QuorvelSessionHandle bogus = scan;
    bogus.words[0] = 0xFFFFFFFFu;
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, SCAN_serverAttributes(&bogus, &list, 0));
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_serverAttributes(&scan, nullptr, 0));
}

TEST_F(SimConnectionTest, SessionKindsAreNotInterchangeable) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle attr = {};
    ASSERT_EQ(QUORVEL_OK, ATTR_openSession(&server, &attr, 0));
    ServerAttributeList* list = nullptr;
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, SCAN_serverAttributes(&attr, &list, 0));
    EXPECT_EQ(QUORVEL_LOCL_INVALID_HANDLE, LOCL_closeSession(&attr, 0));
    EXPECT_EQ(QUORVEL_OK, ATTR_closeSession(&attr, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, ATTR_closeSession(&attr, 0));
}

TEST_F(SimConnectionTest, AttributeDefaults) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle attr = {};
    ASSERT_EQ(QUORVEL_OK, ATTR_openSession(&server, &attr, 0));
    char* value = nullptr;
    ASSERT_EQ(QUORVEL_OK, ATTR_getDefault(&attr, 0, "LDAP_capable", &value, 0));
    EXPECT_STREQ("yes", value);
    char* second = nullptr;
    ASSERT_EQ(QUORVEL_OK, ATTR_getDefault(&attr, 0, "LDAP_enable", &second, 0));
    EXPECT_STREQ("yes", value) << "an earlier text stays valid while the session lives";
    EXPECT_EQ(QUORVEL_NO_DEFAULT, ATTR_getDefault(&attr, 0, "LDAP_other", &value, 0));
    EXPECT_EQ(nullptr, value);
    EXPECT_EQ(QUORVEL_NO_SUCH_SCOPE, ATTR_getDefault(&attr, 1, "LDAP_capable", &value, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, ATTR_getDefault(&attr, 0, nullptr, &value, 0));
    EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "defaults stay the library's";
}

TEST_F(SimConnectionTest, DeviceCount) {
    QuorvelServerHandle server = Connect();
    int32_t count = -1;
    EXPECT_EQ(QUORVEL_OK, DEV_getNumDevices(&server, &count, 0));
    EXPECT_EQ(1, count);
    EXPECT_EQ(QUORVEL_BAD_PARAM, DEV_getNumDevices(&server, nullptr, 0));
}

TEST_F(SimConnectionTest, InjectedFailuresAnswerOnceAndAreLogged) {
    OrvexSim_FailNext("INIT_connectToNonStandardServer", QUORVEL_TIMEOUT);
    OrvexSim_FailNext("INIT_connectToNonStandardServer", QUORVEL_BUSY);
    QuorvelServerHandle server = {};
    EXPECT_EQ(QUORVEL_TIMEOUT, INIT_connectToNonStandardServer("localhost", "guest", "", "kivo", -1,
                                                               -1, -1, &server, 0));
    EXPECT_EQ(QUORVEL_BUSY, INIT_connectToNonStandardServer("localhost", "guest", "", "kivo", -1,
                                                            -1, -1, &server, 0));
    server = Connect();
    OrvexSim_FailNext("SCAN_openSession", -12345);
    QuorvelSessionHandle scan = {};
    EXPECT_EQ(-12345, SCAN_openSession(&server, &scan, 0)) << "any code, known or not";
    const std::vector<std::string> lines = LogLinesOf("INIT_connectToNonStandardServer");
    ASSERT_EQ(3u, lines.size());
    EXPECT_TRUE(Contains(lines[0], "-> -102")) << lines[0];
    EXPECT_TRUE(Contains(lines[2], "-> 0 server=#")) << lines[2];
}

TEST_F(SimConnectionTest, LogShowsKeyArgumentsQuoted) {
    QuorvelServerHandle server = {};
    INIT_connectToNonStandardServer("local\"host\x01", "guest", "", "kivo", -1, -1, -1, &server, 0);
    const std::vector<std::string> log = OrvexSimLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("INIT_connectToNonStandardServer address=\"local\\\"host\\x01\" user=\"guest\" "
              "password=\"\" protocol=\"kivo\" option1=-1 option2=-1 option3=-1 -> -8",
              log[0]);
    char small[8];
    EXPECT_EQ(static_cast<int>(log[0].size()), OrvexSim_LogEntry(0, small, sizeof(small)));
    EXPECT_STREQ("INIT_co", small);
    EXPECT_EQ(-1, OrvexSim_LogEntry(1, small, sizeof(small)));
    OrvexSim_ClearLog();
    EXPECT_EQ(0, OrvexSim_LogCount());
}

TEST_F(SimConnectionTest, HeapCountsBlocksAndSurvivesBadFrees) {
    void* const a = quorvel_malloc(16);
    void* const b = quorvel_malloc(0);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_NE(a, b);
    EXPECT_EQ(2, OrvexSim_HeapBlocks());
    quorvel_free(a);
    quorvel_free(a);
    int local = 0;
    quorvel_free(&local);
    quorvel_free(nullptr);
    EXPECT_EQ(2, OrvexSim_BadFrees());
    EXPECT_EQ(2u, LogLinesOf("quorvel_free").size()) << "each bad free is logged";
    quorvel_free(b);
    OrvexSim_FailNext("quorvel_malloc", 0);
    EXPECT_EQ(nullptr, quorvel_malloc(8));
    void* const c = quorvel_malloc(8);
    EXPECT_NE(nullptr, c);
    quorvel_free(c);
    OrvexSim_Reset();
}

TEST_F(SimConnectionTest, JobListFreeTakesOnlyLibraryBlocks) {
    auto* list = static_cast<ScanJobList*>(quorvel_malloc(sizeof(ScanJobList)));
    list->count = 2;
    list->entries = static_cast<ScanJobEntry*>(quorvel_malloc(2 * sizeof(ScanJobEntry)));
    std::memset(list->entries, 0, 2 * sizeof(ScanJobEntry));
    ServerAttributeList& attributes = list->entries[1].attributes;
    attributes.count = 1;
    attributes.keys = static_cast<char**>(quorvel_malloc(sizeof(char*)));
    attributes.values = static_cast<char**>(quorvel_malloc(sizeof(char*)));
    attributes.keys[0] = static_cast<char*>(quorvel_malloc(2));
    attributes.values[0] = static_cast<char*>(quorvel_malloc(2));
    EXPECT_EQ(QUORVEL_OK, SCAN_freeScanJobList(list, 0));
    EXPECT_EQ(0, OrvexSim_HeapBlocks());

    ScanJobList own = {};
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_freeScanJobList(&own, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_freeScanJobList(nullptr, 0));
    ServerStringArray* none = nullptr;
    EXPECT_EQ(QUORVEL_OK, ADDRESS_sFreeAddrBook(nullptr, &none, 0));
    ServerStringArray foreign = {};
    ServerStringArray* pointer = &foreign;
    EXPECT_EQ(QUORVEL_BAD_PARAM, ADDRESS_sFreeAddrBook(nullptr, &pointer, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, ADDRESS_FreeBookEntriesEx(nullptr, nullptr, 0));
    EXPECT_EQ(0, OrvexSim_BadFrees());
}

// Calls whose behaviour arrives with the servers' jobs, address books and directory: they
// answer FUNCTION_NOT_AVAILABLE and clear what they would hand out.
TEST_F(SimConnectionTest, CallsNotYetSimulatedAnswerNotAvailable) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle scan = OpenScanSession(server);
    // Stored jobs are simulated now (test_SimJobs.cpp, test_SimPageData.cpp): job 1 is none of
    // the default server's.
    int32_t size = 4096;
    char buffer[16];
    EXPECT_EQ(QUORVEL_PARAMETER_MAY_NOT_BE_NULL,
              SCAN_getDataEx(&scan, 1, nullptr, 0, buffer, &size, 0));
    EXPECT_EQ(0, size);
    ScanPageInfo* info = reinterpret_cast<ScanPageInfo*>(1);
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_getScanPageInfo(&scan, 1, 1, &info, 0));
    EXPECT_EQ(nullptr, info);
    int32_t count = 5;
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_getNumPagesInJob(&scan, 1, &count, 0));
    EXPECT_EQ(0, count);
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_deleteJob(&scan, 1, 0));
    // New scans are simulated now (test_SimScans.cpp).

    ServerStringArray* book = reinterpret_cast<ServerStringArray*>(1);
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, ADDRESS_sGetAddrBook(&server, "users", &book, 0));
    EXPECT_EQ(nullptr, book);
    QuorvelSessionHandle addressBook = {};
    QuorvelAddressEntryList* entries = reinterpret_cast<QuorvelAddressEntryList*>(1);
    int32_t atEnd = 0;
    // Address books are simulated now: a handle that names no open book is refused.
    EXPECT_EQ(QUORVEL_INVALID_HANDLE,
              ADDRESS_ReadBookEntriesEx(&addressBook, 10, &entries, &atEnd, 0));
    EXPECT_EQ(nullptr, entries);
    EXPECT_EQ(1, atEnd) << "a reader looping on the end flag stops";
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, ADDRESS_CloseBookEx(&addressBook, 0));

    // The directory is simulated now (test_SimLogin.cpp): the default server has no log-in
    // accounts, and a handle that names no directory session is refused.
    QuorvelLdapSession ldap = {{7, 7}};
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, CORP_Authenticate(&server, 0, 0, "scanuser", "scan123", 0, 0));
    CorpLdapEntryList* found = reinterpret_cast<CorpLdapEntryList*>(1);
    count = 3;
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, CORP_ldapGetEntryListEx(&ldap, &count, &found, 0, 0));
    EXPECT_EQ(nullptr, found);
    EXPECT_EQ(0, count);
    char* id = reinterpret_cast<char*>(1);
    int32_t extra = 1;
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE,
              AUTH_getAuthIDEx(&server, "user", "DOMAIN", 5, 0, &id, &extra, 0));
    EXPECT_EQ(nullptr, id);
    EXPECT_EQ(QUORVEL_OK, SCAN_closeSession(&scan, 0));
}

} // namespace
