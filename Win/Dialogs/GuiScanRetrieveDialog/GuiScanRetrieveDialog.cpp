#include "GuiScanRetrieveDialog.h"

#include "AbstractSource.h"
#include "Conversions.h"
#include "DataArg_UserInterface.h"
#include "Exception.h"
#include "GuiMultiPaneDialog.h"
#include "GuiScanRetrieveDialog_rc.h"
#include "LocalDateFormats.h"
#include "RetrievePaneOwnerIntf.h"
#include "ScanPreferences.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "StringTable_rc.h"
#include "StringUtils.h"
#include "TW_Fix32.h"
#include "zylDirectory.h"
#include "zylImageFile.h"

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr int kMailboxNameLimit = 31;
constexpr int kMailboxNumberLimit = 4;
constexpr int kPageNumberLimit = 6;
constexpr int kCorrectionLimit = 16;

bool IsMailboxNumber(const std::string& text) {
    if (text.empty() || text.size() > static_cast<size_t>(kMailboxNumberLimit)) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

using CommonCpp::LongToString;
using CommonTwain::Fix32ToDouble;

// Enables "Refresh" again however the reload ends, unless the pane went meanwhile.
class RefreshButtonHold {
public:
    RefreshButtonHold(GuiWindowsDialog& pane, std::shared_ptr<const bool> alive)
        : m_pane(pane), m_alive(std::move(alive)) {
        m_pane.EnableItem(IDC_RETRIEVE_REFRESH_JOBS, false);
    }
    ~RefreshButtonHold() {
        if (*m_alive) {
            m_pane.EnableItem(IDC_RETRIEVE_REFRESH_JOBS, true);
        }
    }
    RefreshButtonHold(const RefreshButtonHold&) = delete;
    RefreshButtonHold& operator=(const RefreshButtonHold&) = delete;

private:
    GuiWindowsDialog& m_pane;
    std::shared_ptr<const bool> m_alive;
};

} // namespace

GuiScanRetrieveDialog::GuiScanRetrieveDialog(GuiMultiPaneDialog* owner,
                                             ScanAttributeWrapper* attributes,
                                             ScanPreferences* preferences, Scanner* scanner)
    : GuiMultiPane(IDD_SCAN_RETRIEVE, owner), m_attributes(attributes), m_preferences(preferences),
      m_scanner(scanner) {}

GuiScanRetrieveDialog::~GuiScanRetrieveDialog() = default;

void GuiScanRetrieveDialog::Close() {
    m_mailboxEdit.Detach();
    m_pageEdit.Detach();
    GuiMultiPane::Close();
}

RetrievePaneOwnerIntf* GuiScanRetrieveDialog::Host() const {
    return dynamic_cast<RetrievePaneOwnerIntf*>(GetOwner());
}

void GuiScanRetrieveDialog::TellSetStateValue() {
    if (RetrievePaneOwnerIntf* const host = Host()) {
        host->SetStateValue(0);
    }
}

void GuiScanRetrieveDialog::TellEnableSend(bool enable) {
    if (RetrievePaneOwnerIntf* const host = Host()) {
        if (enable) {
            host->EnableSend();
        } else {
            host->DisableSend();
        }
    }
}

bool GuiScanRetrieveDialog::UsesStringNames() {
    return m_scanner->GetServerCapabilities()->IsStringMailboxNamesEnabled();
}

bool GuiScanRetrieveDialog::UsesPasswords() {
    return m_scanner->GetServerCapabilities()->IsMailboxPasswordEnabled();
}

bool GuiScanRetrieveDialog::OnInitDialog() {
    GuiMultiPane::OnInitDialog();
    SetupControls();
    EnableItem(IDC_RETRIEVE_PAGE_NUMBER, IsItemChecked(IDC_RETRIEVE_ONE_PAGE));
    return true;
}

void GuiScanRetrieveDialog::SetupControls() {
    SetupMailboxFields();
    SetupJobListColumns();
    SelectAllPages();
    SetupPageEdit();
}

void GuiScanRetrieveDialog::SetupMailboxFields() {
    const bool stringNames = UsesStringNames();
    if (stringNames) {
        m_mailboxEdit.SetHandle(GetItem(IDC_RETRIEVE_MAILBOX_NAME));
        ShowItem(IDC_RETRIEVE_MAILBOX_NUMBER, false);
        m_mailboxEdit.Attach(EditCtrl::kSingleLine | EditCtrl::kFileName);
        m_mailboxEdit.LimitText(kMailboxNameLimit);
    } else {
        m_mailboxEdit.SetHandle(GetItem(IDC_RETRIEVE_MAILBOX_NUMBER));
        ShowItem(IDC_RETRIEVE_MAILBOX_NAME, false);
        m_mailboxEdit.Attach(EditCtrl::kSingleLine | EditCtrl::kDigitsOnly);
        m_mailboxEdit.LimitText(kMailboxNumberLimit);
    }
    const bool passwords = UsesPasswords();
    ShowItem(IDC_RETRIEVE_CHANGE_MAILBOX, passwords);
    m_mailboxEdit.Enable(!passwords);
    if (!passwords) {
        m_mailboxName = m_preferences->GetCurrentMailbox();
        if (!stringNames && !IsMailboxNumber(m_mailboxName)) {
            m_mailboxName.clear();
            m_mailboxId.clear();
            m_preferences->SetCurrentMailbox(m_mailboxName);
        } else {
            m_scanner->GetAuthID(m_mailboxName, m_mailboxId);
        }
    }
    m_mailboxEdit.SetText(m_mailboxName);
}

void GuiScanRetrieveDialog::SetupJobListColumns() {
    m_jobList.SetHandle(GetItem(IDC_RETRIEVE_JOB_LIST));
    m_jobList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    struct Column {
        int title;
        int width;
    };
    const Column columns[] = {
        {IDS_COLUMN_JOBS, 120}, {IDS_COLUMN_PAGES, 45},      {IDS_COLUMN_DATE, 60},
        {IDS_COLUMN_TIME, 55},  {IDS_COLUMN_RESOLUTION, 65}, {IDS_COLUMN_FILE_SIZE, 70},
    };
    int index = 0;
    for (const Column& column : columns) {
        m_jobList.InsertColumn(index++, LoadString(column.title), column.width, LVCFMT_LEFT);
    }
}

void GuiScanRetrieveDialog::SelectAllPages() {
    CheckItem(IDC_RETRIEVE_ALL_PAGES, true);
    CheckItem(IDC_RETRIEVE_ONE_PAGE, false);
}

void GuiScanRetrieveDialog::SetupPageEdit() {
    m_pageEdit.SetHandle(GetItem(IDC_RETRIEVE_PAGE_NUMBER));
    m_pageEdit.Attach(EditCtrl::kSingleLine | EditCtrl::kDigitsOnly);
    m_pageEdit.LimitText(kPageNumberLimit);
}

void GuiScanRetrieveDialog::OnReturnKey(EditCtrl*) {}

std::string GuiScanRetrieveDialog::NormalizeMailboxId(std::string& id) {
    if (UsesStringNames()) {
        return id;
    }
    if (!IsMailboxNumber(id)) {
        id.clear();
        return std::string();
    }
    return LongToString(std::strtol(id.c_str(), nullptr, 10));
}

void GuiScanRetrieveDialog::OpenMailboxDirectory() {
    const std::string number = NormalizeMailboxId(m_mailboxId);
    m_mailboxDirectory.reset();
    // Opening may reload the list under the wait window, whose loop may close the pane: the
    // scanner gets a copy of the password, and the directory is kept only by a pane that lives.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    const std::string password = m_mailboxPassword;
    std::unique_ptr<zylDirectory> directory(m_scanner->OpenMailbox(number, password));
    if (*alive) {
        m_mailboxDirectory = std::move(directory);
    }
}

void GuiScanRetrieveDialog::FillJobList() {
    m_jobList.DeleteAllItems();
    if (!m_mailboxDirectory) {
        m_jobList.SelectItem(-1, false);
        return;
    }
    m_scanner->ChangeDirectoryByPath(m_mailboxDirectory->GetName());
    const CommonTwain::TwainDateFormats formats = LocalDateFormats();
    int rows = 0;
    for (std::uint32_t i = 0; i < m_mailboxDirectory->GetCount(); ++i) {
        zylImageFile* const job = m_mailboxDirectory->GetImageFileAt(i);
        if (job == nullptr || job->IsMarked()) {
            continue;
        }
        const int row = m_jobList.InsertItem(0, job->GetName());
        m_jobList.SetItemText(row, 1, LongToString(job->GetNumPages()));
        const CommonTwain::TwainDateTime modified = job->GetModifiedTime();
        m_jobList.SetItemText(row, 2, modified.FormatLocalDate(formats));
        m_jobList.SetItemText(row, 3, modified.FormatLocalTime(formats));
        const double mean =
            (Fix32ToDouble(job->GetXResolution()) + Fix32ToDouble(job->GetYResolution()) + 1.0) *
            0.5;
        m_jobList.SetItemText(row, 4, LongToString(static_cast<long>(mean)));
        m_jobList.SetItemText(row, 5, job->GetFileSize());
        m_jobList.SetItem(row, static_cast<LPARAM>(job->GetJobID()));
        ++rows;
    }
    if (rows > 0) {
        m_jobList.SelectItem(0, false);
        m_scanner->SetCurrentImageFileFromJobID(static_cast<int32_t>(m_jobList.GetItem(0)));
    } else {
        m_jobList.SelectItem(-1, false);
    }
}

bool GuiScanRetrieveDialog::ReloadJobList(int32_t jobId) {
    // The server's calls run under the wait window, whose loop may close the pane.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    std::string number;
    if (jobId != -1) {
        number = NormalizeMailboxId(m_mailboxId);
        if (number.empty() || !m_scanner->IsJobInMailbox(number, m_mailboxPassword, jobId)) {
            return false;
        }
    }
    const RefreshButtonHold refresh(*this, alive);
    if (ArePagesHandedOver()) {
        // The pages still to come are read from the mailbox open now.
        return false;
    }
    const int selected = m_jobList.GetSelectedItem();
    TellSetStateValue();
    if (jobId == -1) {
        number = NormalizeMailboxId(m_mailboxId);
    }
    // A copy: the pane may be gone before the scanner is done with it.
    const std::string password = m_mailboxPassword;
    const bool result = m_scanner->RefreshJobsInMailbox(number, password);
    if (!*alive) {
        return false;
    }
    OpenMailboxDirectory();
    if (!*alive) {
        return false;
    }
    FillJobList();
    if (selected >= 0 && selected < m_jobList.GetItemCount()) {
        SelectRow(selected);
    }
    if (GetPageNumberText(nullptr) == 1) {
        EnablePageControls();
        TellEnableSend(true);
    } else {
        ResetPageControls();
        TellEnableSend(false);
    }
    return result;
}

void GuiScanRetrieveDialog::SelectRow(int row) {
    m_jobList.SelectItem(row, false);
    m_scanner->SetCurrentImageFileFromJobID(static_cast<int32_t>(m_jobList.GetItem(row)));
    m_jobList.EnsureVisible(row, false);
}

bool GuiScanRetrieveDialog::ChangeMailbox(const std::string& name, const std::string& password) {
    m_mailboxName = name;
    m_mailboxPassword = password;
    m_scanner->GetAuthID(m_mailboxName, m_mailboxId);
    // A reload skipped while pages are out opens nothing either: the list must not show
    // another mailbox's jobs under this name, nor take an unchecked password as good.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    const bool result = ReloadJobList(-1);
    if (!*alive) {
        return false;
    }
    if (!result) {
        m_mailboxDirectory.reset();
        m_mailboxName.clear();
        m_mailboxId.clear();
        m_mailboxPassword.clear();
        FillJobList();
        ResetPageControls();
        TellEnableSend(false);
    }
    m_mailboxEdit.SetText(m_mailboxName);
    m_preferences->SetCurrentMailbox(m_mailboxName);
    return result;
}

void GuiScanRetrieveDialog::OnMailboxTextChanged() {
    const std::string text = m_mailboxEdit.GetText();
    if (text == m_mailboxName) {
        return;
    }
    m_scanner->GetAuthID(text, m_mailboxId);
    m_mailboxName = text;
    m_preferences->SetCurrentMailbox(m_mailboxName);
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    OpenMailboxDirectory();
    if (!*alive) {
        return;
    }
    FillJobList();
    OnJobSelectionChanged();
    const int selected = m_jobList.GetSelectedItem();
    if (selected >= 0) {
        m_jobList.EnsureVisible(selected, false);
    }
}

void GuiScanRetrieveDialog::RefreshList() {
    if (UsesPasswords()) {
        const std::string name = m_mailboxName;
        const std::string password = m_mailboxPassword;
        ChangeMailbox(name, password);
    } else {
        ReloadJobList(-1);
    }
}

void GuiScanRetrieveDialog::OnRefresh() {
    try {
        RefreshList();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
}

void GuiScanRetrieveDialog::ShowPane(bool show) {
    GuiMultiPane::ShowPane(show);
    if (show) {
        TellSetStateValue();
        OnPaneShown();
    }
}

void GuiScanRetrieveDialog::OnPaneShown() {
    if (m_jobList.IsEnabled()) {
        RefreshList();
    } else {
        TellEnableSend(false);
    }
}

void GuiScanRetrieveDialog::OnJobSelectionChanged() {
    const int row = m_jobList.GetSelectedItem();
    if (row < 0) {
        ResetPageControls();
        return;
    }
    m_scanner->SetCurrentImageFileFromJobID(static_cast<int32_t>(m_jobList.GetItem(row)));
    std::string correction;
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    if (GetPageNumberText(&correction) == 1 && *alive) {
        if (!correction.empty()) {
            m_pageEdit.SetText(correction);
        }
        EnablePageControls();
    }
}

int GuiScanRetrieveDialog::GetPageNumberText(std::string* correction) {
    if (m_jobList.GetSelectedItem() < 0) {
        return -1;
    }
    if (!IsItemChecked(IDC_RETRIEVE_ONE_PAGE)) {
        return 1;
    }
    const std::string text = m_pageEdit.GetText();
    if (text.empty()) {
        return 0;
    }
    if (correction != nullptr) {
        const long typed = std::strtol(text.c_str(), nullptr, 10);
        if (typed < 1) {
            *correction = "1";
        } else if (zylImageFile* const job = GetSelectedImageFile()) {
            if (typed > job->GetNumPages()) {
                *correction = LongToString(job->GetNumPages());
            }
        }
        if (correction->size() > static_cast<size_t>(kCorrectionLimit)) {
            correction->resize(kCorrectionLimit);
        }
    }
    return 1;
}

void GuiScanRetrieveDialog::EnablePageControls() {
    EnableItem(IDC_RETRIEVE_ALL_PAGES, true);
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    zylImageFile* const job = GetSelectedImageFile();
    if (!*alive) {
        return;
    }
    if (job != nullptr && job->GetNumPages() > 1) {
        EnableItem(IDC_RETRIEVE_ONE_PAGE, true);
        if (IsItemChecked(IDC_RETRIEVE_ONE_PAGE)) {
            EnableItem(IDC_RETRIEVE_PAGE_NUMBER, true);
            TellEnableSend(GetPageNumberText(nullptr) == 1);
        } else {
            EnableItem(IDC_RETRIEVE_PAGE_NUMBER, false);
            TellEnableSend(true);
        }
    } else {
        EnableItem(IDC_RETRIEVE_ONE_PAGE, false);
        CheckItem(IDC_RETRIEVE_ONE_PAGE, false);
        CheckItem(IDC_RETRIEVE_ALL_PAGES, true);
        TellEnableSend(true);
    }
    EnableItem(IDC_RETRIEVE_DELETE_JOB, true);
}

void GuiScanRetrieveDialog::ResetPageControls() {
    CheckItem(IDC_RETRIEVE_ALL_PAGES, true);
    CheckItem(IDC_RETRIEVE_ONE_PAGE, false);
    EnableItem(IDC_RETRIEVE_ALL_PAGES, false);
    EnableItem(IDC_RETRIEVE_ONE_PAGE, false);
    m_pageEdit.SetText(std::string());
    EnableItem(IDC_RETRIEVE_PAGE_NUMBER, false);
    EnableItem(IDC_RETRIEVE_DELETE_JOB, false);
    TellEnableSend(false);
}

void GuiScanRetrieveDialog::OnAllPages() {
    EnableItem(IDC_RETRIEVE_PAGE_NUMBER, false);
    m_pageEdit.SetText(std::string());
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    if (zylImageFile* const job = GetSelectedImageFile()) {
        job->SetXferCount(0xFFFF);
        job->SetStartPage(-1);
    }
    if (*alive) {
        EnablePageControls();
    }
}

void GuiScanRetrieveDialog::OnPageRadio() {
    EnableItem(IDC_RETRIEVE_PAGE_NUMBER, true);
    TellEnableSend(GetPageNumberText(nullptr) == 1);
}

void GuiScanRetrieveDialog::OnPageTextChanged() {
    std::string correction;
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    const int answer = GetPageNumberText(&correction);
    if (!*alive) {
        return;
    }
    if (answer == 1) {
        if (!correction.empty()) {
            m_pageEdit.SetText(correction);
            m_pageEdit.SetSel(0, -1);
        }
        TellEnableSend(true);
    } else if (answer == 0) {
        TellEnableSend(false);
    }
}

int32_t GuiScanRetrieveDialog::GetSelectedPage() {
    if (IsItemChecked(IDC_RETRIEVE_ALL_PAGES)) {
        return -1;
    }
    if (AbstractSource* const source = AbstractSource::Instance()) {
        if (source->GetImageFileFormatCurrent() == TWFF_TIFFMULTI) {
            return -1;
        }
    }
    return static_cast<int32_t>(std::strtol(m_pageEdit.GetText().c_str(), nullptr, 10));
}

// A job the scanner no longer holds reloads the list under the wait window, whose loop may close
// the pane: callers look at their alive flag after it.
zylImageFile* GuiScanRetrieveDialog::GetSelectedImageFile() {
    const int row = m_jobList.GetSelectedItem();
    if (row < 0) {
        return nullptr;
    }
    return m_scanner->FindImageFileByJobID(static_cast<int32_t>(m_jobList.GetItem(row)));
}

int32_t GuiScanRetrieveDialog::GetSelectedJobId() {
    const int row = m_jobList.GetSelectedItem();
    return row < 0 ? 0 : static_cast<int32_t>(m_jobList.GetItem(row));
}

void GuiScanRetrieveDialog::RememberSelectedJob() {
    const int row = m_jobList.GetSelectedItem();
    if (row < 0) {
        return;
    }
    m_rememberedJob = static_cast<int32_t>(m_jobList.GetItem(row));
    if (zylImageFile* const current = m_scanner->GetCurrentImageFile()) {
        current->SetStartPage(
            static_cast<std::int16_t>(current->GetNumPages() == 1 ? 1 : GetSelectedPage()));
    }
}

zylImageFile* GuiScanRetrieveDialog::GetRememberedImageFile() {
    if (m_rememberedJob == -1) {
        return nullptr;
    }
    return m_scanner->FindImageFileByJobID(m_rememberedJob);
}

std::string GuiScanRetrieveDialog::GetMailboxName() const {
    return m_mailboxName;
}

void GuiScanRetrieveDialog::OnDelete() {
    DeleteSelectedJob();
}

void GuiScanRetrieveDialog::DeleteSelectedJob() {
    const int row = m_jobList.GetSelectedItem();
    if (row < 0) {
        return;
    }
    m_deletionRow = row;
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    zylImageFile* const job = GetSelectedImageFile();
    if (job == nullptr || !*alive) {
        return;
    }
    const std::string question = CommonCpp::SubstituteArgs(LoadString(IDS_CONFIRM_DELETE_IMAGE),
                                                           job->GetName(), m_mailboxName);
    // The question's loop may close the pane.
    if (!AskYesNo(question) || !*alive) {
        return;
    }
    const int32_t jobId = static_cast<int32_t>(job->GetJobID());
    m_pendingDeletion = jobId;
    m_jobList.Enable(false);
    ResetPageControls();
    const int result = m_scanner->DeleteJob(jobId);
    if (result != 0) {
        // No event will report the job gone: the list comes back as it was.
        m_pendingDeletion = -1;
        m_jobList.Enable(true);
        m_jobList.SelectItem(m_deletionRow, false);
        OnJobSelectionChanged();
        ReportDeleteFailure(result);
    }
}

bool GuiScanRetrieveDialog::ArePagesHandedOver() {
    DataArg_UserInterface* const ui = GetUserInterface();
    return ui != nullptr && ui->HasPagesDone();
}

void GuiScanRetrieveDialog::ReportDeleteFailure(int resultCode) {
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->ReportServerError(resultCode);
    }
}

void GuiScanRetrieveDialog::OnScanEvent(const ScanEventRecord* record) {
    if (record == nullptr) {
        return;
    }
    if (record->type == 0) {
        ReloadJobList(record->jobId);
    } else if (record->type == 1) {
        const std::shared_ptr<const bool> alive = GetAliveFlag();
        RefreshList();
        if (!*alive) {
            return;
        }
        // -1 is "no deletion pending", never the id of the job that went.
        if (m_pendingDeletion != -1 && record->jobId == m_pendingDeletion) {
            m_pendingDeletion = -1;
            m_jobList.Enable(true);
            if (GetPageNumberText(nullptr) == 1) {
                EnablePageControls();
            } else {
                ResetPageControls();
            }
            m_deletionRow = ClampIndex(m_jobList.GetItemCount(), m_deletionRow);
            m_jobList.SelectItem(m_deletionRow, false);
        }
    }
}

void GuiScanRetrieveDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    switch (controlId) {
    case IDC_RETRIEVE_MAILBOX_NUMBER:
    case IDC_RETRIEVE_MAILBOX_NAME:
        if (notifyCode == EN_CHANGE) {
            OnMailboxTextChanged();
        }
        return;
    case IDC_RETRIEVE_CHANGE_MAILBOX:
        if (notifyCode == BN_CLICKED) {
            if (RetrievePaneOwnerIntf* const host = Host()) {
                host->OpenChangeMailboxDialog();
            }
        }
        return;
    case IDC_RETRIEVE_ALL_PAGES:
        if (notifyCode == BN_CLICKED) {
            OnAllPages();
        }
        return;
    case IDC_RETRIEVE_ONE_PAGE:
        if (notifyCode == BN_CLICKED) {
            OnPageRadio();
        }
        return;
    case IDC_RETRIEVE_PAGE_NUMBER:
        if (notifyCode == EN_CHANGE) {
            OnPageTextChanged();
        }
        return;
    case IDC_RETRIEVE_REFRESH_JOBS:
        if (notifyCode == BN_CLICKED) {
            OnRefresh();
        }
        return;
    case IDC_RETRIEVE_DELETE_JOB:
        if (notifyCode == BN_CLICKED) {
            OnDelete();
        }
        return;
    default:
        GuiMultiPane::OnCommand(controlId, notifyCode, control);
    }
}

LRESULT GuiScanRetrieveDialog::OnNotify(WPARAM, NMHDR* header) {
    if (header == nullptr) {
        return 0;
    }
    if (header->hwndFrom == m_jobList.GetHandle()) {
        if (header->code == LVN_ITEMCHANGED) {
            const auto* const change = reinterpret_cast<const NMLISTVIEW*>(header);
            if (((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
                OnJobSelectionChanged();
            }
        } else if (header->code == LVN_KEYDOWN) {
            const auto* const key = reinterpret_cast<const NMLVKEYDOWN*>(header);
            if (key->wVKey == VK_DELETE) {
                DeleteSelectedJob();
            }
        }
    }
    return 1;
}
