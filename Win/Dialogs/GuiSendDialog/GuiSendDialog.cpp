#include "GuiSendDialog.h"

#include "Exception.h"
#include "GuiEmailEditDialog.h"
#include "GuiFtpDestinationDialog.h"
#include "GuiFtpDestinationDialog_rc.h"
#include "GuiSendDialog_rc.h"
#include "ScanPreferences.h"
#include "SendMediator.h"
#include "StringTable_rc.h"

#include <cstdio>
#include <vector>

namespace {

// Edit notifications the dialog acts on, and the combo box's selection change.
constexpr int kTextChanged = EN_CHANGE;
constexpr int kClicked = BN_CLICKED;
constexpr int kSelectionChanged = CBN_SELCHANGE;

constexpr int kFileNameLimit = 31;
constexpr int kMailboxNameLimit = 72;
constexpr int kMailboxNumberLimit = 4;
constexpr size_t kFileBufferSize = 2048;
constexpr DWORD kSaveFileFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;

// One filter pair, "<format> (*.<ext>)" and "*.<ext>"; 0x01 and 0x02 stand for the NULs.
constexpr const char* kFilterFormat = "%s (*.%s)\x01*.%s\x02";

std::string Formatted(const char* format, const std::string& a, const std::string& b = "",
                      const std::string& c = "") {
    std::vector<char> buffer(kFileBufferSize);
    std::snprintf(buffer.data(), buffer.size(), format, a.c_str(), b.c_str(), c.c_str());
    return std::string(buffer.data());
}

// The body text of stored lines: a non-empty line as it stands, an empty one as a line break
// unless the body is empty or already ends with one.
template <class LineReader> std::string StoredBody(int count, LineReader line) {
    std::string body;
    for (int i = 0; i < count; ++i) {
        const std::string text = line(i);
        if (!text.empty()) {
            body += text;
        } else if (!body.empty() && body.back() != '\n') {
            body += '\n';
        }
    }
    return body;
}

void LoadMessage(EmailMsg& message, const ScanPreferences& preferences, const std::string& subject,
                 const std::string& body, int firstList) {
    message.ClearTo();
    message.ClearCc();
    message.ClearBcc();
    message.SetSubject(subject);
    message.SetBody(body);
    for (int list = 0; list < 3; ++list) {
        const int count = preferences.GetNumOfAddress(firstList + list);
        for (int entry = 0; entry < count; ++entry) {
            const std::string address = preferences.GetAddress(firstList + list, entry);
            if (list == 0) {
                message.AddTo(address);
            } else if (list == 1) {
                message.AddCc(address);
            } else {
                message.AddBcc(address);
            }
        }
    }
}

} // namespace

GuiSendDialog::GuiSendDialog(GuiWindowsDialog* owner, ScanAttributeWrapper*, Scanner* scanner,
                             ScanPreferences*, SendMediator* mediator)
    : GuiWindowsDialog(IDD_SEND_DIALOG, owner, nullptr), m_mediator(mediator), m_scanner(scanner) {
    LoadFtpDestination();
}

GuiSendDialog::~GuiSendDialog() {
    // The editors use the mediator: they end before it.
    SetChildDialog(nullptr);
}

void GuiSendDialog::Close() {
    m_diskFormat.Clear();
    m_fileName.Detach();
    m_mailbox.Detach();
    if (m_mediator->IsEmailSupported()) {
        m_emailFormat.Clear();
    }
    if (m_mediator->IsFtpSupported()) {
        m_ftpFormat.Clear();
    }
    GuiWindowsDialog::Close();
}

bool GuiSendDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    InitControls();
    UpdateSendButton();
    return true;
}

void GuiSendDialog::OnCommand(int controlId, int notifyCode, HWND) {
    switch (controlId) {
    case IDOK:
        if (notifyCode == kClicked) {
            OnSend();
        }
        break;
    case IDCANCEL:
        if (notifyCode == kClicked) {
            EndDialog(IDCANCEL);
        }
        break;
    case IDC_SEND_FILE_NAME:
        if (notifyCode == kTextChanged) {
            OnFileNameChanged();
        }
        break;
    case IDC_SEND_MAILBOX_NAME:
        if (notifyCode == kTextChanged) {
            OnMailboxTextChanged();
        }
        break;
    case IDC_SEND_DISK_FORMAT:
        if (notifyCode == kSelectionChanged) {
            OnDiskFormatChanged();
        }
        break;
    default:
        if (notifyCode != kClicked) {
            break;
        }
        switch (controlId) {
        case IDC_SEND_HOLD_QUEUE:
            OnHoldQueueCheck();
            break;
        case IDC_SEND_MAILBOX_CHECK:
            OnMailboxCheck();
            break;
        case IDC_SEND_SAVE_TO_DISK:
            OnSaveToDiskCheck();
            break;
        case IDC_SEND_SAVE_AS:
            OnSaveAs();
            break;
        case IDC_SEND_EMAIL_CHECK:
            OnEmailCheck();
            break;
        case IDC_SEND_EDIT_EMAIL:
            OnEditEmail();
            break;
        case IDC_SEND_AS_ATTACHMENT:
        case IDC_SEND_AS_URL:
            OnSendModeChanged(controlId == IDC_SEND_AS_URL);
            break;
        case IDC_SEND_FTP_CHECK:
            OnFtpCheck();
            break;
        case IDC_SEND_EDIT_FTP:
            OnEditFtp();
            break;
        case IDC_SEND_FAX_CHECK:
            OnInternetFaxCheck();
            break;
        case IDC_SEND_EDIT_FAX:
            OnEditInternetFax();
            break;
        default:
            break;
        }
    }
}

void GuiSendDialog::OnCloseRequest(int dialogId, int result) {
    if (result == IDOK) {
        if (dialogId == kMessageEditorId) {
            OnMessageEditorClosed(GetChildDialog());
        } else if (dialogId == IDD_FTP_DESTINATION) {
            if (auto* editor = dynamic_cast<GuiFtpDestinationDialog*>(GetChildDialog())) {
                m_ftp = editor->GetDestinationInfo();
                SaveFtpDestination();
                UpdateFtpSummary();
            }
        }
    }
    UpdateSendButton();
    GuiWindowsDialog::OnCloseRequest(dialogId, result);
}

CommonCpp::FileSpec GuiSendDialog::GetFileSpec() const {
    return m_target;
}

std::string GuiSendDialog::GetDiskFormatName() const {
    const int selected = m_diskFormat.GetCurSel();
    return m_diskFormat.GetItemText(selected < 0 ? 0 : selected);
}

void GuiSendDialog::SetupFileName() {
    m_fileName.SetHandle(GetItem(IDC_SEND_FILE_NAME));
    m_fileName.LimitText(kFileNameLimit);
    m_fileName.Attach(EditCtrl::kSingleLine | EditCtrl::kFileName);
    if (QueryMediator()->GetScanBusy()) {
        m_fileName.SetText(QueryMediator()->GetScanFilename());
    }
}

void GuiSendDialog::SetupMailbox() {
    ScanPreferences* const preferences = QueryMediator();
    m_mailbox.SetHandle(GetItem(IDC_SEND_MAILBOX_NAME));
    if (m_mediator->IsMailboxNameSupported()) {
        m_mailbox.Attach(EditCtrl::kSingleLine);
        m_mailbox.LimitText(kMailboxNameLimit);
    } else {
        m_mailbox.Attach(EditCtrl::kSingleLine | EditCtrl::kDigitsOnly);
        m_mailbox.LimitText(kMailboxNumberLimit);
    }
    m_mailbox.SetText(preferences->GetScanBusy() ? preferences->GetScanMailbox()
                                                 : preferences->GetCurrentMailbox());
}

void GuiSendDialog::SetupDiskDestination() {
    ScanPreferences* const preferences = QueryMediator();
    m_diskFormat.Attach(GetItem(IDC_SEND_DISK_FORMAT));
    SelectDefaultFormats(m_diskFormat, preferences->GetScanToDiskFileFormat(), false);
    if (m_diskFormat.GetCurSel() < 0) {
        m_diskFormat.SelectString("PDF", -1);
    }
    const bool save = preferences->GetSaveToDiskCheck();
    CheckItem(IDC_SEND_SAVE_TO_DISK, save);
    EnableItem(IDC_SEND_SAVE_AS, save);
    EnableControl(m_diskFormat.GetHandle(), save);
    const std::string stored = preferences->GetSaveToDiskPath();
    if (preferences->GetScanBusy() && !stored.empty()) {
        m_target.SetPath(stored);
        SetButtonText(IDC_SEND_SAVE_AS, m_target.GetFileName());
    }
}

void GuiSendDialog::SetupEmailDestination() {
    if (!m_mediator->IsEmailSupported()) {
        ShowItemRange(IDC_SEND_EMAIL_GROUP, IDC_SEND_EMAIL_FORMAT, false);
        ShiftItemsUp(IDC_SEND_EMAIL_GROUP, IDC_SEND_FTP_GROUP, IDCANCEL);
        return;
    }
    ScanPreferences* const preferences = QueryMediator();
    m_emailFormat.Attach(GetItem(IDC_SEND_EMAIL_FORMAT));
    if (m_mediator->IsMailAllowUrls()) {
        ShowItem(IDC_SEND_AS_URL, true);
        const bool asUrl = preferences->GetScanSendAsURL();
        CheckItem(IDC_SEND_AS_URL, asUrl);
        CheckItem(IDC_SEND_AS_ATTACHMENT, !asUrl);
    } else {
        ShowItem(IDC_SEND_AS_URL, false);
        CheckItem(IDC_SEND_AS_URL, false);
        CheckItem(IDC_SEND_AS_ATTACHMENT, true);
    }
    SelectDefaultFormats(m_emailFormat, preferences->GetScanEmailFileFormat(), true);
    if (m_emailFormat.GetCurSel() < 0) {
        m_emailFormat.SetCurSel(0);
    }
    const bool email = preferences->GetScanSendEmail();
    if (email && preferences->GetScanBusy()) {
        LoadEmailMessage();
    }
    UpdateEmailSummary();
    CheckItem(IDC_SEND_EMAIL_CHECK, email);
    if (!email) {
        EnableItem(IDC_SEND_EDIT_EMAIL, false);
        EnableItem(IDC_SEND_AS_ATTACHMENT, false);
        EnableItem(IDC_SEND_AS_URL, false);
        EnableControl(LabelBefore(IDC_SEND_EMAIL_FORMAT), false);
        EnableItem(IDC_SEND_EMAIL_FORMAT, false);
    }
}

void GuiSendDialog::SetupHoldQueue() {
    if (m_mediator->IsHoldQueueSupported()) {
        CheckItem(IDC_SEND_HOLD_QUEUE, QueryMediator()->GetScanSendTrelliq());
        return;
    }
    ShowItem(IDC_SEND_HOLD_QUEUE, false);
    ShiftItemsUp(IDC_SEND_HOLD_QUEUE, IDC_SEND_MAILBOX_CHECK, IDCANCEL);
}

void GuiSendDialog::SetupFtpDestination() {
    if (!m_mediator->IsFtpSupported()) {
        ShowItemRange(IDC_SEND_FTP_GROUP, IDC_SEND_FTP_FORMAT, false);
        ShiftItemsUp(IDC_SEND_FTP_GROUP, IDC_SEND_FAX_GROUP, IDCANCEL);
        return;
    }
    ScanPreferences* const preferences = QueryMediator();
    m_ftpFormat.Attach(GetItem(IDC_SEND_FTP_FORMAT));
    SelectDefaultFormats(m_ftpFormat, preferences->GetScanFTPFileFormat(), true);
    if (m_ftpFormat.GetCurSel() < 0) {
        m_ftpFormat.SetCurSel(0);
    }
    UpdateFtpSummary();
    const bool ftp = preferences->GetScanSendToFTP();
    CheckItem(IDC_SEND_FTP_CHECK, ftp);
    if (!ftp) {
        EnableItem(IDC_SEND_EDIT_FTP, false);
        EnableControl(LabelBefore(IDC_SEND_FTP_FORMAT), false);
        EnableItem(IDC_SEND_FTP_FORMAT, false);
    }
}

void GuiSendDialog::SetupFaxDestination() {
    if (!m_mediator->IsInternetFaxSupported()) {
        ShowItemRange(IDC_SEND_FAX_GROUP, IDC_SEND_EDIT_FAX, false);
        ShiftItemsUp(IDC_SEND_FAX_GROUP, IDOK, IDCANCEL);
        return;
    }
    if (QueryMediator()->GetScanBusy()) {
        LoadFaxMessage();
    }
    // Restored recipients show on the button as the e-mail ones do.
    UpdateFaxSummary();
}

void GuiSendDialog::InitControls() {
    SetupFileName();
    SetupHoldQueue();
    SetupDiskDestination();
    SetupMailbox();
    SetupEmailDestination();
    SetupFtpDestination();
    SetupFaxDestination();
}

void GuiSendDialog::OnSend() {
    m_mediator->Send();
    StoreSelections();
    EndDialog(IDOK);
}

void GuiSendDialog::OnFileNameChanged() {}

void GuiSendDialog::OnMailboxCheck() {
    EnableItem(IDC_SEND_MAILBOX_NAME, IsItemChecked(IDC_SEND_MAILBOX_CHECK));
    UpdateSendButton();
}

void GuiSendDialog::OnMailboxTextChanged() {
    UpdateSendButton();
}

void GuiSendDialog::OnSaveToDiskCheck() {
    const bool save = IsItemChecked(IDC_SEND_SAVE_TO_DISK);
    EnableItem(IDC_SEND_SAVE_AS, save);
    EnableControl(m_diskFormat.GetHandle(), save);
    UpdateSendButton();
}

void GuiSendDialog::OnSaveAs() {
    const std::string format = m_diskFormat.GetSelectedText();
    const std::string extension = FormatNameForFileType(m_diskFormat);
    ScanPreferences* const preferences = QueryMediator();

    // While a refused scan is repeated, the file picked for it is proposed again.
    std::string proposed = Formatted(LoadString(IDS_UNTITLED_FILE).c_str(), extension);
    if (preferences->GetScanBusy() && m_target.IsSet()) {
        proposed = m_target.GetFileName();
    }
    std::vector<char> file(kFileBufferSize, '\0');
    proposed.copy(file.data(), file.size() - 1);

    std::string filter = Formatted(kFilterFormat, format, extension, extension);
    for (char& c : filter) {
        if (c == '\x01' || c == '\x02') {
            c = '\0';
        }
    }
    filter.push_back('\0');

    OPENFILENAMEA request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = GetHwnd();
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrDefExt = extension.c_str();
    request.Flags = kSaveFileFlags;
    if (RunSaveFileDialog(request)) {
        const std::string chosen(file.data());
        size_t nameAt = request.nFileOffset;
        if (nameAt == 0 || nameAt > chosen.size()) {
            const size_t separator = chosen.find_last_of("\\/");
            nameAt = separator == std::string::npos ? 0 : separator + 1;
        }
        std::string folder = chosen.substr(0, nameAt);
        if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) {
            folder.pop_back();
        }
        m_target.SetPath(chosen);
        preferences->SetSaveToDiskPath(folder);
        SetButtonText(IDC_SEND_SAVE_AS, chosen.substr(nameAt));
    }
    UpdateSendButton();
}

void GuiSendDialog::OnEmailCheck() {
    const bool email = IsItemChecked(IDC_SEND_EMAIL_CHECK);
    EnableItem(IDC_SEND_EDIT_EMAIL, email);
    EnableItem(IDC_SEND_AS_ATTACHMENT, email);
    EnableItem(IDC_SEND_AS_URL, email);
    EnableControl(LabelBefore(IDC_SEND_EMAIL_FORMAT), email);
    EnableItem(IDC_SEND_EMAIL_FORMAT, email);
    UpdateSendButton();
}

void GuiSendDialog::OnSendModeChanged(bool) {}

void GuiSendDialog::OnHoldQueueCheck() {
    UpdateSendButton();
}

void GuiSendDialog::OnEditEmail() {
    EditMessage(m_emailMessage, kEmailMode);
}

void GuiSendDialog::OnFtpCheck() {
    const bool ftp = IsItemChecked(IDC_SEND_FTP_CHECK);
    EnableItem(IDC_SEND_EDIT_FTP, ftp);
    EnableControl(LabelBefore(IDC_SEND_FTP_FORMAT), ftp);
    EnableItem(IDC_SEND_FTP_FORMAT, ftp);
    UpdateSendButton();
}

void GuiSendDialog::OnEditFtp() {
    OpenChildDialog(
        std::make_unique<GuiFtpDestinationDialog>(this, m_ftp, m_mediator->GetScanner()));
}

void GuiSendDialog::OnInternetFaxCheck() {}

void GuiSendDialog::OnEditInternetFax() {
    EditMessage(m_faxMessage, kInternetFaxMode);
}

void GuiSendDialog::StoreSelections() {
    ScanPreferences* const preferences = QueryMediator();
    preferences->SetScanFilename(GetEditText(IDC_SEND_FILE_NAME));
    preferences->SetScanMailbox(GetEditText(IDC_SEND_MAILBOX_NAME));
    preferences->SetScanSendTrelliq(IsItemChecked(IDC_SEND_HOLD_QUEUE));
    const bool save = IsItemChecked(IDC_SEND_SAVE_TO_DISK);
    preferences->SetSaveToDiskCheck(save);
    if (save) {
        preferences->SetScanToDiskFileFormat(GetDiskFormatName());
        preferences->SetSaveToDiskPath(m_target.GetPath());
    }
    const bool email = IsItemChecked(IDC_SEND_EMAIL_CHECK);
    preferences->SetScanSendEmail(email);
    if (email) {
        preferences->SetScanEmailFileFormat(m_emailFormat.GetSelectedText());
    }
    preferences->SetScanSendAsURL(IsItemChecked(IDC_SEND_AS_URL));
    const bool ftp = IsItemChecked(IDC_SEND_FTP_CHECK);
    preferences->SetScanSendToFTP(ftp);
    if (ftp) {
        preferences->SetScanFTPFileFormat(m_ftpFormat.GetSelectedText());
    }
    preferences->SetScanSendToInternetFax(IsItemChecked(IDC_SEND_FAX_CHECK));
}

void GuiSendDialog::UpdateEmailSummary() {
    ShowSummary(IDC_SEND_EDIT_EMAIL, m_emailCaption,
                m_emailMessage.GetToString() + m_emailMessage.GetCcString() +
                    m_emailMessage.GetBccString());
}

void GuiSendDialog::UpdateFtpSummary() {
    ShowSummary(IDC_SEND_EDIT_FTP, m_ftpCaption, m_ftp.GetServer());
}

void GuiSendDialog::UpdateFaxSummary() {
    ShowSummary(IDC_SEND_EDIT_FAX, m_faxCaption,
                m_faxMessage.GetToString() + m_faxMessage.GetCcString() +
                    m_faxMessage.GetBccString());
}

void GuiSendDialog::ShowSummary(int buttonId, std::string& savedCaption, const std::string& text) {
    if (savedCaption.empty()) {
        savedCaption = GetButtonText(buttonId);
    }
    std::string caption = text;
    if (caption.size() > kSummaryLength) {
        caption = caption.substr(0, kSummaryLength) + "...";
    } else if (caption.empty()) {
        caption = savedCaption;
    }
    SetButtonText(buttonId, caption);
}

void GuiSendDialog::UpdateSendButton() {
    EnableItem(IDOK, IsAnyDestinationSelected());
}

void GuiSendDialog::LoadFtpDestination() {
    const ScanPreferences* const preferences = QueryMediator();
    if (preferences == nullptr) {
        return;
    }
    m_ftp.SetServer(preferences->GetScanFTPServerName());
    m_ftp.SetPort(preferences->GetScanFTPPortNumber());
    m_ftp.SetPath(preferences->GetScanFTPRemoteDir());
    m_ftp.SetUserName(preferences->GetScanFTPUserName());
    m_ftp.SetPassword(preferences->GetScanFTPPassword());
    m_ftp.SetProxyPassword(preferences->GetScanProxyPassword());
    m_ftp.SetProxyEnabled(preferences->GetScanEnableProxy());
    m_ftp.SetProxyAddress(preferences->GetScanProxyAddress());
    m_ftp.SetProxyPort(preferences->GetScanProxyPortNumber());
    m_ftp.SetProxyUserName(preferences->GetScanProxyUserName());
    m_ftp.SetTimeout(preferences->GetScanFTPTimeOut());
}

void GuiSendDialog::SaveFtpDestination() {
    ScanPreferences* const preferences = QueryMediator();
    preferences->SetScanFTPServerName(m_ftp.GetServer());
    preferences->SetScanFTPPortNumber(m_ftp.GetPort());
    preferences->SetScanFTPRemoteDir(m_ftp.GetPath());
    preferences->SetScanFTPUserName(m_ftp.GetUserName());
    preferences->SetScanFTPPassword(m_ftp.GetPassword());
    preferences->SetScanEnableProxy(m_ftp.IsProxyEnabled());
    preferences->SetScanProxyAddress(m_ftp.GetProxyAddress());
    preferences->SetScanProxyPortNumber(m_ftp.GetProxyPort());
    preferences->SetScanProxyUserName(m_ftp.GetProxyUserName());
    preferences->SetScanProxyPassword(m_ftp.GetProxyPassword());
    preferences->SetScanFTPTimeOut(m_ftp.GetTimeout());
}

void GuiSendDialog::DisableMemberControl() {
    EnableItem(IDC_SEND_MAILBOX_NAME, false);
}

ScanPreferences* GuiSendDialog::QueryMediator() {
    return m_mediator->GetPreferences();
}

SendMediator* GuiSendDialog::GetMediator() {
    return m_mediator.get();
}

EditCtrl& GuiSendDialog::GetFileNameEdit() {
    return m_fileName;
}

void GuiSendDialog::FillFileFormats(PopupButton& picker, const std::string&, bool allowRaw,
                                    bool allowJpeg, const std::string& defaultFormat) {
    const int32_t count = m_mediator->GetFileFormatCount();
    for (int32_t i = 0; i < count; ++i) {
        const std::string name = m_mediator->GetFileFormatName(i);
        if (name.empty() || (name == "JPEG" && !allowJpeg) || (name == "RAW" && !allowRaw)) {
            continue;
        }
        picker.AddString(name);
    }
    picker.SelectString(defaultFormat, -1);
}

void GuiSendDialog::SelectDefaultFormats(PopupButton&, const std::string&, bool) {}

bool GuiSendDialog::IsHoldQueueSelected() {
    return IsItemChecked(IDC_SEND_HOLD_QUEUE) && m_mediator->IsHoldQueueSupported();
}

bool GuiSendDialog::IsMailboxSelected() {
    return IsItemChecked(IDC_SEND_MAILBOX_CHECK) && !GetEditText(IDC_SEND_MAILBOX_NAME).empty();
}

bool GuiSendDialog::IsSaveToDiskSelected() {
    return IsItemChecked(IDC_SEND_SAVE_TO_DISK) && m_target.IsSet();
}

bool GuiSendDialog::IsEmailSelected() {
    return m_mediator->IsEmailSupported() && IsItemChecked(IDC_SEND_EMAIL_CHECK) &&
           m_emailMessage.GetRecipientCount() > 0;
}

bool GuiSendDialog::IsFtpSelected() {
    return m_mediator->IsFtpSupported() && IsItemChecked(IDC_SEND_FTP_CHECK) &&
           !m_ftp.GetServer().empty();
}

bool GuiSendDialog::IsInternetFaxSelected() {
    return m_mediator->IsInternetFaxSupported() && IsItemChecked(IDC_SEND_FAX_CHECK) &&
           m_faxMessage.GetRecipientCount() > 0;
}

std::string GuiSendDialog::GetFileName() {
    return GetEditText(IDC_SEND_FILE_NAME);
}

std::string GuiSendDialog::GetPages() {
    return "0";
}

std::string GuiSendDialog::GetMailboxName() {
    return GetEditText(IDC_SEND_MAILBOX_NAME);
}

std::string GuiSendDialog::GetEmailFileFormat() {
    return m_emailFormat.GetSelectedText();
}

EmailMsg GuiSendDialog::GetEmailMessage() {
    return m_emailMessage;
}

bool GuiSendDialog::IsSendAsUrl() {
    return m_mediator->IsMailAllowUrls() && IsItemChecked(IDC_SEND_AS_URL);
}

FTPDestinationInfo GuiSendDialog::GetFtpDestination() {
    return m_ftp;
}

std::string GuiSendDialog::GetFtpFileFormat() {
    return m_ftpFormat.GetSelectedText();
}

EmailMsg GuiSendDialog::GetInternetFaxMessage() {
    return m_faxMessage;
}

bool GuiSendDialog::IsAnyDestinationSelected() {
    const bool any = IsHoldQueueSelected() || IsMailboxSelected() || IsSaveToDiskSelected() ||
                     IsEmailSelected() || IsFtpSelected() || IsInternetFaxSelected();
    if (!any) {
        return false;
    }
    if (m_mediator->IsInternetFaxSupported() && IsItemChecked(IDC_SEND_FAX_CHECK) &&
        m_faxMessage.GetRecipientCount() == 0) {
        return false;
    }
    if (IsItemChecked(IDC_SEND_MAILBOX_CHECK) && GetEditText(IDC_SEND_MAILBOX_NAME).empty()) {
        return false;
    }
    if (IsItemChecked(IDC_SEND_SAVE_TO_DISK) && !m_target.IsSet()) {
        return false;
    }
    if (m_mediator->IsEmailSupported() && IsItemChecked(IDC_SEND_EMAIL_CHECK) &&
        m_emailMessage.GetRecipientCount() == 0) {
        return false;
    }
    if (m_mediator->IsFtpSupported() && IsItemChecked(IDC_SEND_FTP_CHECK) &&
        m_ftp.GetServer().empty()) {
        return false;
    }
    return true;
}

void GuiSendDialog::OnDiskFormatChanged() {
    if (!m_target.IsSet()) {
        return;
    }
    const std::string name = m_target.GetFileName();
    CommonCpp::DebugTrace("current file name : %s\n", name.c_str());
    const std::string extension = FormatNameForFileType(m_diskFormat);
    if (extension.empty() || extension == m_target.GetExtension()) {
        return;
    }
    const std::string& path = m_target.GetPath();
    const std::string folder = path.substr(0, path.size() - name.size());
    m_target.SetBaseAndExtension(folder + m_target.GetBaseName(), extension);
    SetButtonText(IDC_SEND_SAVE_AS, m_target.GetFileName());
}

std::string GuiSendDialog::FormatNameForFileType(const PopupButton& picker) {
    const std::string format = picker.GetSelectedText();
    if (format == "PDF") {
        return "pdf";
    }
    if (format == "TIFF") {
        return "tif";
    }
    if (format == "JPEG") {
        return "jpg";
    }
    if (format == "RAW") {
        return "raw";
    }
    return std::string();
}

void GuiSendDialog::LoadEmailMessage() {
    const ScanPreferences& preferences = *QueryMediator();
    LoadMessage(m_emailMessage, preferences, preferences.GetScanMailSubject(),
                StoredBody(preferences.GetNumEmailBodyLines(),
                           [&](int line) { return preferences.GetScanMailBody(line); }),
                ScanPreferences::EmailTo);
}

void GuiSendDialog::LoadFaxMessage() {
    const ScanPreferences& preferences = *QueryMediator();
    LoadMessage(m_faxMessage, preferences, preferences.GetScanIFaxSubject(),
                StoredBody(preferences.GetNumIFaxBodyLines(),
                           [&](int line) { return preferences.GetScanIFaxBody(line); }),
                ScanPreferences::IFaxTo);
}

void GuiSendDialog::ApplyEditedMessage(int mode, const EmailMsg& message) {
    if (mode == kEmailMode) {
        m_emailMessage = message;
        UpdateEmailSummary();
    } else {
        m_faxMessage = message;
        UpdateFaxSummary();
    }
}

void GuiSendDialog::EditMessage(const EmailMsg& message, int mode) {
    OpenChildDialog(std::make_unique<GuiEmailEditDialog>(this, message, mode, GetMediator()));
}

void GuiSendDialog::OnMessageEditorClosed(GuiWindowsDialog* editor) {
    if (const auto* const messageEditor = dynamic_cast<GuiEmailEditDialog*>(editor)) {
        ApplyEditedMessage(messageEditor->GetMode(), messageEditor->GetMessage());
    }
}

bool GuiSendDialog::RunSaveFileDialog(OPENFILENAMEA& request) {
    return GetSaveFileNameA(&request) != FALSE;
}

HWND GuiSendDialog::LabelBefore(int controlId) const {
    return GetWindow(GetItem(controlId), GW_HWNDPREV);
}
