// The message editor and its address book over a source connected to a simulated server:
// recipients picked from the books travel into the editor and, on OK, into the preferences.

#include "DialogTestSupport.h"
#include "GuiAddressBookDialog.h"
#include "GuiAddressBookDialog_rc.h"
#include "GuiEmailEditDialog.h"
#include "GuiEmailEditDialog_rc.h"
#include "ScanPreferences.h"
#include "SendMediator.h"
#include "StringUtils.h"

namespace {

// The send dialog's mediator as far as the editor uses it: the preferences.
class PreferencesMediator : public SendMediator {
public:
    explicit PreferencesMediator(ScanPreferences* preferences)
        : SendMediator(nullptr, nullptr, preferences) {}
    void ApplyMailboxDestination() override {}
    void ApplyHoldQueueDestination() override {}
    void ApplyEmailDestination() override {}
    void ApplyFtpDestination() override {}
    void ApplyInternetFaxDestination() override {}
};

class MessageDialogTest : public DialogTest {
protected:
    // Opens the source on the server and shows the editor over a message.
    void OpenEditor(const char* server, const EmailMsg& message, int mode) {
        StoreServerList(server);
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        preferences = &AbstractSource::Instance()->GetScanPreferences();
        mediator = std::make_unique<PreferencesMediator>(preferences);
        owner = new OwnerWindow(IDD_EMAIL_EDIT);
        owner->Create();
        ShowEditor(message, mode);
    }
    // A new editor over the message, as the send dialog opens one for each edit.
    void ShowEditor(const EmailMsg& message, int mode) {
        editor = new GuiEmailEditDialog(owner, message, mode, mediator.get());
        owner->Adopt(editor);
        editor->Create();
        window = editor->GetHwnd();
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override {
        if (owner != nullptr) {
            owner->Close();
        }
        DialogTest::TearDown();
    }
    // The address book that a To... click opened.
    HWND OpenBook() {
        guitest::ClickButton(window, IDC_EDIT_TO_BUTTON);
        GuiWindowsDialog* const book = editor->GetChildDialog();
        return book != nullptr ? book->GetHwnd() : nullptr;
    }
    void Search(HWND book, const std::string& text) {
        guitest::TypeText(book, IDC_BOOK_SEARCH, text);
        guitest::ClickButton(book, IDC_BOOK_GO);
    }

    ScanPreferences* preferences = nullptr;
    std::unique_ptr<PreferencesMediator> mediator;
    OwnerWindow* owner = nullptr;
    GuiEmailEditDialog* editor = nullptr;
    HWND window = nullptr;
};

std::string Title(HWND window) {
    char title[128] = {};
    GetWindowTextA(window, title, sizeof(title));
    return title;
}

} // namespace

TEST(AddressBookEntries, AreSplitIntoNameAndBracketedAddress) {
    const struct {
        const char* entry;
        const char* name;
        const char* address;
    } cases[] = {
        {"\"Zoe Adams\" <zoe@example.com>", "Zoe Adams", "<zoe@example.com>"},
        {"\"\" <nobody@example.com>", "", "<nobody@example.com>"},
        // No " <": the whole entry is the address.
        {"Carol Nomail", "", "<Carol Nomail>"},
        {"<anonymous@example.com>", "", "<anonymous@example.com>"},
        {"", "", "<>"},
        {" <x@example.com>", "", "<x@example.com>"},
    };
    for (const auto& row : cases) {
        std::string name = "?";
        std::string address = "?";
        GuiAddressBookDialog::SplitBookEntry(row.entry, name, address);
        EXPECT_EQ(row.name, name) << row.entry;
        EXPECT_EQ(row.address, address) << row.entry;
    }
}

TEST_F(MessageDialogTest, RecipientsFromTheServersBookReachThePreferencesAsAddresses) {
    EmailMsg message;
    message.SetSubject("Scans");
    message.SetBody("first line\nsecond line");
    OpenEditor("nodirectory", message, GuiEmailEditDialog::kEmailMode);
    EXPECT_EQ("Email - Nimbrel 5", Title(window));
    EXPECT_EQ("first line\r\nsecond line", guitest::ControlText(window, IDC_EDIT_BODY))
        << "the empty line that marks a line feed is not a line of its own";

    const HWND book = OpenBook();
    ASSERT_NE(nullptr, book);
    EXPECT_FALSE(IsItemEnabled(window, IDC_EDIT_TO_BUTTON));
    EXPECT_FALSE(IsItemEnabled(window, IDC_EDIT_BCC_BUTTON));
    // A server without a directory offers its own book, read whole.
    EXPECT_EQ(1, static_cast<int>(SendDlgItemMessageA(book, IDC_BOOK_CHOICE, CB_GETCOUNT, 0, 0)));
    ASSERT_EQ(5, ListRows(book, IDC_BOOK_LIST));
    EXPECT_EQ("Bob Upper", CellText(book, IDC_BOOK_LIST, 0, 0));
    EXPECT_EQ("<bob.upper@example.com>", CellText(book, IDC_BOOK_LIST, 0, 1));
    EXPECT_EQ("", CellText(book, IDC_BOOK_LIST, 3, 0));
    EXPECT_EQ("<Carol Nomail>", CellText(book, IDC_BOOK_LIST, 3, 1));
    EXPECT_EQ("5 e-mail addresses retrieved.", guitest::ControlText(book, IDC_BOOK_STATUS));
    Shoot(book, "GuiAddressBookDialog.en.png");

    // The search is a case-sensitive prefix of the name.
    Search(book, "bob");
    ASSERT_EQ(1, ListRows(book, IDC_BOOK_LIST));
    EXPECT_EQ("bob lower", CellText(book, IDC_BOOK_LIST, 0, 0));
    EXPECT_EQ(0, SelectedRow(book, IDC_BOOK_LIST));
    guitest::ClickButton(book, IDC_BOOK_TO_BUTTON);
    guitest::ClickButton(book, IDC_BOOK_TO_BUTTON);
    EXPECT_EQ("\"bob lower\" <bob.lower@example.com>;\r\n\"bob lower\" <bob.lower@example.com>",
              guitest::ControlText(book, IDC_BOOK_TO_FIELD));
    guitest::ClickButton(book, IDC_BOOK_RESET);
    EXPECT_EQ(5, ListRows(book, IDC_BOOK_LIST));
    EXPECT_EQ("", guitest::ControlText(book, IDC_BOOK_SEARCH));
    // Typing jumps through the list without asking the server.
    guitest::TypeText(book, IDC_BOOK_SEARCH, "ALI");
    EXPECT_EQ(2, SelectedRow(book, IDC_BOOK_LIST));
    EXPECT_EQ(5, ListRows(book, IDC_BOOK_LIST));
    guitest::ClickButton(book, IDC_BOOK_CC_BUTTON);
    guitest::ClickButton(book, IDOK);

    EXPECT_EQ(nullptr, editor->GetChildDialog());
    EXPECT_TRUE(IsItemEnabled(window, IDC_EDIT_TO_BUTTON));
    EXPECT_EQ("\"bob lower\" <bob.lower@example.com>; \"bob lower\" <bob.lower@example.com>",
              guitest::ControlText(window, IDC_EDIT_TO_FIELD));
    EXPECT_EQ("\"Alice\" <alice@example.com>", guitest::ControlText(window, IDC_EDIT_CC_FIELD));
    guitest::TypeText(window, IDC_EDIT_BCC_FIELD, "boss@example.com");
    guitest::TypeText(window, IDC_EDIT_SUBJECT, "Monthly scans");
    guitest::TypeText(window, IDC_EDIT_BODY, "Hello\r\nthere");
    Shoot(window, "GuiEmailEditDialog.en.png");

    EmailMsg taken;
    owner->inspect = [&](GuiWindowsDialog* child) {
        const auto* const edit = static_cast<GuiEmailEditDialog*>(child);
        EXPECT_EQ(GuiEmailEditDialog::kEmailMode, edit->GetMode());
        taken = edit->GetMessage();
    };
    guitest::ClickButton(window, IDOK);
    ASSERT_EQ(1u, owner->requests.size());
    EXPECT_EQ(IDD_EMAIL_EDIT, owner->requests[0].dialogId);
    EXPECT_EQ(1, owner->requests[0].result);
    EXPECT_EQ(2, taken.GetToCount());
    EXPECT_EQ("bob lower", taken.GetTo(0).GetName());
    EXPECT_EQ("Monthly scans", taken.GetSubject());

    const struct {
        int list;
        std::vector<std::string> addresses;
    } lists[] = {{0, {"bob.lower@example.com", "bob.lower@example.com"}},
                 {1, {"alice@example.com"}},
                 {2, {"boss@example.com"}},
                 {3, {}}};
    for (const auto& row : lists) {
        ASSERT_EQ(static_cast<int>(row.addresses.size()), preferences->GetNumOfAddress(row.list))
            << row.list;
        for (size_t i = 0; i < row.addresses.size(); ++i) {
            EXPECT_EQ(row.addresses[i], preferences->GetAddress(row.list, static_cast<int>(i)));
        }
    }
    EXPECT_EQ("Monthly scans", preferences->GetScanMailSubject());
    ASSERT_EQ(taken.GetLineCount(), preferences->GetNumEmailBodyLines());
    EXPECT_EQ("Hello", preferences->GetScanMailBody(0));
    EXPECT_EQ("", preferences->GetScanIFaxSubject());
}

TEST_F(MessageDialogTest, TheBodyComesBackAsTypedThroughEveryOk) {
    // Blank lines, a line longer than a stored line, and a line feed at the end.
    const std::string typed = "Dear all,\r\n\r\n" + std::string(100, 'x') + "\r\nregards\r\n";
    OpenEditor("nodirectory", EmailMsg(), GuiEmailEditDialog::kEmailMode);
    guitest::TypeText(window, IDC_EDIT_BODY, typed);
    EmailMsg expected;
    expected.SetBody(CommonCpp::ReplaceAll(typed, "\r\n", "\n"));
    EmailMsg taken;
    owner->inspect = [&](GuiWindowsDialog* child) {
        taken = static_cast<GuiEmailEditDialog*>(child)->GetMessage();
    };
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        guitest::ClickButton(window, IDOK);
        ASSERT_EQ(nullptr, owner->GetChildDialog());
        EXPECT_EQ(expected.GetBody(), taken.GetBody());
        ASSERT_EQ(expected.GetLineCount(), preferences->GetNumEmailBodyLines());
        for (int32_t i = 0; i < expected.GetLineCount(); ++i) {
            EXPECT_EQ(expected.GetLine(i), preferences->GetScanMailBody(i)) << i;
        }
        ShowEditor(taken, GuiEmailEditDialog::kEmailMode);
        EXPECT_EQ(typed, guitest::ControlText(window, IDC_EDIT_BODY));
    }
}

TEST_F(MessageDialogTest, InternetFaxUsesTheFaxBookTheDirectoryAndTheFaxPreferences) {
    EmailMsg message;
    message.AddTo("\"Old\" <old@example.com>");
    OpenEditor("default", message, GuiEmailEditDialog::kInternetFaxMode);
    EXPECT_EQ("Internet Fax - Nimbrel 5", Title(window));

    HWND book = OpenBook();
    ASSERT_NE(nullptr, book);
    EXPECT_EQ("Select Names For Internet Fax - Nimbrel 5", Title(book));
    EXPECT_EQ("\"Old\" <old@example.com>", guitest::ControlText(book, IDC_BOOK_TO_FIELD));
    // A directory server offers the corporate book as well.
    ASSERT_EQ(2, static_cast<int>(SendDlgItemMessageA(book, IDC_BOOK_CHOICE, CB_GETCOUNT, 0, 0)));
    char first[64] = {};
    SendDlgItemMessageA(book, IDC_BOOK_CHOICE, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ("Fax Address Book", first);
    HDITEMA column = {};
    char title[64] = {};
    column.mask = HDI_TEXT;
    column.pszText = title;
    column.cchTextMax = sizeof(title);
    const HWND header =
        reinterpret_cast<HWND>(SendDlgItemMessageA(book, IDC_BOOK_LIST, LVM_GETHEADER, 0, 0));
    SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ("Internet Fax Address", title);
    EXPECT_EQ(2, ListRows(book, IDC_BOOK_LIST));

    // Cancel keeps the editor's fields and gives the buttons back.
    guitest::ClickButton(book, IDC_BOOK_TO_BUTTON);
    guitest::ClickButton(book, IDCANCEL);
    EXPECT_EQ(nullptr, editor->GetChildDialog());
    EXPECT_TRUE(IsItemEnabled(window, IDC_EDIT_TO_BUTTON));
    EXPECT_EQ("\"Old\" <old@example.com>", guitest::ControlText(window, IDC_EDIT_TO_FIELD));

    // The corporate book: the other hint, and the directory matches the text itself.
    book = OpenBook();
    ASSERT_NE(nullptr, book);
    const auto chooseBook = [&](int index) {
        SendDlgItemMessageA(book, IDC_BOOK_CHOICE, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(book, WM_COMMAND, MAKEWPARAM(IDC_BOOK_CHOICE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(book, IDC_BOOK_CHOICE)));
    };
    Search(book, "Robert");
    EXPECT_EQ(0, ListRows(book, IDC_BOOK_LIST)) << "no fax recipient's name begins so";
    chooseBook(1);
    EXPECT_EQ("Use 'Search' to find names or select from list. *List may not contain entire "
              "address book.",
              guitest::ControlText(book, IDC_BOOK_HINT));
    const int directoryRows = ListRows(book, IDC_BOOK_LIST);
    EXPECT_GT(directoryRows, 0);
    // The book already searched is not searched again.
    guitest::TypeText(book, IDC_BOOK_SEARCH, "zzz");
    chooseBook(1);
    EXPECT_EQ(directoryRows, ListRows(book, IDC_BOOK_LIST));
    chooseBook(0);
    EXPECT_EQ("Use 'Search' to find names or select from list.",
              guitest::ControlText(book, IDC_BOOK_HINT));
    guitest::ClickButton(book, IDC_BOOK_RESET);
    ASSERT_EQ(2, ListRows(book, IDC_BOOK_LIST));
    SelectRow(book, IDC_BOOK_LIST, 0);
    const std::string pickedName = CellText(book, IDC_BOOK_LIST, 0, 0);
    const std::string picked = CellText(book, IDC_BOOK_LIST, 0, 1);
    guitest::ClickButton(book, IDC_BOOK_BCC_BUTTON);
    guitest::ClickButton(book, IDOK);
    EXPECT_EQ("\"" + pickedName + "\" <" + picked + ">",
              guitest::ControlText(window, IDC_EDIT_BCC_FIELD));

    guitest::ClickButton(window, IDOK);
    ASSERT_EQ(1u, owner->requests.size());
    EXPECT_EQ(1, owner->requests[0].result);
    EXPECT_EQ(0, preferences->GetNumOfAddress(0)) << "the e-mail lists stay as they were";
    ASSERT_EQ(1, preferences->GetNumOfAddress(3));
    EXPECT_EQ("old@example.com", preferences->GetAddress(3, 0));
    ASSERT_EQ(1, preferences->GetNumOfAddress(5));
    EXPECT_EQ(picked, preferences->GetAddress(5, 0));
}

TEST_F(MessageDialogTest, CancelLeavesThePreferencesAlone) {
    EmailMsg message;
    OpenEditor("nodirectory", message, GuiEmailEditDialog::kEmailMode);
    guitest::TypeText(window, IDC_EDIT_TO_FIELD, "someone@example.com");
    guitest::TypeText(window, IDC_EDIT_SUBJECT, "Not sent");
    guitest::ClickButton(window, IDCANCEL);
    ASSERT_EQ(1u, owner->requests.size());
    EXPECT_EQ(2, owner->requests[0].result);
    EXPECT_EQ(0, preferences->GetNumOfAddress(0));
    EXPECT_EQ("", preferences->GetScanMailSubject());
}
