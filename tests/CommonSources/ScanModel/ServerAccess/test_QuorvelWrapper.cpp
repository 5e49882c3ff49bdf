// QuorvelWrapper against the simulated server: the connect-and-read path, teardown order,
// results passed through unchanged, and the operations with logic of their own.

#include <chrono>
#include <functional>

#include <windows.h>

#include "QuorMemoryAllocator.h"
#include "ScanAttributeWrapper.h"
#include "ServerAccessTestSupport.h"

namespace {

void QUORVEL_CALL IgnoreRecord(void*) {}

class QuorvelWrapperTest : public ServerAccessTest {};

TEST_F(QuorvelWrapperTest, ConnectReadAttributesAndTearDownInOrder) {
    std::unique_ptr<QuorvelWrapperIntf> wrapper(QuorvelWrapper::Create());
    wrapper->AvoidBrokenWinsockSelect();
    ASSERT_EQ(QUORVEL_OK, wrapper->InitConnectToNonStandardServer("localhost", "guest", ""));
    EXPECT_EQ(QUORVEL_OK, wrapper->InitSetTimeout(180));
    ASSERT_EQ(QUORVEL_OK, wrapper->ScanOpenSession());
    ASSERT_EQ(QUORVEL_OK, wrapper->InitMonitorServer(16, 0));
    ASSERT_EQ(QUORVEL_OK, wrapper->NbRegisterCallback(IgnoreRecord));
    ASSERT_EQ(QUORVEL_OK, wrapper->ScanGetEventsEx(IgnoreRecord));
    ASSERT_EQ(QUORVEL_OK, wrapper->ScanGetAlertEvents(IgnoreRecord));
    EXPECT_EQ(std::vector<std::string>({"INIT_connectToNonStandardServer", "INIT_usePipe",
                                        "INIT_setTimeout", "SCAN_openSession", "INIT_monitorServer",
                                        "NB_registerCallback", "SCAN_getEventsEx",
                                        "SCAN_getAlertEvents"}),
              OrvexSimCalls())
        << "no work-around call on an NT system";

    ServerAttributeList* list = nullptr;
    ASSERT_EQ(QUORVEL_OK, wrapper->ScanServerAttributes(&list));
    {
        ScanAttributeWrapper attributes(wrapper.get(), list);
        dynamic_cast<QuorMemoryAllocator&>(*wrapper).FreeAttributeList(&list, true);
        EXPECT_EQ(nullptr, list);
        EXPECT_EQ(0, OrvexSim_HeapBlocks());
        EXPECT_EQ("COLOR", attributes.GetAttribute("COPIER_TYPE"));
        EXPECT_EQ("Letter.Transverse", attributes.GetAttribute("PAGESIZE"));
        EXPECT_EQ("CUSTOM", attributes.GetAttribute("PAGESIZE:13"));
        ServerAttributeList* exported = attributes.GetServerList();
        ASSERT_NE(nullptr, exported);
        EXPECT_EQ(1 + 2 + 2 * exported->count, OrvexSim_HeapBlocks()) << "on the library heap";
    }
    EXPECT_EQ(0, OrvexSim_HeapBlocks());

    ASSERT_EQ(QUORVEL_OK, wrapper->LoclOpenSession("en", "ISO8859_1"));
    ASSERT_EQ(QUORVEL_OK, wrapper->AttrOpenSession());
    const std::string eventTicket = LogValue(LogLinesOf("SCAN_getEventsEx")[0], "ticket");
    const std::string alertTicket = LogValue(LogLinesOf("SCAN_getAlertEvents")[0], "ticket");
    const std::string monitorTicket = LogValue(LogLinesOf("INIT_monitorServer")[0], "ticket");
    OrvexSim_ClearLog();

    const auto start = std::chrono::steady_clock::now();
    wrapper.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140))
        << "the pause after unloading";
    const std::vector<std::string> log = OrvexSimLog();
    const std::vector<std::string> expected = {"LOCL_closeSession",
                                               "NB_cancel ticket=" + eventTicket,
                                               "NB_block ticket=" + eventTicket,
                                               "NB_destroy ticket=" + eventTicket,
                                               "NB_cancel ticket=" + alertTicket,
                                               "NB_block ticket=" + alertTicket,
                                               "NB_destroy ticket=" + alertTicket,
                                               "SCAN_closeSession",
                                               "ATTR_closeSession",
                                               "NB_cancel ticket=" + monitorTicket,
                                               "NB_block ticket=" + monitorTicket,
                                               "NB_destroy ticket=" + monitorTicket,
                                               "INIT_disconnectFromServer",
                                               "quorvel_unload"};
    ASSERT_EQ(expected.size(), log.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(0u, log[i].find(expected[i])) << log[i];
        if (i + 1 < expected.size()) {
            EXPECT_TRUE(Contains(log[i], " -> 0")) << log[i];
        }
    }

    // The data source unloads on every close and connects again on the next open.
    QuorvelWrapperIntf& second = Fresh();
    ASSERT_EQ(QUORVEL_OK, second.InitConnectToNonStandardServer("127.0.0.1", "guest", ""));
    ASSERT_EQ(QUORVEL_OK, second.ScanOpenSession());
    EXPECT_EQ(QUORVEL_OK, second.ScanCloseSession());
    EXPECT_EQ(QUORVEL_OK, second.InitDisconnectFromServer());
}

TEST_F(QuorvelWrapperTest, InjectedFailuresReachTheCallerUnchanged) {
    QuorvelWrapperIntf& wrapper = Connected();
    ServerAttributeList* list = nullptr;
    ScanJobList* jobs = nullptr;
    ServerStringArray* book = nullptr;
    QuorvelLdapSession ldap = {};
    int32_t number = 0;
    std::string text;
    struct Case {
        const char* function;
        std::function<int()> call;
    };
    const Case cases[] = {
        {"SCAN_serverAttributes", [&] { return wrapper.ScanServerAttributes(&list); }},
        {"SCAN_getJobList", [&] { return wrapper.ScanGetJobList(&jobs); }},
        {"SCAN_initiateScan", [&] { return wrapper.ScanInitiateScan(nullptr, &number); }},
        {"SCAN_cancelScan", [&] { return wrapper.ScanCancelScan(3); }},
        {"SCAN_getDataEx", [&] { return wrapper.ScanGetDataEx(3, nullptr, 0, nullptr, &number); }},
        {"SCAN_deleteJob", [&] { return wrapper.ScanDeleteJob(3); }},
        {"INIT_setTimeout", [&] { return wrapper.InitSetTimeout(180); }},
        {"INIT_monitorServer", [&] { return wrapper.InitMonitorServer(16, 0); }},
        {"DEV_getNumDevices", [&] { return wrapper.DevGetNumDevices(&number); }},
        {"ATTR_openSession", [&] { return wrapper.AttrOpenSession(); }},
        {"LOCL_openSession", [&] { return wrapper.LoclOpenSession("en", "ISO8859_1"); }},
        {"ADDRESS_sGetAddrBook", [&] { return wrapper.AddressSGetAddrBook("users", &book); }},
        {"SFTP_Validate",
         [&] {
             return wrapper.SftpValidate("ftp.example.com", "21", "u", "p", "/", "", "", "", "");
         }},
        {"CORP_ldapOpenSession", [&] { return wrapper.CorpLdapOpenSession(&ldap); }},
        {"SCAN_getEventsEx", [&] { return wrapper.ScanGetEventsEx(IgnoreRecord); }},
        {"SCAN_closeSession", [&] { return wrapper.ScanCloseSession(); }},
        {"INIT_disconnectFromServer", [&] { return wrapper.InitDisconnectFromServer(); }},
    };
    const int codes[] = {QUORVEL_BUSY,    QUORVEL_CONNECTION_FAILED,
                         QUORVEL_TIMEOUT, QUORVEL_SCAN_DEST_FAILED,
                         -4242,           QUORVEL_CORE_DLL_NOT_FOUND};
    int i = 0;
    for (const Case& c : cases) {
        const int code = codes[i++ % 6];
        OrvexSim_FailNext(c.function, code);
        EXPECT_EQ(code, c.call()) << c.function;
    }
}

TEST_F(QuorvelWrapperTest, InitiateScanProbeUsesAnInvalidSession) {
    QuorvelWrapperIntf& wrapper = Connected();
    OrvexSim_ClearLog();
    EXPECT_TRUE(wrapper.IsInitiateScanAvailable());
    const std::vector<std::string> log = OrvexSimLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("SCAN_initiateScan session=#-1 attributes=null job=null -> -12", log[0]);
    // The session handle is whole again.
    ServerAttributeList* list = nullptr;
    ASSERT_EQ(QUORVEL_OK, wrapper.ScanServerAttributes(&list));
    dynamic_cast<QuorMemoryAllocator&>(wrapper).FreeAttributeList(&list, true);

    for (const int code : {-9, -99, 0}) {
        OrvexSim_FailNext("SCAN_initiateScan", code);
        EXPECT_TRUE(wrapper.IsInitiateScanAvailable()) << code;
    }
    OrvexSim_FailNext("SCAN_initiateScan", QUORVEL_FUNCTION_NOT_AVAILABLE);
    EXPECT_FALSE(wrapper.IsInitiateScanAvailable());
    QuorvelWrapperIntf plain;
    EXPECT_TRUE(plain.IsInitiateScanAvailable());
}

TEST_F(QuorvelWrapperTest, LocalisedTextFallsBackToTheContextAndTheKey) {
    QuorvelWrapperIntf& wrapper = Connected();
    std::string text = "unchanged";
    EXPECT_EQ(QUORVEL_LOCL_INVALID_HANDLE, wrapper.LoclGetString("ADF", text))
        << "without a session the library answers, and the text is the key";
    EXPECT_EQ("ADF", text);
    ASSERT_EQ(QUORVEL_OK, wrapper.LoclOpenSession("en", "ISO8859_1"));
    OrvexSim_ClearLog();

    EXPECT_EQ(QUORVEL_OK, wrapper.LoclGetString("", text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0, OrvexSim_LogCount()) << "an empty key asks nobody";

    EXPECT_EQ(QUORVEL_OK, wrapper.LoclGetString("ADF", text));
    EXPECT_EQ("Document Feeder", text);
    EXPECT_EQ(1, OrvexSim_LogCount());

    OrvexSim_ClearLog();
    EXPECT_EQ(QUORVEL_OK, wrapper.LoclGetString("LetR", text));
    EXPECT_EQ("Letter-R", text);
    const std::vector<std::string> log = OrvexSimLog();
    ASSERT_EQ(2u, log.size());
    EXPECT_TRUE(Contains(log[0], "LOCL_getString ") && Contains(log[0], "-> -33")) << log[0];
    EXPECT_TRUE(Contains(log[1], "LOCL_getStringWithContext ") &&
                Contains(log[1], "context=\"PageSize\" key=\"LetR\""))
        << log[1];

    OrvexSim_FailNext("LOCL_getStringWithContext", QUORVEL_LOCL_INTERNAL_ERROR);
    EXPECT_EQ(QUORVEL_LOCL_INTERNAL_ERROR, wrapper.LoclGetString("B5", text))
        << "the failure of the second lookup";
    EXPECT_EQ("B5", text);
    EXPECT_EQ(QUORVEL_LOCL_UNKNOWN_KEY, wrapper.LoclGetString("B5", text));
}

TEST_F(QuorvelWrapperTest, LocalisationSessionIsReplacedAndClosedOnce) {
    QuorvelWrapperIntf& wrapper = Connected();
    ASSERT_EQ(QUORVEL_OK, wrapper.LoclOpenSession("en", "ISO8859_1"));
    ASSERT_EQ(QUORVEL_OK, wrapper.LoclOpenSession("de", "ISO8859_1"));
    const std::string second = LogValue(LogLinesOf("LOCL_openSession")[1], "session");
    std::string text;
    EXPECT_EQ(QUORVEL_OK, wrapper.LoclGetString("COLOR", text));
    EXPECT_EQ("Farbe", text);
    EXPECT_EQ(QUORVEL_OK, wrapper.LoclCloseSession());
    EXPECT_EQ(second, LogValue(LogLinesOf("LOCL_closeSession")[0], "session"));
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, wrapper.LoclCloseSession());
    EXPECT_EQ(1u, LogLinesOf("LOCL_closeSession").size()) << "no call without a session";
}

TEST_F(QuorvelWrapperTest, DecodingChoosesTheLocalEncoding) {
    QuorvelWrapperIntf& wrapper = Connected();
    ASSERT_EQ(QUORVEL_OK, wrapper.LoclOpenSession("ja", "SJIS"));
    std::string decoded;
    EXPECT_EQ(QUORVEL_OK, wrapper.LoclDecodeString("ja", "\x83\x4A\x83\x89\x81\x5B", decoded));
    EXPECT_EQ("\xE3\x82\xAB\xE3\x83\xA9\xE3\x83\xBC", decoded);
    EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "the library's buffer is released";
    for (const char* code : {"JA", "jap", "en", ""}) {
        EXPECT_EQ(QUORVEL_OK, wrapper.LoclDecodeString(code, "caf\xE9", decoded));
        EXPECT_EQ("caf\xC3\xA9", decoded);
    }
    const std::vector<std::string> lines = LogLinesOf("LOCL_decodeString");
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("\"SJIS\"", LogValue(lines[0], "from"));
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ("\"ISO8859_1\"", LogValue(lines[i], "from"));
        EXPECT_EQ("\"UTF8NOBOM\"", LogValue(lines[i], "to"));
    }
    OrvexSim_FailNext("LOCL_decodeString", QUORVEL_LOCL_INTERNAL_ERROR);
    EXPECT_EQ(QUORVEL_LOCL_INTERNAL_ERROR, wrapper.LoclDecodeString("en", "plain", decoded));
    EXPECT_EQ("plain", decoded) << "the input comes back on failure";
}

TEST_F(QuorvelWrapperTest, AttributeDefaultsLeaveTheValueOnFailure) {
    QuorvelWrapperIntf& wrapper = Connected();
    std::string value = "before";
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, wrapper.AttrGetDefault("LDAP_capable", value));
    EXPECT_EQ("before", value);
    ASSERT_EQ(QUORVEL_OK, wrapper.AttrOpenSession());
    EXPECT_EQ(QUORVEL_OK, wrapper.AttrGetDefault("LDAP_capable", value));
    EXPECT_EQ("yes", value);
    EXPECT_EQ(QUORVEL_NO_DEFAULT, wrapper.AttrGetDefault("LDAP_missing", value));
    EXPECT_EQ("yes", value);
    EXPECT_EQ("\"LDAP_missing\"", LogValue(LogLinesOf("ATTR_getDefault").back(), "key"));
    EXPECT_EQ("0", LogValue(LogLinesOf("ATTR_getDefault").back(), "scope"));
    EXPECT_EQ(QUORVEL_OK, wrapper.AttrCloseSession());
}

TEST_F(QuorvelWrapperTest, FtpValidationRequestBlock) {
    QuorvelWrapperIntf& wrapper = Connected();
    const std::string proxy = "\"proxy_type\"=\"HTTP_PROXY\" \"address\"=\"proxy.lan\" "
                              "\"proxy_port\"=\"8080\" \"username\"=\"pu\" \"password\"=\"pp\"";
    struct Case {
        std::string port;
        std::string proxyServer;
        std::string attributes;
    };
    const Case cases[] = {
        {"21", "", "null"},
        {"", "", "null"},
        {"2121", "", "[count=1 w2=0 w3=0 \"ftp_port\"=\"2121\"]"},
        {"021", "", "[count=1 w2=0 w3=0 \"ftp_port\"=\"021\"]"},
        {"21 ", "", "[count=1 w2=0 w3=0 \"ftp_port\"=\"21 \"]"},
        {"21", "proxy.lan", "[count=5 w2=0 w3=0 " + proxy + "]"},
        {"", "proxy.lan", "[count=5 w2=0 w3=0 " + proxy + "]"},
        {"8021", "proxy.lan", "[count=6 w2=0 w3=0 " + proxy + " \"ftp_port\"=\"8021\"]"},
    };
    for (const Case& c : cases) {
        OrvexSim_ClearLog();
        EXPECT_EQ(QUORVEL_OK, wrapper.SftpValidate("ftp.example.com", c.port, "user", "secret",
                                                   "/in", c.proxyServer, "8080", "pu", "pp"));
        const std::vector<std::string> lines = LogLinesOf("SFTP_Validate");
        ASSERT_EQ(1u, lines.size());
        EXPECT_TRUE(Contains(lines[0], "w0=0 address=\"ftp.example.com\" user=\"user\" "
                                       "password=\"secret\" directory=\"/in\" "
                                       "list=\"sftp_validate\" w6=1 w7=0 w8=0 attributes=" +
                                           c.attributes + " word2=0 word3=0 -> 0"))
            << "port \"" << c.port << "\": " << lines[0];
        EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "the arrays are released";
    }
    EXPECT_EQ(QUORVEL_ACCESS_DENIED,
              wrapper.SftpValidate("ftp.denied.example.com", "21", "u", "p", "/", "", "", "", ""));

    OrvexSim_ClearLog();
    OrvexSim_FailNext("quorvel_malloc", 0);
    EXPECT_THROW(wrapper.SftpValidate("ftp.example.com", "2121", "u", "p", "/", "", "", "", ""),
                 std::bad_alloc);
    EXPECT_TRUE(LogLinesOf("SFTP_Validate").empty()) << "no request without its arrays";
}

TEST_F(QuorvelWrapperTest, ClosesAndDisconnectsWithoutState) {
    QuorvelWrapperIntf& wrapper = Fresh();
    EXPECT_EQ(QUORVEL_OK, wrapper.InitDisconnectFromServer());
    EXPECT_EQ(0, OrvexSim_LogCount()) << "nothing to release, nothing to disconnect";
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, wrapper.NbWaitForProgress(1, 2));
    std::string id = "kept";
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, wrapper.AuthGetAuthIDEx("u", "", false, id));
    EXPECT_EQ("kept", id);
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, wrapper.NotAvailableNoArgs());
    EXPECT_EQ(0, OrvexSim_LogCount());
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, wrapper.ScanCloseSession());
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, wrapper.AddressCloseBookEx());
    EXPECT_EQ(std::vector<std::string>({"SCAN_closeSession", "ADDRESS_CloseBookEx"}),
              OrvexSimCalls())
        << "these two call the library even with nothing open";
}

TEST_F(QuorvelWrapperTest, DestroyingAnUnusedWrapperStillUnloads) {
    std::unique_ptr<QuorvelWrapperIntf> wrapper(QuorvelWrapper::Create());
    const auto start = std::chrono::steady_clock::now();
    wrapper.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
    EXPECT_EQ(std::vector<std::string>{"quorvel_unload"}, OrvexSimCalls());
}

TEST_F(QuorvelWrapperTest, AllocatorUsesTheLibraryHeap) {
    auto& allocator = dynamic_cast<QuorMemoryAllocator&>(Fresh());
    ServerAttributeList* list = nullptr;
    allocator.AllocAttributeList(2, &list, __FILE__, __LINE__);
    list->keys[0] = allocator.DuplicateString("A", __FILE__, __LINE__);
    EXPECT_EQ(4, OrvexSim_HeapBlocks());
    allocator.FreeAttributeList(&list, true);
    EXPECT_EQ(0, OrvexSim_HeapBlocks());
    OrvexSim_FailNext("quorvel_malloc", 0);
    try {
        allocator.Allocate(16, __FILE__, __LINE__);
        FAIL() << "no exception";
    } catch (const std::bad_alloc& error) {
        EXPECT_STREQ("bad allocation", error.what());
    }
}

TEST_F(QuorvelWrapperTest, InterfaceDefaultsAnswerNotAvailable) {
    QuorvelWrapperIntf plain;
    std::string text = "kept";
    int32_t number = 7;
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.ScanOpenSession());
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE,
              plain.InitConnectToNonStandardServer("localhost", "guest", ""));
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.InitDisconnectFromServer());
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.LoclGetString("ADF", text));
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.AttrGetDefault("LDAP_capable", text));
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.DevGetNumDevices(&number));
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE,
              plain.SftpValidate("a", "21", "u", "p", "/", "", "", "", ""));
    EXPECT_EQ("kept", text);
    EXPECT_EQ(7, number);
    EXPECT_TRUE(plain.IsInitiateScanAvailable());
    plain.AvoidBrokenWinsockSelect();
    plain.EmptyVoidMethod();
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.ScanFreeScanJobList(nullptr));
    // A job list the client built on the ordinary heap is freed through the plain allocator.
    QuorMemoryAllocator ordinary;
    ScanJobList* jobs = nullptr;
    ordinary.AllocJobList(2, &jobs, __FILE__, __LINE__);
    ordinary.InitAttributeList(1, &jobs->entries[1].attributes, __FILE__, __LINE__);
    jobs->entries[1].attributes.keys[0] = ordinary.DuplicateString("MAILBOX", __FILE__, __LINE__);
    jobs->entries[1].attributes.values[0] = ordinary.DuplicateString("7", __FILE__, __LINE__);
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, plain.ScanFreeScanJobList(jobs));
    EXPECT_EQ(0, OrvexSim_LogCount());
}

} // namespace
