// The retrieve pane in a host window of its own over the simulated servers' stored jobs: rows
// and columns, mailbox names and numbers, the page choice, deleting with the event that ends
// it, events about other mailboxes, refresh failures and mailboxes with passwords.

#include "AcquireJobsMediator.h"
#include "AcquireJobsMediatorClient.h"
#include "GuiMultiPaneDialog.h"
#include "GuiScanRetrieveDialog.h"
#include "GuiScanRetrieveDialog_rc.h"
#include "GuiTestSupport.h"
#include "LocalDateFormats.h"
#include "OrvexSimControl.h"
#include "PoisonedWindow.h"
#include "ResourceLoader.h"
#include "RetrieveTestHost_rc.h"
#include "RetrievePaneOwnerIntf.h"
#include "ScanPreferences.h"
#include "Scanner.h"
#include "SimulatedServerSession.h"
#include "StringTable_rc.h"
#include "TabCtrl.h"
#include "XGPreferences.h"
#include "zylImageFile.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string KeyPath() {
    return CommonCpp::XGPreferences::KeyPath("Halcyra", "Nimbrel", "5");
}

void RemoveProductKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath().c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath().c_str());
}

// A pane whose questions and error messages the test answers and reads. A question dispatches
// what waits, as the question box's loop would.
class TestPane : public GuiScanRetrieveDialog {
public:
    using GuiScanRetrieveDialog::GuiScanRetrieveDialog;

    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        guitest::PumpPending();
        return answerYes;
    }
    void ReportDeleteFailure(int resultCode) override { failures.push_back(resultCode); }
    bool ArePagesHandedOver() override { return pagesOut; }

    bool answerYes = false;
    bool pagesOut = false;
    std::vector<std::string> questions;
    std::vector<int> failures;
};

// Once deleted, its memory faults at any use.
using PoisonedPane = Poisoned<TestPane>;

// Hosts the pane as its first tab, as the acquire window does, and records what the pane tells
// its host.
class TestHost : public GuiMultiPaneDialog,
                 public RetrievePaneOwnerIntf,
                 public AcquireJobsMediatorClient {
public:
    TestHost(SimulatedServerSession& session, ScanPreferences& preferences)
        : GuiMultiPaneDialog(IDD_RETRIEVE_TEST_HOST, IDC_RETRIEVE_TEST_FRAME, nullptr),
          m_mediator(session.Wrapper(), &preferences, session.GetScanner(), this) {}

    bool OnInitDialog() override {
        GuiWindowsDialog::OnInitDialog();
        m_tabs.SetHandle(GetItem(IDC_RETRIEVE_TEST_FRAME));
        pane =
            new PoisonedPane(this, nullptr, m_mediator.GetPreferences(), m_mediator.GetScanner());
        AddPane(pane);
        m_tabs.AddTab(LoadString(IDS_TAB_RETRIEVE));
        return GuiMultiPaneDialog::OnInitDialog();
    }

    void SetStateValue(int paneIndex) override { stateValues.push_back(paneIndex); }
    void DisableSend() override { sendEnabled = false; }
    void EnableSend() override { sendEnabled = true; }
    void OpenChangeMailboxDialog() override { ++mailboxDialogs; }
    void OnJobReady(zylImageFile*) override {}

    TestPane* pane = nullptr;
    bool sendEnabled = false;
    int mailboxDialogs = 0;
    std::vector<int> stateValues;

private:
    AcquireJobsMediator m_mediator;
    TabCtrl m_tabs;
};

class RetrievePaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        OrvexSim_Reset();
        m_store = std::make_unique<CommonCpp::XGPreferences>(
            "Halcyra", "Nimbrel", "5", CommonCpp::XGPreferences::ScopeCurrentUser);
        m_preferences.SetStore(m_store.get());
        m_savedLanguage = ResourceLoader::Instance()->GetLanguageIndex();
        ResourceLoader::Instance()->SetLanguageIndex(0);
    }
    void TearDown() override {
        CloseHost();
        PoisonedPane::FreeGraveyard();
        m_session.reset();
        ResourceLoader::Instance()->SetLanguageIndex(m_savedLanguage);
        OrvexSim_Reset();
        m_preferences.SetStore(nullptr);
        m_store.reset();
        RemoveProductKey();
        if (!m_fixtureRoot.empty()) {
            std::error_code ignored;
            fs::remove_all(m_fixtureRoot, ignored);
        }
    }

    void CloseHost() {
        if (m_host != nullptr) {
            m_host->Close();
            m_host = nullptr;
        }
    }

    // The host open on a server with "currentmailbox" stored beforehand; the log starts empty
    // after the pane's first listing.
    TestHost& Open(const std::string& server, const std::string& storedMailbox) {
        CloseHost();
        m_session.reset();
        m_preferences.SetCurrentMailbox(storedMailbox);
        m_session = std::make_unique<SimulatedServerSession>(server);
        EXPECT_TRUE(m_session->GetScanner()->IsConnected()) << server;
        m_host = new TestHost(*m_session, m_preferences);
        m_host->Create();
        EXPECT_NE(nullptr, m_host->pane->GetHwnd());
        return *m_host;
    }

    // A copy of the server "mailboxes" whose mailboxes have no passwords (names are numbers),
    // with job 204 at 300 x 600 dpi and an empty FILESIZE. Answers the copy's folder.
    fs::path UseNumberedMailboxServer() {
        char root[MAX_PATH] = {};
        OrvexSim_GetFixtureRoot(root, sizeof(root));
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof(temp), temp);
        m_fixtureRoot = fs::path(temp) / "nimbrel-retrieve-servers";
        fs::remove_all(m_fixtureRoot);
        const fs::path server = m_fixtureRoot / "numbers";
        fs::create_directories(server);
        fs::copy(fs::path(root) / "mailboxes", server, fs::copy_options::recursive);
        fs::remove(server / "mailboxes.txt");
        Rewrite(server / "attributes.txt", "E_MBOX_PASSWORD = YES", "E_MBOX_PASSWORD = NO");
        Rewrite(server / "jobs" / "204" / "job.txt", "RESOLUTION = 150",
                "X_RESOLUTION = 300\nY_RESOLUTION = 600\nFILESIZE =");
        OrvexSim_SetFixtureRoot(m_fixtureRoot.string().c_str());
        return server;
    }

    static void Rewrite(const fs::path& file, const std::string& from, const std::string& to) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        in.close();
        std::string content = text.str();
        const size_t at = content.find(from);
        ASSERT_NE(std::string::npos, at) << file.string();
        content.replace(at, from.size(), to);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    }

    TestPane& Pane() { return *m_host->pane; }
    HWND Item(int id) { return GetDlgItem(Pane().GetHwnd(), id); }
    std::string Text(int id) { return Pane().GetItemText(id); }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) { return Pane().IsItemChecked(id); }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const std::string& text) { SetWindowTextA(Item(id), text.c_str()); }

    std::vector<int32_t> RowJobIds() {
        std::vector<int32_t> ids;
        ListCtrl& list = Pane().GetJobList();
        for (int row = 0; row < list.GetItemCount(); ++row) {
            ids.push_back(static_cast<int32_t>(list.GetItem(row)));
        }
        return ids;
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        ListCtrl& list = Pane().GetJobList();
        for (int row = 0; row < list.GetItemCount(); ++row) {
            texts.push_back(list.GetItemText(row, column));
        }
        return texts;
    }
    std::string StoredMailbox() { return m_preferences.GetCurrentMailbox(); }
    Scanner& TheScanner() { return *m_session->GetScanner(); }
    SimulatedServerSession& Session() { return *m_session; }

private:
    std::unique_ptr<CommonCpp::XGPreferences> m_store;
    ScanPreferences m_preferences;
    std::unique_ptr<SimulatedServerSession> m_session;
    TestHost* m_host = nullptr;
    fs::path m_fixtureRoot;
    int m_savedLanguage = 0;
};

std::string HeaderText(HWND list, int column) {
    char text[64] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&info));
    return text;
}

} // namespace

TEST_F(RetrievePaneTest, TheStoredMailboxIsListedNewestFirstWithItsColumns) {
    TestHost& host = Open("localhost", "007");
    // Text mailbox names without passwords: the name field, typed into directly.
    EXPECT_TRUE(IsWindowVisible(Item(IDC_RETRIEVE_MAILBOX_NAME)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_RETRIEVE_MAILBOX_NUMBER)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_RETRIEVE_CHANGE_MAILBOX)));
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_MAILBOX_NAME));
    EXPECT_EQ("007", Text(IDC_RETRIEVE_MAILBOX_NAME));
    EXPECT_EQ("007", Pane().GetMailboxName());

    const std::vector<std::string> titles = {"Jobs", "Pages",      "Date",
                                             "Time", "Resolution", "File Size"};
    for (size_t column = 0; column < titles.size(); ++column) {
        EXPECT_EQ(titles[column],
                  HeaderText(Item(IDC_RETRIEVE_JOB_LIST), static_cast<int>(column)));
    }
    EXPECT_EQ((std::vector<int32_t>{104, 102}), RowJobIds()) << "the directory's last job on top";
    EXPECT_EQ((std::vector<std::string>{"Colour photo", "Grey memo"}), Column(0));
    EXPECT_EQ((std::vector<std::string>{"1", "1"}), Column(1));
    // (X + Y + 1) / 2, truncated: 100 and 100 give 100, 150 and 150 give 150.
    EXPECT_EQ((std::vector<std::string>{"100", "150"}), Column(4));
    const CommonTwain::TwainDateFormats formats = LocalDateFormats();
    for (int row = 0; row < 2; ++row) {
        zylImageFile* const job = TheScanner().FindImageFileByJobID(RowJobIds()[row]);
        ASSERT_NE(nullptr, job);
        EXPECT_EQ(job->GetModifiedTime().FormatLocalDate(formats), Column(2)[row]);
        EXPECT_EQ(job->GetModifiedTime().FormatLocalTime(formats), Column(3)[row]);
        EXPECT_EQ(job->GetFileSize(), Column(5)[row]);
    }

    EXPECT_EQ(0, Pane().GetJobList().GetSelectedItem());
    EXPECT_EQ(104, Pane().GetSelectedJobId());
    ASSERT_NE(nullptr, TheScanner().GetCurrentImageFile());
    EXPECT_EQ(104u, TheScanner().GetCurrentImageFile()->GetJobID());
    EXPECT_TRUE(host.sendEnabled);
    ASSERT_FALSE(host.stateValues.empty());
    EXPECT_EQ(0, host.stateValues.back());
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_DELETE_JOB));
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_REFRESH_JOBS));

    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(host.GetHwnd(), "GuiScanRetrieveDialog.en.png", &error))
        << error;
}

TEST_F(RetrievePaneTest, MailboxNumbersAreNormalisedLimitedAndAStoredNonNumberIsDropped) {
    UseNumberedMailboxServer();
    Open("numbers", "abc");
    EXPECT_TRUE(IsWindowVisible(Item(IDC_RETRIEVE_MAILBOX_NUMBER)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_RETRIEVE_MAILBOX_NAME)));
    EXPECT_EQ("", Text(IDC_RETRIEVE_MAILBOX_NUMBER));
    EXPECT_EQ("", StoredMailbox()) << "stored back empty";
    EXPECT_TRUE(RowJobIds().empty());

    struct Case {
        const char* id;
        const char* number;
        const char* idAfter;
    };
    const Case cases[] = {
        {"0042", "42", "0042"}, {"7", "7", "7"}, {"0", "0", "0"},
        {"12345", "", ""},      {"abc", "", ""}, {"", "", ""},
    };
    for (const Case& c : cases) {
        std::string id = c.id;
        EXPECT_EQ(c.number, Pane().NormalizeMailboxId(id)) << c.id;
        EXPECT_EQ(c.idAfter, id) << c.id;
    }

    // Typing "0042" opens mailbox 42; a job of 300 x 600 dpi shows 450, an empty FILESIZE an
    // empty cell.
    Type(IDC_RETRIEVE_MAILBOX_NUMBER, "0042");
    EXPECT_EQ("0042", StoredMailbox());
    EXPECT_EQ((std::vector<int32_t>{204}), RowJobIds());
    EXPECT_EQ((std::vector<std::string>{"450"}), Column(4));
    EXPECT_EQ((std::vector<std::string>{""}), Column(5));

    // At most four digits can be typed; letters are refused.
    Type(IDC_RETRIEVE_MAILBOX_NUMBER, "");
    for (const char c : std::string("1x2345")) {
        SendMessageA(Item(IDC_RETRIEVE_MAILBOX_NUMBER), WM_CHAR, static_cast<WPARAM>(c), 0);
    }
    EXPECT_EQ("1234", Text(IDC_RETRIEVE_MAILBOX_NUMBER));
}

TEST_F(RetrievePaneTest, MailboxNamesRefuseFileNameCharactersAndTakeThirtyOne) {
    Open("localhost", "");
    const HWND edit = Item(IDC_RETRIEVE_MAILBOX_NAME);
    for (const char c : std::string("a/b")) {
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    }
    EXPECT_EQ("ab", Text(IDC_RETRIEVE_MAILBOX_NAME));
    Type(IDC_RETRIEVE_MAILBOX_NAME, "");
    for (int i = 0; i < 40; ++i) {
        SendMessageA(edit, WM_CHAR, 'm', 0);
    }
    EXPECT_EQ(std::string(31, 'm'), Text(IDC_RETRIEVE_MAILBOX_NAME));
}

TEST_F(RetrievePaneTest, OnePageOfAJobIsChosenAndCorrectedToItsRange) {
    TestHost& host = Open("localhost", "7");
    ASSERT_EQ((std::vector<int32_t>{103}), RowJobIds()); // three pages
    EXPECT_TRUE(Checked(IDC_RETRIEVE_ALL_PAGES));
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_ONE_PAGE));
    EXPECT_FALSE(Enabled(IDC_RETRIEVE_PAGE_NUMBER));
    EXPECT_EQ(-1, Pane().GetSelectedPage());

    Click(IDC_RETRIEVE_ONE_PAGE);
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_PAGE_NUMBER));
    EXPECT_FALSE(host.sendEnabled) << "no page typed yet";

    struct Case {
        const char* typed;
        const char* shown;
        int32_t page;
    };
    const Case cases[] = {{"0", "1", 1}, {"99", "3", 3}, {"2", "2", 2}};
    for (const Case& c : cases) {
        Type(IDC_RETRIEVE_PAGE_NUMBER, c.typed);
        EXPECT_EQ(c.shown, Text(IDC_RETRIEVE_PAGE_NUMBER)) << c.typed;
        EXPECT_TRUE(host.sendEnabled) << c.typed;
        EXPECT_EQ(c.page, Pane().GetSelectedPage()) << c.typed;
    }
    Type(IDC_RETRIEVE_PAGE_NUMBER, "99");
    DWORD start = 99;
    DWORD end = 0;
    SendMessageA(Item(IDC_RETRIEVE_PAGE_NUMBER), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(1u, end) << "the correction is selected whole";
    Type(IDC_RETRIEVE_PAGE_NUMBER, "");
    EXPECT_FALSE(host.sendEnabled);

    Pane().RememberSelectedJob();
    Type(IDC_RETRIEVE_PAGE_NUMBER, "2");
    Pane().RememberSelectedJob();
    zylImageFile* const job = Pane().GetRememberedImageFile();
    ASSERT_NE(nullptr, job);
    EXPECT_EQ(103u, job->GetJobID());
    EXPECT_EQ(2, job->GetStartPage());

    Click(IDC_RETRIEVE_ALL_PAGES);
    EXPECT_EQ("", Text(IDC_RETRIEVE_PAGE_NUMBER));
    EXPECT_FALSE(Enabled(IDC_RETRIEVE_PAGE_NUMBER));
    EXPECT_EQ(-1, Pane().GetSelectedPage());
    EXPECT_EQ(-1, job->GetStartPage());
    EXPECT_EQ(0xFFFF, job->GetXferCount());
    EXPECT_TRUE(host.sendEnabled);

    // A mailbox of one-page jobs: "Page" is off and "All" forced; remembering sets page 1.
    Type(IDC_RETRIEVE_MAILBOX_NAME, "007");
    EXPECT_EQ("007", StoredMailbox());
    ASSERT_EQ((std::vector<int32_t>{104, 102}), RowJobIds());
    EXPECT_FALSE(Enabled(IDC_RETRIEVE_ONE_PAGE));
    EXPECT_FALSE(Checked(IDC_RETRIEVE_ONE_PAGE));
    EXPECT_TRUE(Checked(IDC_RETRIEVE_ALL_PAGES));
    Pane().RememberSelectedJob();
    ASSERT_NE(nullptr, Pane().GetRememberedImageFile());
    EXPECT_EQ(104u, Pane().GetRememberedImageFile()->GetJobID());
    EXPECT_EQ(1, Pane().GetRememberedImageFile()->GetStartPage());
}

TEST_F(RetrievePaneTest, ADeletionWaitsForTheEventThatReportsTheJobGone) {
    TestHost& host = Open("localhost", "007");
    ASSERT_EQ((std::vector<int32_t>{104, 102}), RowJobIds());
    ListCtrl& list = Pane().GetJobList();

    // The Delete key without a selection asks nothing.
    list.SelectItem(-1, false);
    SendMessageA(Item(IDC_RETRIEVE_JOB_LIST), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_TRUE(Pane().questions.empty());

    list.SelectItem(1, false);
    EXPECT_EQ(102, Pane().GetSelectedJobId());
    OrvexSim_ClearLog();
    Pane().answerYes = false;
    SendMessageA(Item(IDC_RETRIEVE_JOB_LIST), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(1u, Pane().questions.size());
    EXPECT_EQ("You are about to delete image Grey memo in mailbox 007. Do you want to continue?",
              Pane().questions[0]);
    EXPECT_TRUE(LogLinesOf("SCAN_deleteJob").empty()) << "No deletes nothing";
    EXPECT_TRUE(list.IsEnabled());

    Pane().answerYes = true;
    Click(IDC_RETRIEVE_DELETE_JOB);
    ASSERT_EQ(1u, LogLinesOf("SCAN_deleteJob").size());
    EXPECT_EQ(102, Pane().GetPendingDeletion());
    EXPECT_FALSE(list.IsEnabled());
    EXPECT_FALSE(Enabled(IDC_RETRIEVE_DELETE_JOB));
    EXPECT_FALSE(host.sendEnabled);

    // A finished job of another mailbox changes nothing, not even the server's list.
    const ScanEventRecord otherMailbox = {0, 103, 0};
    Pane().OnScanEvent(&otherMailbox);
    EXPECT_TRUE(LogLinesOf("SCAN_getJobList").empty());
    EXPECT_FALSE(list.IsEnabled());
    // A job gone that is not the one deleted reloads but keeps waiting.
    const ScanEventRecord otherJob = {1, 999, 0};
    Pane().OnScanEvent(&otherJob);
    EXPECT_FALSE(list.IsEnabled());
    EXPECT_EQ(102, Pane().GetPendingDeletion());

    const ScanEventRecord gone = {1, 102, 0};
    Pane().OnScanEvent(&gone);
    EXPECT_TRUE(list.IsEnabled());
    EXPECT_EQ(-1, Pane().GetPendingDeletion());
    EXPECT_EQ((std::vector<int32_t>{104}), RowJobIds());
    EXPECT_EQ(0, list.GetSelectedItem()) << "the deleted row was the last: the new last row";
    EXPECT_TRUE(host.sendEnabled);
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_DELETE_JOB));
}

TEST_F(RetrievePaneTest, AJobGoneWithoutADeletionPendingKeepsTheSelection) {
    TestHost& host = Open("localhost", "007");
    Pane().GetJobList().SelectItem(1, false);
    // The server reports a job gone without naming it (-1): a reload, not a deletion's end.
    const ScanEventRecord gone = {1, -1, 0};
    Pane().OnScanEvent(&gone);
    EXPECT_EQ(-1, Pane().GetPendingDeletion());
    EXPECT_EQ(1, Pane().GetJobList().GetSelectedItem());
    EXPECT_EQ(102, Pane().GetSelectedJobId());
    EXPECT_TRUE(host.sendEnabled);
}

TEST_F(RetrievePaneTest, TheDeleteQuestionTakesTheJobsNameAsItIs) {
    const fs::path server = UseNumberedMailboxServer();
    Rewrite(server / "jobs" / "204" / "job.txt", "entry.name = Grey in 42",
            "entry.name = Draft ^2 of ^1");
    Open("numbers", "0042");
    ASSERT_EQ((std::vector<int32_t>{204}), RowJobIds());
    Click(IDC_RETRIEVE_DELETE_JOB);
    ASSERT_EQ(1u, Pane().questions.size());
    EXPECT_EQ("You are about to delete image Draft ^2 of ^1 in mailbox 0042. Do you want to "
              "continue?",
              Pane().questions[0]);
}

TEST_F(RetrievePaneTest, ARefusedDeletionBringsTheListBackAndReportsTheServersError) {
    TestHost& host = Open("localhost", "007");
    Pane().GetJobList().SelectItem(1, false);
    Pane().answerYes = true;
    OrvexSim_FailNext("SCAN_deleteJob", -2);
    Click(IDC_RETRIEVE_DELETE_JOB);
    EXPECT_EQ((std::vector<int>{-2}), Pane().failures);
    EXPECT_EQ(-1, Pane().GetPendingDeletion());
    EXPECT_TRUE(Pane().GetJobList().IsEnabled());
    EXPECT_EQ(1, Pane().GetJobList().GetSelectedItem());
    EXPECT_EQ((std::vector<int32_t>{104, 102}), RowJobIds());
    EXPECT_TRUE(host.sendEnabled);
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_DELETE_JOB));
}

TEST_F(RetrievePaneTest, RefreshShowsNothingOnAFailureAndIsEnabledAgainAfterEveryReload) {
    Open("localhost", "007");
    // A finished job of the shown mailbox, or of none (-1), reloads.
    for (const int32_t jobId : {104, -1}) {
        OrvexSim_ClearLog();
        const ScanEventRecord finished = {0, jobId, 0};
        Pane().OnScanEvent(&finished);
        EXPECT_FALSE(LogLinesOf("SCAN_getJobList").empty()) << jobId;
        EXPECT_TRUE(Enabled(IDC_RETRIEVE_REFRESH_JOBS)) << jobId;
    }

    // While pages of a transfer are out the list is not reloaded: a finished job leaves it.
    Pane().pagesOut = true;
    OrvexSim_ClearLog();
    const ScanEventRecord finished = {0, -1, 0};
    Pane().OnScanEvent(&finished);
    EXPECT_TRUE(LogLinesOf("SCAN_getJobList").empty());
    EXPECT_EQ((std::vector<int32_t>{104, 102}), RowJobIds());
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_REFRESH_JOBS));
    Pane().pagesOut = false;
    Type(IDC_RETRIEVE_MAILBOX_NAME, "7");
    Click(IDC_RETRIEVE_REFRESH_JOBS);
    EXPECT_EQ((std::vector<int32_t>{103}), RowJobIds());

    // A server that goes down makes the reload throw: caught, nothing shown.
    OrvexSim_SetServerDown("default", 1);
    Click(IDC_RETRIEVE_REFRESH_JOBS);
    EXPECT_TRUE(Enabled(IDC_RETRIEVE_REFRESH_JOBS)) << "after the exception too";
    EXPECT_NE(nullptr, Pane().GetHwnd());
}

// The host may be closed from any message that a loop run by the pane dispatches (a server
// call's wait window, the delete question): the pane goes with it, and touches nothing after.
TEST_F(RetrievePaneTest, APaneClosedInsideItsOwnLoopIsNotTouchedAgain) {
    struct Case {
        const char* name;
        const char* server;
        // The wait window whose loop closes the host, counted from 1; 0: none of them.
        int closingWait;
        std::function<void(TestPane&)> act;
    };
    const std::vector<Case> cases = {
        {"Refresh", "localhost", 1, [this](TestPane&) { Click(IDC_RETRIEVE_REFRESH_JOBS); }},
        {"a job gone", "localhost", 1,
         [](TestPane& pane) {
             const ScanEventRecord gone = {1, 102, 0};
             pane.OnScanEvent(&gone);
         }},
        {"a mailbox opened with its password", "mailboxes", 1,
         [](TestPane& pane) { pane.ChangeMailbox("007", "1234"); }},
        {"a refused password's second look", "mailboxes", 2,
         [](TestPane& pane) { pane.ChangeMailbox("007", "wrong"); }},
        {"a mailbox typed after a failed reload", "localhost", 3,
         [this](TestPane&) {
             OrvexSim_FailNext("SCAN_getJobList", QUORVEL_GENERAL_FAILURE);
             OrvexSim_FailNext("SCAN_getJobList", QUORVEL_GENERAL_FAILURE);
             Click(IDC_RETRIEVE_REFRESH_JOBS);
             Type(IDC_RETRIEVE_MAILBOX_NAME, "7");
         }},
        // Job 102 went from the server and the scanner's tree (a first wait), not from the
        // list: finding it when it is selected reloads (the second).
        {"a selected job the scanner no longer holds", "localhost", 2,
         [this](TestPane&) {
             ASSERT_EQ(QUORVEL_OK, TheScanner().DeleteJob(102));
             OrvexSim_ClearLog();
             ASSERT_TRUE(TheScanner().RefreshJobsInMailbox("007", ""));
             // As a click on the row: the list tells the pane.
             LVITEMA row = {};
             row.stateMask = LVIS_SELECTED;
             row.state = LVIS_SELECTED;
             SendMessageA(Item(IDC_RETRIEVE_JOB_LIST), LVM_SETITEMSTATE, 1,
                          reinterpret_cast<LPARAM>(&row));
         }},
        {"the delete question", "localhost", 0,
         [this](TestPane& pane) {
             pane.answerYes = true;
             Click(IDC_RETRIEVE_DELETE_JOB);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.server, "007");
        guitest::PostedCall host;
        host.Post([this] { CloseHost(); });
        int waits = 0;
        Session().SetWaitAction([&waits, &c] {
            if (++waits == c.closingWait) {
                guitest::PumpPending();
            }
        });
        OrvexSim_ClearLog();
        c.act(Pane());
        EXPECT_EQ(1, host.Runs()) << "closed inside the pane's loop";
        EXPECT_EQ(c.closingWait, waits) << "no server call after the close";
        EXPECT_TRUE(LogLinesOf("SCAN_deleteJob").empty()) << "nothing deleted after the close";
    }
}

TEST_F(RetrievePaneTest, MailboxesWithPasswordsOpenOnlyThroughTheMailboxDialog) {
    TestHost& host = Open("mailboxes", "007");
    EXPECT_TRUE(IsWindowVisible(Item(IDC_RETRIEVE_CHANGE_MAILBOX)));
    EXPECT_FALSE(Enabled(IDC_RETRIEVE_MAILBOX_NUMBER));
    EXPECT_EQ("", Text(IDC_RETRIEVE_MAILBOX_NUMBER)) << "no mailbox at start";
    EXPECT_TRUE(RowJobIds().empty());
    EXPECT_FALSE(host.sendEnabled);

    Click(IDC_RETRIEVE_CHANGE_MAILBOX);
    EXPECT_EQ(1, host.mailboxDialogs);

    EXPECT_TRUE(Pane().ChangeMailbox("007", "1234"));
    EXPECT_EQ((std::vector<int32_t>{202, 201}), RowJobIds()) << "007 and 7 are one mailbox";
    EXPECT_EQ("007", Text(IDC_RETRIEVE_MAILBOX_NUMBER));
    EXPECT_EQ("007", StoredMailbox());
    EXPECT_TRUE(host.sendEnabled);

    EXPECT_FALSE(Pane().ChangeMailbox("007", "wrong"));
    EXPECT_EQ("", Pane().GetMailboxName());
    EXPECT_EQ("", Text(IDC_RETRIEVE_MAILBOX_NUMBER));
    EXPECT_EQ("", StoredMailbox());
    EXPECT_TRUE(RowJobIds().empty());
    EXPECT_FALSE(host.sendEnabled);
    EXPECT_EQ(nullptr, Pane().GetSelectedImageFile());
    EXPECT_EQ(0, Pane().GetSelectedJobId());
}

// While pages of a transfer are out no mailbox is opened: the server is not asked, so neither
// another mailbox's name over the rows shown nor an unchecked password may pass for open.
TEST_F(RetrievePaneTest, NoMailboxOpensWhilePagesOfATransferAreOut) {
    struct Case {
        const char* name;
        const char* password;
    };
    for (const Case& c : {Case{"42", ""}, Case{"007", "wrong"}}) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.password);
        TestHost& host = Open("mailboxes", "");
        ASSERT_TRUE(Pane().ChangeMailbox("007", "1234"));
        ASSERT_EQ((std::vector<int32_t>{202, 201}), RowJobIds());
        Pane().pagesOut = true;
        OrvexSim_ClearLog();
        EXPECT_FALSE(Pane().ChangeMailbox(c.name, c.password));
        EXPECT_TRUE(LogLinesOf("SCAN_getJobListInMailbox").empty());
        EXPECT_EQ("", Pane().GetMailboxName());
        EXPECT_EQ("", Text(IDC_RETRIEVE_MAILBOX_NUMBER));
        EXPECT_EQ("", StoredMailbox());
        EXPECT_TRUE(RowJobIds().empty());
        EXPECT_FALSE(host.sendEnabled);
        EXPECT_TRUE(Enabled(IDC_RETRIEVE_REFRESH_JOBS));
        // Once they are handed over the mailbox opens.
        Pane().pagesOut = false;
        EXPECT_TRUE(Pane().ChangeMailbox("42", ""));
        EXPECT_EQ((std::vector<int32_t>{204}), RowJobIds());
    }
}

TEST_F(RetrievePaneTest, GermanPicture) {
    const int german = 4;
    ResourceLoader::Instance()->SetLanguageIndex(german);
    TestHost& host = Open("localhost", "007");
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(host.GetHwnd(), "GuiScanRetrieveDialog.de.png", &error))
        << error;
}
