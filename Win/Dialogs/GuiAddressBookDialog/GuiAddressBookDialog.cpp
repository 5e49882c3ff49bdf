#include "GuiAddressBookDialog.h"

#include "AbstractSource.h"
#include "AddressBook.h"
#include "AddressBookEx.h"
#include "GuiAddressBookDialog_rc.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "StringTable_rc.h"
#include "StringUtils.h"
#include "WaitCursorWrapper.h"

#include <commctrl.h>

namespace {

const char* const kListSeparator = "; ";
const char* const kFieldSeparator = ";\r\n";
constexpr DWORD kListExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE;

using CommonCpp::ReplaceAll;
using CommonCpp::Trim;

bool BeginsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A message list as a recipient field shows it: one recipient per line.
std::string ToField(const std::string& list) {
    return ReplaceAll(Trim(list), kListSeparator, kFieldSeparator);
}

std::string FromField(const std::string& field) {
    return ReplaceAll(Trim(field), kFieldSeparator, kListSeparator);
}

} // namespace

GuiAddressBookDialog::GuiAddressBookDialog(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                                           const EmailMsg& message, int32_t mode)
    : GuiWindowsDialog(IDD_ADDRESS_BOOK, owner, nullptr), m_message(message), m_wrapper(wrapper),
      m_mode(mode) {}

GuiAddressBookDialog::~GuiAddressBookDialog() = default;

void GuiAddressBookDialog::SplitBookEntry(const std::string& entry, std::string& name,
                                          std::string& address) {
    const size_t split = entry.find(" <");
    if (split == std::string::npos) {
        name.clear();
        const bool bracketed = !entry.empty() && entry.front() == '<' && entry.back() == '>';
        address = bracketed ? entry : "<" + entry + ">";
        return;
    }
    // '"name" <address>': the name between the quotation marks.
    name = split >= 2 ? entry.substr(1, split - 2) : std::string();
    address = entry.substr(split + 1);
}

void GuiAddressBookDialog::Close() {
    m_books.Clear();
    m_searchField.Detach();
    GuiWindowsDialog::Close();
}

bool GuiAddressBookDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    if (m_mode == 2) {
        SetTitle(LoadString(IDS_SELECT_FAX_NAMES_CAPTION));
    }
    m_books.Attach(GetItem(IDC_BOOK_CHOICE));
    m_searchField.SetHandle(GetItem(IDC_BOOK_SEARCH));
    m_searchField.Attach(EditCtrl::kSingleLine);
    InitControls();
    SetItemText(IDC_BOOK_TO_FIELD, ToField(m_message.GetToString()));
    SetItemText(IDC_BOOK_CC_FIELD, ToField(m_message.GetCcString()));
    SetItemText(IDC_BOOK_BCC_FIELD, ToField(m_message.GetBccString()));
    Search();
    return true;
}

void GuiAddressBookDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    switch (controlId) {
    case IDOK:
        if (notifyCode == BN_CLICKED) {
            BuildResultLists();
        }
        return;
    case IDCANCEL:
        if (notifyCode == BN_CLICKED) {
            EndDialog(2);
        }
        return;
    case IDC_BOOK_SEARCH:
        if (notifyCode == EN_CHANGE) {
            OnSearchTextChanged();
        }
        return;
    case IDC_BOOK_CHOICE:
        if (notifyCode == CBN_SELCHANGE) {
            OnBookChanged();
        }
        return;
    case IDC_BOOK_TO_BUTTON:
    case IDC_BOOK_CC_BUTTON:
    case IDC_BOOK_BCC_BUTTON:
        if (notifyCode == BN_CLICKED) {
            if (controlId == IDC_BOOK_TO_BUTTON) {
                OnToButton();
            } else if (controlId == IDC_BOOK_CC_BUTTON) {
                OnCcButton();
            } else {
                OnBccButton();
            }
        }
        return;
    case IDC_BOOK_LIST:
        OnListCommand(notifyCode);
        return;
    case IDC_BOOK_GO:
        if (notifyCode == BN_CLICKED) {
            StartSearch();
        }
        return;
    case IDC_BOOK_RESET:
        if (notifyCode == BN_CLICKED) {
            ResetSearch();
        }
        return;
    case IDC_BOOK_TO_FIELD:
    case IDC_BOOK_CC_FIELD:
    case IDC_BOOK_BCC_FIELD:
        return;
    default:
        GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
    }
}

void GuiAddressBookDialog::PaintBanner(HDC) {}

void GuiAddressBookDialog::OnListCommand(int) {}

void GuiAddressBookDialog::InitControls() {
    SetupListColumns();
    FillBookChoices();
}

void GuiAddressBookDialog::FillBookChoices() {
    m_books.ResetContent();
    const int first =
        m_books.AddString(LoadString(m_mode == 2 ? IDS_FAX_ADDRESS_BOOK : IDS_ORVEX_ADDRESS_BOOK));
    m_books.SetItemData(first, kServerBook);
    if (IsDirectoryServer()) {
        const int directory = m_books.AddString(LoadString(IDS_CORPORATE_ADDRESS_BOOK));
        m_books.SetItemData(directory, kDirectory);
    }
    m_books.SetCurSel(0);
    m_books.FitDropDownHeight(m_books.GetCount());
}

void GuiAddressBookDialog::SetupListColumns() {
    m_list.SetHandle(GetItem(IDC_BOOK_LIST));
    m_list.SetExtendedStyle(kListExtendedStyle);
    m_list.InsertColumn(0, LoadString(IDS_ADDRESS_NAME), 100, LVCFMT_LEFT);
    m_list.InsertColumn(1, LoadString(m_mode == 2 ? IDS_INTERNET_FAX_ADDRESS : IDS_EMAIL_ADDRESS),
                        151, LVCFMT_LEFT);
}

void GuiAddressBookDialog::AppendRow(const std::string& name, const std::string& address) {
    const int row = m_list.InsertItem(m_list.GetItemCount(), name);
    m_list.SetItemText(row, 1, address);
}

void GuiAddressBookDialog::Search() {
    m_books.Enable(false);
    WaitCursorWrapper waitCursor(IDC_WAIT);
    SetItemText(IDC_BOOK_STATUS, LoadString(IDS_DOWNLOADING_ADDRESSES));
    m_list.DeleteAllItems();
    int appended = 0;
    if (!IsDirectoryServer()) {
        AddressBook book(m_wrapper,
                         m_mode == 2 ? AddressBook::FaxAddresses : AddressBook::EmailAddresses);
        const int32_t count = book.GetCount();
        for (int32_t i = 0; i < count; ++i) {
            std::string name;
            std::string address;
            SplitBookEntry(book.GetEntry(i), name, address);
            if (!m_searchText.empty() && !BeginsWith(name, m_searchText)) {
                continue;
            }
            AppendRow(name, address);
            ++appended;
        }
    } else {
        const int selected = m_books.GetCurSel();
        m_lastBook = selected;
        if (selected >= 0) {
            const auto kind = static_cast<int32_t>(m_books.GetItemData(selected));
            AddressBookEx book(m_wrapper, kind, &waitCursor, m_mode, m_searchText);
            for (int32_t i = 0; i < book.GetCount(); ++i) {
                EmailAddress entry;
                if (!book.GetAt(i, entry)) {
                    continue;
                }
                // The directory matched the text itself.
                if (kind == kServerBook && !m_searchText.empty() &&
                    !BeginsWith(entry.GetName(), m_searchText)) {
                    continue;
                }
                AppendRow(entry.GetName(), entry.GetAddress());
                ++appended;
            }
        }
    }
    std::string status = LoadString(IDS_ADDRESSES_RETRIEVED);
    status = ReplaceAll(status, "%d", std::to_string(appended));
    SetItemText(IDC_BOOK_STATUS, status);
    OnSearchTextChanged();
    if (m_list.GetSelectedItem() < 0) {
        m_list.SelectItem(0, false);
    }
    m_books.Enable(true);
}

void GuiAddressBookDialog::BuildResultLists() {
    m_message.SetToFromString(FromField(GetItemText(IDC_BOOK_TO_FIELD)));
    m_message.SetCcFromString(FromField(GetItemText(IDC_BOOK_CC_FIELD)));
    m_message.SetBccFromString(FromField(GetItemText(IDC_BOOK_BCC_FIELD)));
    EndDialog(1);
}

void GuiAddressBookDialog::MoveSelectionToRecipients(int fieldId) {
    const int row = m_list.GetSelectedItem();
    if (row < 0) {
        return;
    }
    const std::string name = m_list.GetItemText(row, 0);
    const std::string address = m_list.GetItemText(row, 1);
    // A server book's address column carries its brackets already.
    const std::string entry =
        IsDirectoryServer() ? "\"" + name + "\" <" + address + ">" : "\"" + name + "\" " + address;
    const std::string current = GetItemText(fieldId);
    SetItemText(fieldId, current.empty() ? entry : current + kFieldSeparator + entry);
}

void GuiAddressBookDialog::OnToButton() {
    MoveSelectionToRecipients(IDC_BOOK_TO_FIELD);
}

void GuiAddressBookDialog::OnCcButton() {
    MoveSelectionToRecipients(IDC_BOOK_CC_FIELD);
}

void GuiAddressBookDialog::OnBccButton() {
    MoveSelectionToRecipients(IDC_BOOK_BCC_FIELD);
}

void GuiAddressBookDialog::OnBookChanged() {
    const int selected = m_books.GetCurSel();
    if (selected == m_lastBook) {
        return;
    }
    m_lastBook = selected;
    SetItemText(IDC_BOOK_HINT, LoadString(selected == 0 ? IDS_ADDRESS_SEARCH_HINT
                                                        : IDS_ADDRESS_SEARCH_HINT_PARTIAL));
    Search();
}

void GuiAddressBookDialog::OnSearchTextChanged() {
    const int found = m_list.FindItem(m_searchField.GetText(), -1);
    if (found < 0) {
        return;
    }
    m_list.SelectItem(found, false);
    m_list.EnsureVisible(found + m_list.GetCountPerPage(), false);
    m_list.EnsureVisible(found, false);
}

void GuiAddressBookDialog::StartSearch() {
    m_searchText = m_searchField.GetText();
    Search();
}

void GuiAddressBookDialog::ResetSearch() {
    m_searchText.clear();
    m_searchField.SetText("");
    Search();
}

bool GuiAddressBookDialog::IsDirectoryServer() const {
    AbstractSource* const source = AbstractSource::Instance();
    Scanner* const scanner = source != nullptr ? source->GetScanner() : nullptr;
    ScanServerCapabilities* const capabilities =
        scanner != nullptr ? scanner->GetServerCapabilities() : nullptr;
    return capabilities != nullptr && capabilities->IsLdapEnabled();
}
