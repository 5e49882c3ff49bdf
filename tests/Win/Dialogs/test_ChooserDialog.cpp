// The server chooser: run modally by an open that finds no server (the test answers it as a
// user, through its window), and its editing of the server list.

#include "AcquireWindowIntf.h"
#include "DialogTestSupport.h"
#include "GuiChooserDialog.h"
#include "GuiChooserDialog_rc.h"
#include "GuiLoginDialog_rc.h"
#include "GuiModalErrorDialog_rc.h"
#include "ResourceLoader.h"
#include "StringTable_rc.h"

#include <algorithm>

#include <cstring>
#include <memory>

namespace {

bool IsChooser(HWND window) {
    return guitest::HasControls(window, {IDC_CHOOSER_ADD, IDC_CHOOSER_LIST});
}

bool IsLogin(HWND window) {
    return guitest::HasControls(window, {IDC_LOGIN_USER_NAME, IDC_LOGIN_PASSWORD});
}

// A dialog of this thread other than the chooser and the log-in: a message box, say.
bool IsOtherDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    return std::string(name) == "#32770" && !IsChooser(window) && !IsLogin(window);
}

void AddServer(HWND chooser, const std::string& address, const std::string& device) {
    guitest::TypeText(chooser, IDC_CHOOSER_SERVER_NAME, address);
    guitest::TypeText(chooser, IDC_CHOOSER_DEVICE, device);
    guitest::ClickButton(chooser, IDC_CHOOSER_ADD);
}

BOOL CALLBACK FindVisibleChooser(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && IsChooser(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindChooser() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleChooser, reinterpret_cast<LPARAM>(&found));
    return found;
}

class ChooserTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // An open that finds no server reports it before the chooser shows: read and
        // acknowledged.
        errors = std::make_unique<guitest::BoxReader>(IDC_MODAL_ERROR_TEXT, IsOtherDialog);
    }
    void TearDown() override {
        errors.reset();
        DialogTest::TearDown();
    }

    // Opens the source on the default server and asks for the chooser as the acquire window
    // does; its window.
    HWND ShowModelessChooser() {
        StoreServerList("default");
        EXPECT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        AbstractSource::GetUserInterfaceHandler()->SwitchToChooserDialog();
        return FindChooser();
    }
    int CountErrors(int stringId) const {
        const std::string text = ResourceLoader::Instance()->LoadString(stringId);
        const std::vector<std::string>& texts = errors->Texts();
        return static_cast<int>(std::count(texts.begin(), texts.end(), text));
    }

    std::unique_ptr<guitest::BoxReader> errors;
};

// The chooser on its own over a list of servers, modeless, as the user edits it.
class ChooserEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ServerList servers;
        servers.Add(new ServerInfo(false, "Copier A", "10.0.0.1", "", true));
        servers.Add(new ServerInfo(true, "Copier B", "10.0.0.2", "second", true));
        servers.SetSelectedIndex(0);
        chooser = new GuiChooserDialog(servers, nullptr, false);
        chooser->Show();
        window = chooser->GetHwnd();
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override { chooser->Close(); }

    const ServerList& Working() const { return chooser->GetWorkingList(); }

    GuiChooserDialog* chooser = nullptr;
    HWND window = nullptr;
};

} // namespace

TEST_F(ChooserTest, OpeningWithoutAServerShowsTheChooserAndCancelKeepsEverything) {
    StoreServerList("gone-server");
    bool emptyFieldsDisableAdd = false;
    guitest::WindowAnswerer user(IsChooser, [&](HWND chooser) {
        EXPECT_EQ(1, ListRows(chooser, IDC_CHOOSER_LIST));
        EXPECT_EQ(0, SelectedRow(chooser, IDC_CHOOSER_LIST));
        emptyFieldsDisableAdd = !IsItemEnabled(chooser, IDC_CHOOSER_ADD);
        Shoot(chooser, "GuiChooserDialog.en.png");
        // The user adds a server, then thinks better of it.
        AddServer(chooser, "caps-color", "Copier");
        EXPECT_EQ(2, ListRows(chooser, IDC_CHOOSER_LIST));
        guitest::ClickButton(chooser, IDCANCEL);
    });
    EXPECT_EQ(TWRC_FAILURE, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ(1, user.Answered());
    EXPECT_TRUE(emptyFieldsDisableAdd);
    // Kept loaded for the next try, with the list it had.
    AbstractSource* const source = AbstractSource::Instance();
    ASSERT_NE(nullptr, source);
    EXPECT_TRUE(source->IsKeepLoaded());
    EXPECT_FALSE(source->IsOpen());
    ASSERT_EQ(1, source->GetServerList().GetSize());
    EXPECT_EQ("gone-server", source->GetServerList().GetAt(0)->ipAddress);
    EXPECT_EQ(1, StoredServerList().GetSize());
    EXPECT_EQ(TWCC_OPERATIONERROR, app.ConditionCode());
}

TEST_F(ChooserTest, AddingAServerAndOkConnectsAndSavesTheList) {
    StoreServerList("gone-server");
    guitest::WindowAnswerer user(IsChooser, [](HWND chooser) {
        AddServer(chooser, "caps-color", "Copier");
        EXPECT_EQ(1, SelectedRow(chooser, IDC_CHOOSER_LIST)) << "the new server is chosen";
        guitest::ClickButton(chooser, IDOK);
    });
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ(1, user.Answered());
    AbstractSource* const source = AbstractSource::Instance();
    EXPECT_TRUE(source->IsConnected());
    EXPECT_EQ("caps-color", source->GetLastServerAddress());
    const ServerList saved = StoredServerList();
    ASSERT_EQ(2, saved.GetSize());
    EXPECT_EQ(1, saved.GetSelectedIndex());
    EXPECT_EQ("caps-color", saved.GetAt(1)->ipAddress);
    EXPECT_EQ("Copier", saved.GetAt(1)->deviceName);
}

TEST_F(ChooserTest, OkOnAServerThatDoesNotAnswerGivesTheSourceItsListBackOnce) {
    StoreServerList("gone-server");
    int attempts = 0;
    guitest::WindowAnswerer user(IsChooser, [&](HWND chooser) {
        AddServer(chooser, "also-gone", "Copier");
        guitest::ClickButton(chooser, IDOK);
        ++attempts;
    });
    // The modal run ends after the failed attempt: the open fails, the source stays loaded.
    EXPECT_EQ(TWRC_FAILURE, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ(1, attempts);
    AbstractSource* const source = AbstractSource::Instance();
    ASSERT_NE(nullptr, source);
    EXPECT_TRUE(source->IsKeepLoaded());
    ASSERT_EQ(1, source->GetServerList().GetSize()) << "the list as the chooser found it";
    EXPECT_EQ("gone-server", source->GetServerList().GetAt(0)->ipAddress);
    EXPECT_EQ(1, StoredServerList().GetSize());
}

TEST_F(ChooserEditTest, AddIsEnabledOnlyWithEverythingItNeeds) {
    const struct {
        const char* server;
        const char* device;
        bool useNickname;
        const char* nickname;
        bool addEnabled;
    } cases[] = {
        {"host", "", false, "", false},         {"", "Copier", false, "", false},
        {"host", "Copier", false, "", true},    {"host", "Copier", true, "", false},
        {"host", "Copier", true, "nick", true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.server) + "/" + row.device + "/" + row.nickname);
        CheckDlgButton(window, IDC_CHOOSER_USE_NICKNAME, row.useNickname ? BST_CHECKED : 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_CHOOSER_USE_NICKNAME, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CHOOSER_USE_NICKNAME)));
        guitest::TypeText(window, IDC_CHOOSER_SERVER_NAME, row.server);
        guitest::TypeText(window, IDC_CHOOSER_DEVICE, row.device);
        guitest::TypeText(window, IDC_CHOOSER_NICKNAME, row.nickname);
        EXPECT_EQ(row.useNickname, IsItemEnabled(window, IDC_CHOOSER_NICKNAME));
        EXPECT_EQ(row.addEnabled, IsItemEnabled(window, IDC_CHOOSER_ADD));
    }
    // The nickname takes at most 255 characters.
    guitest::TypeText(window, IDC_CHOOSER_NICKNAME, "");
    TypeAtCaret(window, IDC_CHOOSER_NICKNAME, std::string(300, 'n'));
    EXPECT_EQ(255u, guitest::ControlText(window, IDC_CHOOSER_NICKNAME).size());
}

TEST_F(ChooserEditTest, ModifyCopyAndRemoveWorkOnTheSelectedRow) {
    SelectRow(window, IDC_CHOOSER_LIST, 1);
    guitest::ClickButton(window, IDC_CHOOSER_MODIFY);
    EXPECT_EQ("10.0.0.2", guitest::ControlText(window, IDC_CHOOSER_SERVER_NAME));
    EXPECT_EQ("second", guitest::ControlText(window, IDC_CHOOSER_NICKNAME));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window, IDC_CHOOSER_USE_NICKNAME));
    EXPECT_EQ("Cancel Modify", guitest::ControlText(window, IDC_CHOOSER_MODIFY));
    // Add applies the fields to the entry under modification.
    guitest::TypeText(window, IDC_CHOOSER_DEVICE, "Copier C");
    guitest::ClickButton(window, IDC_CHOOSER_ADD);
    ASSERT_EQ(2, Working().GetSize());
    EXPECT_EQ("Copier C", Working().GetAt(1)->deviceName);
    EXPECT_EQ("Copier C", CellText(window, IDC_CHOOSER_LIST, 1, 2));
    EXPECT_EQ("Modify", guitest::ControlText(window, IDC_CHOOSER_MODIFY));
    EXPECT_EQ("", guitest::ControlText(window, IDC_CHOOSER_SERVER_NAME));

    SelectRow(window, IDC_CHOOSER_LIST, 0);
    guitest::ClickButton(window, IDC_CHOOSER_COPY);
    ASSERT_EQ(3, Working().GetSize());
    EXPECT_EQ("10.0.0.1", Working().GetAt(2)->ipAddress);
    EXPECT_EQ(2, SelectedRow(window, IDC_CHOOSER_LIST));

    // Removing the last row selects the new last; removing the only row leaves none.
    guitest::ClickButton(window, IDC_CHOOSER_REMOVE);
    EXPECT_EQ(2, ListRows(window, IDC_CHOOSER_LIST));
    EXPECT_EQ(1, SelectedRow(window, IDC_CHOOSER_LIST));
    guitest::ClickButton(window, IDC_CHOOSER_REMOVE);
    guitest::ClickButton(window, IDC_CHOOSER_REMOVE);
    EXPECT_EQ(0, Working().GetSize());
    EXPECT_EQ(-1, SelectedRow(window, IDC_CHOOSER_LIST));
    for (const int id : {IDOK, IDC_CHOOSER_COPY, IDC_CHOOSER_MODIFY, IDC_CHOOSER_REMOVE}) {
        EXPECT_FALSE(IsItemEnabled(window, id)) << id;
    }
}

TEST_F(ChooserEditTest, EnterOnTheAddButtonAddsInsteadOfConfirming) {
    guitest::TypeText(window, IDC_CHOOSER_SERVER_NAME, "10.0.0.3");
    guitest::TypeText(window, IDC_CHOOSER_DEVICE, "Copier D");
    const HWND add = GetDlgItem(window, IDC_CHOOSER_ADD);
    SetFocus(add);
    // Enter as the dialog manager sees it.
    MSG enter = {add, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    IsDialogMessageA(window, &enter);
    guitest::PumpPending();
    ASSERT_EQ(3, Working().GetSize());
    EXPECT_EQ("10.0.0.3", Working().GetAt(2)->ipAddress);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(ChooserEditTest, AClickBesideTheRowsKeepsTheChoice) {
    SelectRow(window, IDC_CHOOSER_LIST, 1);
    // The list view drops its selection, then reports a click on no row.
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED;
    SendDlgItemMessageA(window, IDC_CHOOSER_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(&none));
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = GetDlgItem(window, IDC_CHOOSER_LIST);
    click.hdr.idFrom = IDC_CHOOSER_LIST;
    click.hdr.code = NM_CLICK;
    click.iItem = -1;
    SendMessageA(window, WM_NOTIFY, IDC_CHOOSER_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(1, SelectedRow(window, IDC_CHOOSER_LIST));
    EXPECT_TRUE(IsItemEnabled(window, IDOK));
}

TEST_F(ChooserTest, FromTheAcquireWindowCancelGoesBackToIt) {
    const HWND chooser = ShowModelessChooser();
    ASSERT_NE(nullptr, chooser);
    DataArg_UserInterface* const ui = AbstractSource::GetUserInterfaceHandler();
    EXPECT_EQ(nullptr, ui->GetAcquireJobsDialog());
    guitest::ClickButton(chooser, IDCANCEL);
    EXPECT_FALSE(IsWindow(chooser));
    ASSERT_NE(nullptr, ui->GetAcquireJobsDialog());
    EXPECT_TRUE(IsWindowVisible(ui->GetAcquireJobsDialog()->GetHwnd()));
    EXPECT_FALSE(AbstractSource::Instance()->IsCloseRequestPending());
}

TEST_F(ChooserTest, FromTheAcquireWindowEnterInAnEmptyListAsksTheApplicationToClose) {
    const HWND chooser = ShowModelessChooser();
    ASSERT_NE(nullptr, chooser);
    SelectRow(chooser, IDC_CHOOSER_LIST, 0);
    guitest::ClickButton(chooser, IDC_CHOOSER_REMOVE);
    ASSERT_EQ(0, ListRows(chooser, IDC_CHOOSER_LIST));
    EXPECT_FALSE(IsItemEnabled(chooser, IDOK));
    // Enter in the list, as the list view reports it.
    NMLVKEYDOWN enter = {};
    enter.hdr.hwndFrom = GetDlgItem(chooser, IDC_CHOOSER_LIST);
    enter.hdr.idFrom = IDC_CHOOSER_LIST;
    enter.hdr.code = LVN_KEYDOWN;
    enter.wVKey = VK_RETURN;
    SendMessageA(chooser, WM_NOTIFY, IDC_CHOOSER_LIST, reinterpret_cast<LPARAM>(&enter));
    AbstractSource* const source = AbstractSource::Instance();
    EXPECT_EQ(0, source->GetServerList().GetSize());
    EXPECT_TRUE(source->IsCloseRequestPending());
    EXPECT_TRUE(IsWindow(chooser)) << "the chooser waits for the source to close";
}

// From the acquire window a server that does not answer gives the source back its list, once;
// when that list's server does not answer either, the application is asked to close.
TEST_F(ChooserTest, FromTheAcquireWindowAFailedServerGivesTheListBackOnce) {
    const HWND chooser = ShowModelessChooser();
    ASSERT_NE(nullptr, chooser);
    AbstractSource* const source = AbstractSource::Instance();
    DataArg_UserInterface* const ui = AbstractSource::GetUserInterfaceHandler();
    // The server the source came with stops answering too.
    OrvexSim_SetServerDown("default", 1);

    AddServer(chooser, "gone-server", "Copier");
    guitest::ClickButton(chooser, IDOK);
    EXPECT_EQ(2, CountErrors(IDS_SERVER_NOT_RESPONDING));
    ASSERT_EQ(1, source->GetServerList().GetSize()) << "the list the chooser found";
    EXPECT_EQ("default", source->GetServerList().GetAt(0)->ipAddress);
    EXPECT_TRUE(source->IsCloseRequestPending());
    EXPECT_EQ(nullptr, ui->GetAcquireJobsDialog());
    ASSERT_TRUE(IsWindow(chooser)) << "it waits for the source to close";
    EXPECT_TRUE(IsWindowEnabled(chooser));

    // A second failure keeps what the user chose: there is nothing to give back any more.
    source->SetCloseRequestPending(false);
    AddServer(chooser, "also-gone", "Copier");
    guitest::ClickButton(chooser, IDOK);
    EXPECT_EQ(4, CountErrors(IDS_SERVER_NOT_RESPONDING));
    ASSERT_EQ(3, source->GetServerList().GetSize());
    EXPECT_EQ("also-gone", source->GetServerList().GetSelected()->ipAddress);
    EXPECT_TRUE(source->IsCloseRequestPending());
}

// A log-in the user cancels is no failure to report: the chooser stays, usable, for another
// choice, and the source keeps the list the user chose.
TEST_F(ChooserTest, FromTheAcquireWindowACancelledLoginLeavesTheChooserOpen) {
    const HWND chooser = ShowModelessChooser();
    ASSERT_NE(nullptr, chooser);
    AbstractSource* const source = AbstractSource::Instance();
    guitest::WindowAnswerer user(IsLogin,
                                 [](HWND login) { PostMessageA(login, WM_COMMAND, IDCANCEL, 0); });
    AddServer(chooser, "login", "Copier");
    guitest::ClickButton(chooser, IDOK);
    EXPECT_EQ(1, user.Answered());
    EXPECT_TRUE(AbstractSource::GetUserInterfaceHandler()->GetUiStateFlag());
    EXPECT_TRUE(errors->Texts().empty());
    EXPECT_FALSE(source->IsConnected());
    ASSERT_EQ(2, source->GetServerList().GetSize()) << "not given back";
    EXPECT_EQ("login", source->GetServerList().GetSelected()->ipAddress);
    EXPECT_FALSE(source->IsCloseRequestPending());
    ASSERT_TRUE(IsWindow(chooser));
    EXPECT_TRUE(IsWindowEnabled(chooser));
}

TEST_F(ChooserTest, TheChooserInGermanAndFrench) {
    // The interface language comes from the "testl" preference when the source is made.
    const struct {
        const char* language;
        const char* testl;
        const wchar_t* modify;
    } languages[] = {{"de", "4", L"\u00c4ndern"}, {"fr", "3", L"Modifier"}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        RegSetKeyValueA(HKEY_CURRENT_USER, ProductKeyPath().c_str(), "testl", REG_SZ,
                        language.testl, static_cast<DWORD>(std::strlen(language.testl) + 1));
        const HWND chooser = ShowModelessChooser();
        ASSERT_NE(nullptr, chooser);
        wchar_t modify[32] = {};
        GetDlgItemTextW(chooser, IDC_CHOOSER_MODIFY, modify, 32);
        EXPECT_STREQ(language.modify, modify);
        Shoot(chooser, std::string("GuiChooserDialog.") + language.language + ".png");
        Unload();
    }
    RemoveProductKey();
    ResourceLoader::Instance()->ChooseLanguage();
}
