// The FTP destination window's mediator: the window's fields checked at the simulated server
// in the library's order, and collected into one destination record.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FTPDestinationInfo.h"
#include "OrvexSimControl.h"
#include "Scanner.h"
#include "ScriptedFtpDestination.h"
#include "SimulatedServerSession.h"

namespace {

using Names = std::vector<std::string>;

FtpFields EveryField() {
    FtpFields f;
    f.server = "ftp.example.com";
    f.port = "2121";
    f.password = "p";
    f.userName = "u";
    f.remoteDir = "/in";
    f.timeout = "90";
    f.proxyEnabled = true;
    f.proxyServer = "proxy.example.com";
    f.proxyPort = "8021";
    f.proxyUserName = "pu";
    f.proxyPassword = "pp";
    return f;
}

class FtpDestMediatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        m_session = std::make_unique<SimulatedServerSession>("localhost");
        OrvexSim_ClearLog();
    }
    void TearDown() override {
        m_session.reset();
        EXPECT_EQ(0, OrvexSim_HeapBlocks());
        OrvexSim_Reset();
    }

    std::unique_ptr<SimulatedServerSession> m_session;
};

TEST_F(FtpDestMediatorTest, ValidationPassesTheFieldsInTheLibrarysOrder) {
    ScriptedFtpDestination window(m_session->GetScanner());
    window.fields = EveryField();
    EXPECT_EQ(0, window.Validate());
    EXPECT_EQ((Names{"ProxyPassword", "ProxyUserName", "ProxyPort", "ProxyServer", "RemoteDir",
                     "Password", "UserName", "Port", "Server"}),
              window.asked);
    const std::vector<std::string> log = LogLinesOf("SFTP_Validate");
    ASSERT_EQ(1u, log.size());
    const std::string& line = log[0];
    EXPECT_EQ("\"ftp.example.com\"", LogValue(line, "address")) << line;
    EXPECT_EQ("\"u\"", LogValue(line, "user")) << line;
    EXPECT_EQ("\"p\"", LogValue(line, "password")) << line;
    EXPECT_EQ("\"/in\"", LogValue(line, "directory")) << line;
    EXPECT_NE(std::string::npos,
              line.find("\"proxy_type\"=\"HTTP_PROXY\" \"address\"=\"proxy.example.com\" "
                        "\"proxy_port\"=\"8021\" \"username\"=\"pu\" \"password\"=\"pp\" "
                        "\"ftp_port\"=\"2121\"]"))
        << line;
}

TEST_F(FtpDestMediatorTest, TheServersAnswerComesBackUnchanged) {
    ScriptedFtpDestination window(m_session->GetScanner());
    window.fields = EveryField();
    window.fields.server = "ftp.denied.example.com";
    EXPECT_EQ(-2, window.Validate());
    window.fields.server = "ftp.unknown.example.com";
    EXPECT_EQ(-8, window.Validate());
    OrvexSim_FailNext("SFTP_Validate", QUORVEL_CONNECTION_FAILED);
    EXPECT_EQ(QUORVEL_CONNECTION_FAILED, window.Validate());
}

TEST_F(FtpDestMediatorTest, WithTheProxyOffItsFieldsReachTheServerEmpty) {
    ScriptedFtpDestination window(m_session->GetScanner());
    window.fields = EveryField();
    window.fields.proxyEnabled = false;
    window.fields.port = "21";
    EXPECT_EQ(0, window.Validate());
    const std::string line = LogLinesOf("SFTP_Validate").at(0);
    EXPECT_EQ("null", LogValue(line, "attributes")) << "no proxy and the usual port: " << line;
}

TEST_F(FtpDestMediatorTest, TheRecordTakesEveryFieldFromTheWindow) {
    ScriptedFtpDestination window(m_session->GetScanner());
    window.fields = EveryField();
    window.fields.anonymous = true;
    FTPDestinationInfo info;
    info.SetPassword("left over");
    window.GetDestinationInfo(info);
    EXPECT_EQ("ftp.example.com", info.GetServer());
    EXPECT_EQ("2121", info.GetPort());
    EXPECT_EQ("/in", info.GetPath());
    EXPECT_EQ("90", info.GetTimeout());
    EXPECT_EQ("u", info.GetUserName()) << "the login is told by the user name alone";
    EXPECT_EQ("p", info.GetPassword());
    EXPECT_TRUE(info.IsProxyEnabled());
    EXPECT_EQ("proxy.example.com", info.GetProxyAddress());
    EXPECT_EQ("8021", info.GetProxyPort());
    EXPECT_EQ("pu", info.GetProxyUserName());
    EXPECT_EQ("pp", info.GetProxyPassword());
    for (const std::string& asked : window.asked) {
        EXPECT_NE("IsAnonymousLogin", asked);
    }
    EXPECT_TRUE(OrvexSimLog().empty()) << "collecting asks nothing of the server";
}

TEST_F(FtpDestMediatorTest, EmptyFieldsReplaceWhatTheRecordHeld) {
    ScriptedFtpDestination window(m_session->GetScanner());
    window.fields.server = "ftp.example.com";
    window.fields.proxyServer = "proxy.example.com";
    window.fields.proxyUserName = "pu";
    FTPDestinationInfo info;
    info.SetPath("/old");
    info.SetTimeout("45");
    info.SetProxyEnabled(true);
    info.SetProxyAddress("old.example.com");
    window.GetDestinationInfo(info);
    EXPECT_EQ("", info.GetPath());
    EXPECT_EQ("", info.GetTimeout());
    EXPECT_EQ("", info.GetPassword());
    EXPECT_FALSE(info.IsProxyEnabled());
    EXPECT_EQ("", info.GetProxyAddress()) << "the window hides the proxy while it is off";
    EXPECT_EQ("", info.GetProxyUserName());
    EXPECT_EQ("", info.GetProxyPassword());
    // The record itself keeps its default port, login and proxy port for empty texts.
    EXPECT_EQ("21", info.GetPort());
    EXPECT_EQ("anonymous", info.GetUserName());
    EXPECT_EQ("21", info.GetProxyPort());
}

} // namespace
