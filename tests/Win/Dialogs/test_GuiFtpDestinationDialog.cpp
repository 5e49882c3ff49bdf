// The FTP destination window on real windows: fields from the record, the default-port and
// anonymous boxes, the proxy, port corrections as typed, when Validate and OK may be pressed,
// the server check's message, and the record OK hands back (also through the Send window).

#include "DataArg_UserInterface.h"
#include "SendDialogTestSupport.h"
#include "FTPDestinationInfo.h"
#include "GuiFtpDestinationDialog.h"
#include "GuiFtpDestinationDialog_rc.h"
#include "GuiSendDialogInit.h"
#include "GuiSendDialog_rc.h"
#include "GuiTestSupport.h"
#include "OrvexSimControl.h"
#include "ScanAttributeWrapper.h"
#include "ScanPreferences.h"
#include "SendMediatorInitiater.h"
#include "SimulatedServerSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using dialogtest::Click;
using dialogtest::TextOf;
using dialogtest::Type;

namespace {

// A handler that notes the error texts it is asked to show.
class RecordingUi : public DataArg_UserInterface {
public:
    std::vector<std::string> shown;
    void ShowErrorDialog(const std::string& text) override { shown.push_back(text); }
};

class TestFtpDialog : public GuiFtpDestinationDialog {
public:
    TestFtpDialog(GuiWindowsDialog* owner, const FTPDestinationInfo& record, Scanner* scanner,
                  DataArg_UserInterface* ui)
        : GuiFtpDestinationDialog(owner, record, scanner), m_ui(ui) {}
    DataArg_UserInterface* GetUserInterface() const override { return m_ui; }

private:
    DataArg_UserInterface* m_ui;
};

FTPDestinationInfo Record() {
    FTPDestinationInfo record;
    record.SetServer("ftp.example.com");
    record.SetPath("/in");
    record.SetPort("2121");
    record.SetTimeout("45");
    record.SetUserName("carol");
    record.SetPassword("secret");
    return record;
}

void SetField(GuiWindowsDialog& dialog, int id, const std::string& text) {
    SetWindowTextA(dialog.GetItem(id), text.c_str());
    guitest::PumpPending();
}

} // namespace

class FtpDestinationDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        owner.Create();
        owner.onChildClosed = [this](GuiWindowsDialog* child, int, int result) {
            if (auto* dialog = dynamic_cast<GuiFtpDestinationDialog*>(child)) {
                ended = result;
                record = dialog->GetDestinationInfo();
            }
        };
    }
    void TearDown() override {
        owner.Adopt(nullptr);
        guitest::PumpPending();
        // The closed window left the owner in front; the handler must not reach it later.
        ui.SetCurrentWindow(nullptr);
        session.reset();
        OrvexSim_Reset();
    }

    TestFtpDialog& Open(const FTPDestinationInfo& source) {
        owner.Adopt(nullptr);
        if (!session) {
            session = std::make_unique<SimulatedServerSession>("localhost");
        }
        auto* dialog = new TestFtpDialog(&owner, source, session->GetScanner(), &ui);
        owner.Adopt(dialog);
        dialog->Create();
        guitest::PumpPending();
        return *dialog;
    }

    bool Ready(const GuiWindowsDialog& dialog) const {
        const bool ok = dialog.IsItemEnabled(IDOK);
        EXPECT_EQ(ok, dialog.IsItemEnabled(IDC_FTP_VALIDATE)) << "Validate and OK go together";
        return ok;
    }

    RecordingUi ui;
    TestOwner owner;
    std::unique_ptr<SimulatedServerSession> session;
    int ended = 0;
    FTPDestinationInfo record;
};

TEST_F(FtpDestinationDialogTest, TheRecordFillsTheFields) {
    TestFtpDialog& dialog = Open(Record());
    EXPECT_EQ("ftp.example.com", TextOf(dialog, IDC_FTP_SERVER));
    EXPECT_EQ("/in", TextOf(dialog, IDC_FTP_PATH));
    EXPECT_EQ("2121", TextOf(dialog, IDC_FTP_PORT));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_PORT));
    EXPECT_FALSE(dialog.IsItemChecked(IDC_FTP_USE_DEFAULT_PORT));
    EXPECT_EQ("45", TextOf(dialog, IDC_FTP_TIMEOUT));
    EXPECT_EQ("carol", TextOf(dialog, IDC_FTP_USER));
    EXPECT_EQ("secret", TextOf(dialog, IDC_FTP_PASSWORD));
    EXPECT_NE(0, GetWindowLongPtrA(dialog.GetItem(IDC_FTP_PASSWORD), GWL_STYLE) & ES_PASSWORD);
    EXPECT_FALSE(dialog.IsItemChecked(IDC_FTP_PROXY_ENABLE));
    for (const int id : {IDC_FTP_PROXY_ADDRESS, IDC_FTP_USE_DEFAULT_PROXY_PORT, IDC_FTP_PROXY_PORT,
                         IDC_FTP_PROXY_USER, IDC_FTP_PROXY_PASSWORD}) {
        EXPECT_FALSE(dialog.IsItemEnabled(id)) << id;
    }
    EXPECT_TRUE(Ready(dialog));
    dialogtest::Screenshot(dialog, "GuiFtpDestinationDialog.en");

    // The defaults: port 21 and the anonymous login.
    TestFtpDialog& defaults = Open(FTPDestinationInfo());
    EXPECT_TRUE(defaults.IsItemChecked(IDC_FTP_USE_DEFAULT_PORT));
    EXPECT_EQ("21", TextOf(defaults, IDC_FTP_PORT));
    EXPECT_FALSE(defaults.IsItemEnabled(IDC_FTP_PORT));
    EXPECT_TRUE(defaults.IsItemChecked(IDC_FTP_ANONYMOUS));
    EXPECT_EQ("anonymous", TextOf(defaults, IDC_FTP_USER));
    EXPECT_FALSE(defaults.IsItemEnabled(IDC_FTP_USER));
    EXPECT_EQ("", TextOf(defaults, IDC_FTP_PASSWORD));
    EXPECT_FALSE(Ready(defaults)) << "no server yet";
}

TEST_F(FtpDestinationDialogTest, TheBoxesFillOrEmptyTheirFields) {
    TestFtpDialog& dialog = Open(FTPDestinationInfo());
    SetField(dialog, IDC_FTP_SERVER, "ftp.example.com");
    ASSERT_TRUE(Ready(dialog));

    Click(dialog, IDC_FTP_USE_DEFAULT_PORT);
    EXPECT_EQ("", TextOf(dialog, IDC_FTP_PORT));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_PORT));
    EXPECT_EQ(dialog.GetItem(IDC_FTP_PORT), guitest::FocusIn(dialog.GetHwnd()));
    EXPECT_FALSE(Ready(dialog)) << "no port";
    Type(dialog, IDC_FTP_PORT, "2121");
    EXPECT_TRUE(Ready(dialog));
    Click(dialog, IDC_FTP_USE_DEFAULT_PORT);
    EXPECT_EQ("21", TextOf(dialog, IDC_FTP_PORT));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_FTP_PORT));

    SetField(dialog, IDC_FTP_PASSWORD, "kept");
    Click(dialog, IDC_FTP_ANONYMOUS);
    EXPECT_EQ("", TextOf(dialog, IDC_FTP_USER));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_USER));
    EXPECT_FALSE(Ready(dialog)) << "no user name";
    Click(dialog, IDC_FTP_ANONYMOUS);
    EXPECT_EQ("anonymous", TextOf(dialog, IDC_FTP_USER));
    EXPECT_EQ("kept", TextOf(dialog, IDC_FTP_PASSWORD)) << "the password is left alone";

    Click(dialog, IDC_FTP_PROXY_ENABLE);
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_PROXY_ADDRESS));
    EXPECT_EQ(dialog.GetItem(IDC_FTP_PROXY_ADDRESS), guitest::FocusIn(dialog.GetHwnd()));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_USE_DEFAULT_PROXY_PORT));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_FTP_PROXY_PORT)) << "the default proxy port is on";
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_PROXY_USER));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_PROXY_PASSWORD));
    Click(dialog, IDC_FTP_USE_DEFAULT_PROXY_PORT);
    EXPECT_EQ("", TextOf(dialog, IDC_FTP_PROXY_PORT));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_FTP_PROXY_PORT));
}

TEST_F(FtpDestinationDialogTest, PortsAreCorrectedAsTheyChange) {
    struct Case {
        std::string typed, kept;
    };
    const std::vector<Case> cases = {
        {"70000", "65535"}, {"65536", "65535"}, {"65535", "65535"}, {"0", "1"},
        {"00", "00"},       {"000", "000"},     {"8021", "8021"},
    };
    FTPDestinationInfo source = Record();
    source.SetProxyEnabled(true);
    source.SetProxyPort("3128");
    TestFtpDialog& dialog = Open(source);
    for (const Case& c : cases) {
        for (const int id : {IDC_FTP_PORT, IDC_FTP_PROXY_PORT}) {
            SetField(dialog, id, c.typed);
            EXPECT_EQ(c.kept, TextOf(dialog, id)) << id << " given " << c.typed;
        }
    }
    // Typed key by key, a first 0 is corrected at once.
    SetField(dialog, IDC_FTP_PORT, "");
    Type(dialog, IDC_FTP_PORT, "99999");
    EXPECT_EQ("65535", TextOf(dialog, IDC_FTP_PORT));
    SetField(dialog, IDC_FTP_PORT, "");
    Type(dialog, IDC_FTP_PORT, "0");
    EXPECT_EQ("1", TextOf(dialog, IDC_FTP_PORT));
}

TEST_F(FtpDestinationDialogTest, ValidateAndOkNeedPortUserAndServerOrProxy) {
    struct Case {
        const char* name;
        const char* server;
        const char* port;
        const char* user;
        bool proxy;
        const char* proxyAddress;
        const char* proxyPort;
        bool ready;
    };
    const std::vector<Case> cases = {
        {"all there", "ftp.example.com", "21", "carol", false, "", "", true},
        {"no server", "", "21", "carol", false, "", "", false},
        {"no port", "ftp.example.com", "", "carol", false, "", "", false},
        {"no user", "ftp.example.com", "21", "", false, "", "", false},
        {"proxy instead of a server", "", "21", "carol", true, "proxy", "3128", true},
        {"proxy without its port", "ftp.example.com", "21", "carol", true, "proxy", "", false},
        {"proxy without its address", "ftp.example.com", "21", "carol", true, "", "3128", false},
        {"proxy texts left while it is off", "", "21", "carol", false, "proxy", "3128", false},
    };
    for (const Case& c : cases) {
        FTPDestinationInfo source = Record();
        source.SetProxyEnabled(c.proxy);
        source.SetProxyPort("8080");
        TestFtpDialog& dialog = Open(source);
        SetField(dialog, IDC_FTP_SERVER, c.server);
        SetField(dialog, IDC_FTP_PORT, c.port);
        SetField(dialog, IDC_FTP_USER, c.user);
        SetField(dialog, IDC_FTP_PROXY_ADDRESS, c.proxyAddress);
        SetField(dialog, IDC_FTP_PROXY_PORT, c.proxyPort);
        EXPECT_EQ(c.ready, Ready(dialog)) << c.name;
    }
}

TEST_F(FtpDestinationDialogTest, ValidateShowsTheServersAnswer) {
    struct Case {
        const char* server;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"ftp.example.com", "Operation completed successfully."},
        {"ftp.denied.example.com", "Error... Network access denied."},
        {"ftp.nowhere.example.com", "Error... Network server unreachable."},
    };
    TestFtpDialog& dialog = Open(Record());
    for (const Case& c : cases) {
        ui.shown.clear();
        SetField(dialog, IDC_FTP_SERVER, c.server);
        Click(dialog, IDC_FTP_VALIDATE);
        ASSERT_EQ(1u, ui.shown.size()) << c.server;
        EXPECT_EQ(c.message, ui.shown[0]) << c.server;
        EXPECT_NE(nullptr, owner.GetChildDialog()) << "the window stays open";
    }
}

TEST_F(FtpDestinationDialogTest, OkHandsBackTheFieldsAndCancelNothing) {
    FTPDestinationInfo source = Record();
    source.SetProxyEnabled(true);
    source.SetProxyAddress("proxy.example.com");
    source.SetProxyPort("3128");
    source.SetProxyUserName("pat");
    source.SetProxyPassword("pw");
    TestFtpDialog& dialog = Open(source);
    Click(dialog, IDC_FTP_PROXY_ENABLE);
    SetField(dialog, IDC_FTP_TIMEOUT, "");
    Click(dialog, IDOK);
    EXPECT_EQ(nullptr, owner.GetChildDialog());
    EXPECT_EQ(1, ended);
    EXPECT_EQ("ftp.example.com", record.GetServer());
    EXPECT_EQ("2121", record.GetPort());
    EXPECT_EQ("/in", record.GetPath());
    EXPECT_EQ("", record.GetTimeout()) << "an empty field stays empty";
    EXPECT_EQ("carol", record.GetUserName());
    EXPECT_EQ("secret", record.GetPassword());
    EXPECT_FALSE(record.IsProxyEnabled());
    EXPECT_EQ("", record.GetProxyAddress()) << "the proxy texts stay in the window only";
    EXPECT_EQ("", record.GetProxyUserName());
    EXPECT_EQ("", record.GetProxyPassword());

    TestFtpDialog& cancelled = Open(source);
    SetField(cancelled, IDC_FTP_SERVER, "changed.example.com");
    Click(cancelled, IDCANCEL);
    EXPECT_EQ(2, ended);
    EXPECT_EQ("proxy.example.com", record.GetProxyAddress()) << "the record as given";
    EXPECT_EQ("ftp.example.com", record.GetServer());
}

TEST_F(FtpDestinationDialogTest, TheSendWindowTakesTheDestinationOnlyOnOk) {
    session = std::make_unique<SimulatedServerSession>("localhost");
    MemoryStore store;
    ScanPreferences preferences;
    preferences.SetStore(&store);
    preferences.SetScanFTPServerName("ftp.example.com");
    ScanAttributeWrapper job(session->Wrapper(), nullptr);
    auto* mediator = new SendMediatorInitiater(&job, session->GetScanner(), &preferences);
    auto* send =
        new GuiSendDialogInit(&owner, &job, session->GetScanner(), &preferences, mediator, false);
    mediator->SetClient(send);
    owner.Adopt(send);
    send->Create();
    Click(*send, IDC_SEND_FTP_CHECK);
    store.writes.clear();

    const auto editor = [&]() {
        return dynamic_cast<GuiFtpDestinationDialog*>(send->GetChildDialog());
    };
    Click(*send, IDC_SEND_EDIT_FTP);
    ASSERT_NE(nullptr, editor());
    EXPECT_FALSE(send->IsEnabled()) << "the Send window waits for its editor";
    SetField(*editor(), IDC_FTP_SERVER, "other.example.com");
    Click(*editor(), IDCANCEL);
    EXPECT_EQ(nullptr, send->GetChildDialog());
    EXPECT_EQ("ftp.example.com", send->GetFtpDestination().GetServer());
    EXPECT_TRUE(store.writes.empty());

    Click(*send, IDC_SEND_EDIT_FTP);
    ASSERT_NE(nullptr, editor());
    SetField(*editor(), IDC_FTP_SERVER, "other.example.com");
    Click(*editor(), IDOK);
    EXPECT_EQ(nullptr, send->GetChildDialog());
    EXPECT_EQ("other.example.com", send->GetFtpDestination().GetServer());
    EXPECT_EQ("other.example.com", preferences.GetScanFTPServerName()) << "stored at once";
    EXPECT_EQ("other.example.com", send->GetItemText(IDC_SEND_EDIT_FTP));
    EXPECT_TRUE(send->IsItemEnabled(IDOK));
    EXPECT_TRUE(send->IsEnabled());
    owner.Adopt(nullptr);
}
