// Scanner against the simulated servers: connecting, failures, the login loop with a scripted
// prompt, the directory look-up, cached capabilities, and events on the library's thread.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "QuorvelWrapperException.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "ScriptedScannerUi.h"
#include "ServerAccessTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

class ScannerTest : public ServerAccessTest {
protected:
    std::unique_ptr<Scanner> ConnectTo(const std::string& address,
                                       const std::string& name = "Front Office") {
        return std::make_unique<Scanner>(&Fresh(), &m_ui, address, name);
    }

    ScriptedScannerUi m_ui;
};

TEST_F(ScannerTest, AConnectFailureThrowsItsCode) {
    OrvexSim_FailNext("INIT_connectToNonStandardServer", QUORVEL_CONNECTION_FAILED);
    try {
        ConnectTo("localhost");
        FAIL() << "no exception";
    } catch (const QuorvelWrapperException& failure) {
        EXPECT_EQ(QUORVEL_CONNECTION_FAILED, failure.GetResultCode());
    }
    EXPECT_TRUE(LogLinesOf("INIT_setTimeout").empty());

    try {
        ConnectTo("no-such-server");
        FAIL() << "no exception";
    } catch (const QuorvelWrapperException& failure) {
        EXPECT_EQ(QUORVEL_HOST_UNREACHABLE, failure.GetResultCode());
    }
}

TEST_F(ScannerTest, AFailedSessionOpenDisconnects) {
    OrvexSim_FailNext("SCAN_openSession", QUORVEL_GENERAL_FAILURE);
    EXPECT_THROW(ConnectTo("localhost"), QuorvelWrapperException);
    EXPECT_EQ((Calls{"INIT_connectToNonStandardServer", "INIT_usePipe", "INIT_setTimeout",
                     "SCAN_openSession", "INIT_disconnectFromServer"}),
              OrvexSimCalls());
    EXPECT_EQ("180", LogValue(LogLinesOf("INIT_setTimeout").at(0), "seconds"));
    EXPECT_TRUE(m_ui.Calls().empty()) << "no capabilities read";
}

// Whatever fails while the new session reads the capabilities, the session is closed again.
TEST_F(ScannerTest, AFailureWhileReadingCapabilitiesLeavesNoSessionOpen) {
    m_ui.failWarnings = true;
    EXPECT_THROW(ConnectTo("localhost"), std::runtime_error);
    EXPECT_EQ(1u, LogLinesOf("SCAN_openSession").size());
    EXPECT_EQ(1u, LogLinesOf("SCAN_closeSession").size());
    EXPECT_EQ(1u, LogLinesOf("INIT_disconnectFromServer").size());
}

TEST_F(ScannerTest, AServerWithoutLoginConnectsAsGuestAndReadsItsCapabilitiesOnce) {
    const std::unique_ptr<Scanner> scanner = ConnectTo("localhost");
    EXPECT_TRUE(scanner->IsConnected());
    const std::string connect = LogLinesOf("INIT_connectToNonStandardServer").at(0);
    EXPECT_EQ("\"guest\"", LogValue(connect, "user"));
    EXPECT_EQ("\"\"", LogValue(connect, "password"));
    EXPECT_EQ((Calls{"ShowWarning Getting data from server 'Front Office'.", "CloseWarning"}),
              m_ui.Calls())
        << "no login prompt";
    EXPECT_NE(nullptr, scanner->GetLocalizer());

    ScanServerCapabilities* const capabilities = scanner->GetServerCapabilities();
    EXPECT_EQ(capabilities, scanner->GetServerCapabilities());
    EXPECT_EQ(1u, LogLinesOf("SCAN_serverAttributes").size());
    EXPECT_EQ(1, m_ui.CountOf("ShowWarning"));
    EXPECT_TRUE(capabilities->IsColorAvailable());
    EXPECT_TRUE(capabilities->IsLdapEnabled());
    std::string name;
    std::string mail;
    EXPECT_FALSE(scanner->GetUserMailInfo(name, mail));

    scanner->Disconnect();
    EXPECT_FALSE(scanner->IsConnected());
    EXPECT_EQ(nullptr, scanner->GetLocalizer());
    EXPECT_EQ(0, scanner->GetServerCapabilities()->GetPageSizeCount()) << "the empty set";
    EXPECT_EQ(1u, LogLinesOf("SCAN_closeSession").size());
    EXPECT_EQ(1u, LogLinesOf("INIT_disconnectFromServer").size());
}

TEST_F(ScannerTest, AFailedCapabilityReadLeavesTheEmptySetForTheSession) {
    OrvexSim_FailNext("SCAN_serverAttributes", QUORVEL_TIMEOUT);
    const std::unique_ptr<Scanner> scanner = ConnectTo("localhost");
    EXPECT_TRUE(scanner->IsConnected());
    ScanServerCapabilities* const capabilities = scanner->GetServerCapabilities();
    EXPECT_EQ(0, capabilities->GetColorModeCount());
    EXPECT_FALSE(capabilities->IsLdapEnabled());
    EXPECT_EQ(nullptr, scanner->GetLocalizer());
    EXPECT_EQ(capabilities, scanner->GetServerCapabilities());
    EXPECT_EQ(1u, LogLinesOf("SCAN_serverAttributes").size()) << "not retried";
    EXPECT_EQ((Calls{"ShowWarning Getting data from server 'Front Office'.", "CloseWarning"}),
              m_ui.Calls());
}

TEST_F(ScannerTest, TheNonConnectingScannerNeverCallsTheServer) {
    Scanner scanner(&Fresh(), &m_ui);
    EXPECT_FALSE(scanner.IsConnected());
    EXPECT_FALSE(scanner.IsServerDown());
    ScanServerCapabilities* const capabilities = scanner.GetServerCapabilities();
    ASSERT_NE(nullptr, capabilities);
    EXPECT_EQ(0, capabilities->GetColorModeCount());
    EXPECT_TRUE(capabilities->IsScanInitAllowed());
    EXPECT_EQ(nullptr, scanner.GetLocalizer());
    EXPECT_TRUE(OrvexSimCalls().empty());
    EXPECT_TRUE(m_ui.Calls().empty());
    EXPECT_EQ(7, scanner.SetInitiatedScanJobID(7));
    EXPECT_EQ(7, scanner.GetInitiatedScanJobID());
}

TEST_F(ScannerTest, LoginAsksAgainUntilTheDirectoryAcceptsTheUser) {
    m_ui.logins = {{1, "", "whatever"}, {1, "alice", "wrong"}, {1, "alice", "wonder"}};
    const std::unique_ptr<Scanner> scanner = ConnectTo("login");
    EXPECT_TRUE(scanner->IsConnected());
    EXPECT_EQ(3, m_ui.CountOf("ShowLoginDialog"));
    EXPECT_EQ(3, m_ui.CountOf("CloseLoginDialog"));
    EXPECT_EQ(2u, LogLinesOf("CORP_Authenticate").size()) << "no directory call for an empty name";
    EXPECT_EQ(2u, LogLinesOf("CORP_ldapOpenSession").size());
    EXPECT_EQ(2u, LogLinesOf("CORP_ldapCloseSession").size());
    EXPECT_EQ(1u, LogLinesOf("CORP_ldapBindEx").size());

    const std::vector<std::string> searches = LogLinesOf("CORP_ldapSearch");
    ASSERT_EQ(1u, searches.size());
    EXPECT_EQ("\"(samAccountName=alice)\"", LogValue(searches[0], "filter"));
    EXPECT_EQ("2", LogValue(searches[0], "scope"));
    EXPECT_EQ("[\"mail\"", LogValue(searches[0], "names"));

    std::string name;
    std::string mail;
    ASSERT_TRUE(scanner->GetUserMailInfo(name, mail));
    EXPECT_EQ("Alice Liddell", name);
    EXPECT_EQ("alice@example.com", mail);
}

TEST_F(ScannerTest, CancellingTheLoginLeavesTheScannerUnconnected) {
    m_ui.logins = {{1, "alice", "wrong"}, {2, "", ""}};
    const std::unique_ptr<Scanner> scanner = ConnectTo("login");
    EXPECT_FALSE(scanner->IsConnected());
    EXPECT_EQ(nullptr, scanner->GetLocalizer());
    EXPECT_EQ(2, m_ui.CountOf("CloseLoginDialog"));
    const Calls calls = OrvexSimCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ((Calls{"SCAN_closeSession", "INIT_disconnectFromServer"}),
              Calls(calls.end() - 2, calls.end()));
    EXPECT_EQ(1u, LogLinesOf("CORP_Authenticate").size());
    EXPECT_EQ(0, scanner->GetServerCapabilities()->GetColorModeCount());
}

TEST_F(ScannerTest, APromptThatAnswersNeitherOkNorCancelCountsAsCancel) {
    ScannerUiIntf silent;
    Scanner scanner(&Fresh(), &silent, "login", "login");
    EXPECT_FALSE(scanner.IsConnected());

    // A dialog that could not be shown answers -1; asking again would never end.
    m_ui.logins = {{-1, "", ""}};
    const std::unique_ptr<Scanner> failed = ConnectTo("login");
    EXPECT_FALSE(failed->IsConnected());
    EXPECT_EQ(1, m_ui.CountOf("ShowLoginDialog"));
    EXPECT_TRUE(LogLinesOf("CORP_Authenticate").empty());
}

TEST_F(ScannerTest, DirectoryValuesAreTakenByNameAndBounded) {
    const struct {
        const char* user;
        const char* password;
        const char* displayName;
        const char* mail;
    } cases[] = {
        // No mail in the entry: the display name must not stand in for it.
        {"bob", "builder", "Bob Builder", ""},
        // A 300-character name does not fit: it is not kept; the mail address is.
        {"long", "long", "", "long@example.com"},
        // The "*" is a character of the name, not a wildcard matching "starman".
        {"star*", "asterisk", "Star Asterisk", "asterisk@example.com"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user);
        OrvexSim_ClearLog();
        m_ui.logins = {{1, c.user, c.password}};
        const std::unique_ptr<Scanner> scanner = ConnectTo("login");
        ASSERT_TRUE(scanner->IsConnected());
        std::string name;
        std::string mail;
        ASSERT_TRUE(scanner->GetUserMailInfo(name, mail));
        EXPECT_EQ(c.displayName, name);
        EXPECT_EQ(c.mail, mail);
    }
    EXPECT_EQ("\"(samAccountName=star\\\\2a)\"",
              LogValue(LogLinesOf("CORP_ldapSearch").at(0), "filter"));
}

TEST(ScannerFilter, ValuesAreEscapedSoTheyCannotChangeTheFilter) {
    const struct {
        std::string text;
        std::string escaped;
    } cases[] = {
        {"alice", "alice"},
        {"a*", "a\\2a"},
        {"x)(mail=*", "x\\29\\28mail=\\2a"},
        {"dom\\user", "dom\\5cuser"},
        {std::string("nul\0end", 7), "nul\\00end"},
        {std::string(1000, ')'),
         [] {
             std::string all;
             for (int i = 0; i < 1000; ++i) {
                 all += "\\29";
             }
             return all;
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.escaped, Scanner::EscapeFilterValue(c.text));
    }
}

TEST_F(ScannerTest, EventsArriveOnTheLibrarysThreadAndReachTheHandler) {
    const std::unique_ptr<Scanner> scanner = ConnectTo("localhost");
    scanner->StartNotifications();
    EXPECT_EQ("16", LogValue(LogLinesOf("INIT_monitorServer").at(0), "interval"));
    EXPECT_EQ(1u, LogLinesOf("NB_registerCallback").size());
    EXPECT_EQ(1u, LogLinesOf("SCAN_getEventsEx").size());
    EXPECT_EQ(1u, LogLinesOf("SCAN_getAlertEvents").size());

    for (const int type : {9, 10, 0, 12, -3}) {
        EXPECT_EQ(1, OrvexSim_DeliverEvent(type, 40 + type, 77));
    }
    const DWORD libraryThread = OrvexSim_CallbackThreadId();
    ASSERT_NE(0u, libraryThread);
    EXPECT_NE(GetCurrentThreadId(), libraryThread);
    const auto events = m_ui.Events();
    ASSERT_EQ(3u, events.size()) << "types 10 and above are dropped";
    EXPECT_EQ(9, events[0].type);
    EXPECT_EQ(49, events[0].jobId);
    EXPECT_EQ(0, events[1].type);
    EXPECT_EQ(-3, events[2].type);
    for (const auto& event : events) {
        EXPECT_EQ(libraryThread, event.thread);
    }

    EXPECT_EQ(1, OrvexSim_DeliverAlert(1, 2, "Paper jam", 3, 4, 5));
    EXPECT_EQ((Calls{"Paper jam"}), m_ui.Alerts());
    EXPECT_EQ(libraryThread, m_ui.AlertThread());
}

TEST_F(ScannerTest, AHandlerThatThrowsNeverEndsTheLibrarysThread) {
    const std::unique_ptr<Scanner> scanner = ConnectTo("localhost");
    scanner->StartNotifications();
    m_ui.throwOnEvents = true;
    EXPECT_EQ(1, OrvexSim_DeliverEvent(3, 7, 0));
    EXPECT_EQ(1, OrvexSim_DeliverAlert(1, 2, "Paper jam", 3, 4, 5));
    EXPECT_EQ(1, OrvexSim_SetServerDown("default", 1));
    EXPECT_TRUE(scanner->IsServerDown());

    // The process is still here, and so is the thread that delivers events.
    m_ui.throwOnEvents = false;
    EXPECT_EQ(1, OrvexSim_DeliverEvent(4, 8, 0));
    const auto events = m_ui.Events();
    ASSERT_EQ(3u, events.size());
    EXPECT_EQ(3, events[0].type);
    EXPECT_EQ(-8, events[1].type);
    EXPECT_EQ(4, events[2].type);
    EXPECT_EQ(events[0].thread, events[2].thread);
    EXPECT_EQ((Calls{"Paper jam"}), m_ui.Alerts());
}

TEST_F(ScannerTest, AServerThatGoesDownSetsTheFlagAndSaysSo) {
    const std::unique_ptr<Scanner> scanner = ConnectTo("localhost");
    scanner->StartNotifications();
    EXPECT_FALSE(scanner->IsServerDown());
    EXPECT_EQ(1, OrvexSim_SetServerDown("default", 1));
    EXPECT_TRUE(scanner->IsServerDown());
    const auto events = m_ui.Events();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(-8, events[0].type);
    EXPECT_EQ(0, events[0].jobId);
    EXPECT_EQ(OrvexSim_CallbackThreadId(), events[0].thread);

    // The flag stays until the next Scanner is made.
    Scanner next(&Fresh(), &m_ui);
    EXPECT_FALSE(next.IsServerDown());
    EXPECT_FALSE(scanner->IsServerDown());
}

} // namespace
