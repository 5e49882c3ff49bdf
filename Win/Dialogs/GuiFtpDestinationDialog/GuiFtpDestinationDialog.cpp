#include "GuiFtpDestinationDialog.h"

#include "DataArg_UserInterface.h"
#include "EditCtrl.h"
#include "GuiFtpDestinationDialog_rc.h"

namespace {

constexpr int kHostLimit = 256;
constexpr int kPathLimit = 260;
constexpr int kPortLimit = 5;
constexpr int kTimeoutLimit = 3;
constexpr int kLoginLimit = 32;

constexpr uint32_t kPlain = EditCtrl::kSingleLine;
constexpr uint32_t kDigits = EditCtrl::kSingleLine | EditCtrl::kDigitsOnly;
constexpr uint32_t kHidden = EditCtrl::kSingleLine | EditCtrl::kPassword;

constexpr unsigned long kHighestPort = 65535;

} // namespace

struct GuiFtpDestinationDialog::Fields {
    explicit Fields(const FTPDestinationInfo& source) : destination(source) {}

    FTPDestinationInfo destination;
    EditCtrl server;
    EditCtrl path;
    EditCtrl port;
    EditCtrl timeout;
    EditCtrl user;
    EditCtrl password;
    EditCtrl proxyAddress;
    EditCtrl proxyPort;
    EditCtrl proxyUser;
    EditCtrl proxyPassword;
};

GuiFtpDestinationDialog::GuiFtpDestinationDialog(GuiWindowsDialog* owner,
                                                 const FTPDestinationInfo& destination,
                                                 Scanner* scanner)
    : GuiWindowsDialog(IDD_FTP_DESTINATION, owner, nullptr), FtpDestMediator(scanner),
      m_fields(std::make_unique<Fields>(destination)) {}

GuiFtpDestinationDialog::~GuiFtpDestinationDialog() {
    DetachFields();
}

void GuiFtpDestinationDialog::Close() {
    DetachFields();
    GuiWindowsDialog::Close();
}

void GuiFtpDestinationDialog::DetachFields() {
    for (EditCtrl* field : {&m_fields->server, &m_fields->path, &m_fields->port, &m_fields->timeout,
                            &m_fields->user, &m_fields->password, &m_fields->proxyAddress,
                            &m_fields->proxyPort, &m_fields->proxyUser, &m_fields->proxyPassword}) {
        field->Detach();
    }
}

bool GuiFtpDestinationDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    FillServerFields();
    FillLoginFields();
    FillProxyFields();
    UpdateButtons();
    return true;
}

void GuiFtpDestinationDialog::OnCommand(int controlId, int notifyCode, HWND) {
    const bool clicked = notifyCode == BN_CLICKED;
    switch (controlId) {
    case IDOK:
        if (clicked) {
            SaveFieldsAndClose();
        }
        break;
    case IDCANCEL:
        if (clicked) {
            EndDialog(IDCANCEL);
        }
        break;
    case IDC_FTP_USE_DEFAULT_PORT:
        if (clicked) {
            OnUseDefaultPort();
            UpdateButtons();
        }
        break;
    case IDC_FTP_USE_DEFAULT_PROXY_PORT:
        if (clicked) {
            OnUseDefaultProxyPort();
            UpdateButtons();
        }
        break;
    case IDC_FTP_ANONYMOUS:
        if (clicked) {
            OnAnonymousLogin();
            UpdateButtons();
        }
        break;
    case IDC_FTP_PROXY_ENABLE:
        if (clicked) {
            OnProxyEnable();
            UpdateButtons();
        }
        break;
    case IDC_FTP_VALIDATE:
        if (clicked) {
            OnValidate();
        }
        break;
    case IDC_FTP_SERVER:
    case IDC_FTP_USER:
    case IDC_FTP_PROXY_ADDRESS:
        UpdateButtons();
        break;
    case IDC_FTP_PORT:
        OnPortChanged();
        OnProxyPortChanged();
        UpdateButtons();
        break;
    case IDC_FTP_PROXY_PORT:
        OnProxyPortChanged();
        UpdateButtons();
        break;
    default:
        break;
    }
}

void GuiFtpDestinationDialog::PaintBanner(HDC) {}

namespace {

void AttachField(const GuiWindowsDialog& dialog, EditCtrl& field, int controlId, int limit,
                 uint32_t mode, const std::string& text) {
    field.SetHandle(dialog.GetItem(controlId));
    field.LimitText(limit);
    field.Attach(mode);
    field.SetText(text);
}

} // namespace

void GuiFtpDestinationDialog::FillServerFields() {
    const FTPDestinationInfo& record = m_fields->destination;
    AttachField(*this, m_fields->server, IDC_FTP_SERVER, kHostLimit, kPlain, record.GetServer());
    AttachField(*this, m_fields->path, IDC_FTP_PATH, kPathLimit, kPlain, record.GetPath());
    AttachField(*this, m_fields->port, IDC_FTP_PORT, kPortLimit, kDigits, record.GetPort());
    const bool defaultPort = record.IsDefaultPort();
    m_fields->port.Enable(!defaultPort);
    CheckItem(IDC_FTP_USE_DEFAULT_PORT, defaultPort);
    AttachField(*this, m_fields->timeout, IDC_FTP_TIMEOUT, kTimeoutLimit, kDigits,
                record.GetTimeout());
}

void GuiFtpDestinationDialog::FillLoginFields() {
    const FTPDestinationInfo& record = m_fields->destination;
    const bool anonymous = record.IsAnonymousLogin();
    AttachField(*this, m_fields->user, IDC_FTP_USER, kLoginLimit, kPlain,
                anonymous ? std::string(kAnonymousUser) : record.GetUserName());
    m_fields->user.Enable(!anonymous);
    AttachField(*this, m_fields->password, IDC_FTP_PASSWORD, kLoginLimit, kHidden,
                anonymous ? std::string() : record.GetPassword());
    CheckItem(IDC_FTP_ANONYMOUS, anonymous);
}

void GuiFtpDestinationDialog::FillProxyFields() {
    const FTPDestinationInfo& record = m_fields->destination;
    const bool proxy = record.IsProxyEnabled();
    const bool defaultPort = record.IsDefaultProxyPort();
    CheckItem(IDC_FTP_PROXY_ENABLE, proxy);
    AttachField(*this, m_fields->proxyAddress, IDC_FTP_PROXY_ADDRESS, kHostLimit, kPlain,
                record.GetProxyAddress());
    m_fields->proxyAddress.Enable(proxy);
    CheckItem(IDC_FTP_USE_DEFAULT_PROXY_PORT, defaultPort);
    EnableItem(IDC_FTP_USE_DEFAULT_PROXY_PORT, proxy);
    AttachField(*this, m_fields->proxyPort, IDC_FTP_PROXY_PORT, kPortLimit, kDigits,
                record.GetProxyPort());
    m_fields->proxyPort.Enable(proxy && !defaultPort);
    AttachField(*this, m_fields->proxyUser, IDC_FTP_PROXY_USER, kLoginLimit, kPlain,
                record.GetProxyUserName());
    m_fields->proxyUser.Enable(proxy);
    AttachField(*this, m_fields->proxyPassword, IDC_FTP_PROXY_PASSWORD, kLoginLimit, kHidden,
                record.GetProxyPassword());
    m_fields->proxyPassword.Enable(proxy);
}

void GuiFtpDestinationDialog::OnAnonymousLogin() {
    UseDefault(IDC_FTP_ANONYMOUS, m_fields->user);
}

void GuiFtpDestinationDialog::OnProxyEnable() {
    const bool proxy = IsItemChecked(IDC_FTP_PROXY_ENABLE);
    m_fields->proxyAddress.Enable(proxy);
    m_fields->proxyAddress.SetFocus(proxy);
    EnableItem(IDC_FTP_USE_DEFAULT_PROXY_PORT, proxy);
    m_fields->proxyPort.Enable(proxy && !IsItemChecked(IDC_FTP_USE_DEFAULT_PROXY_PORT));
    m_fields->proxyUser.Enable(proxy);
    m_fields->proxyPassword.Enable(proxy);
}

void GuiFtpDestinationDialog::OnValidate() {
    ReportValidation(Validate());
}

void GuiFtpDestinationDialog::ReportValidation(int resultCode) {
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->ReportServerError(resultCode);
    }
}

void GuiFtpDestinationDialog::SaveFieldsAndClose() {
    GetDestinationInfo(m_fields->destination);
    EndDialog(IDOK);
}

FTPDestinationInfo GuiFtpDestinationDialog::GetDestinationInfo() const {
    return m_fields->destination;
}

std::string GuiFtpDestinationDialog::GetServer() {
    return m_fields->server.GetText();
}

std::string GuiFtpDestinationDialog::GetPort() {
    return m_fields->port.GetText();
}

std::string GuiFtpDestinationDialog::GetPassword() {
    return m_fields->password.GetText();
}

std::string GuiFtpDestinationDialog::GetUserName() {
    return m_fields->user.GetText();
}

std::string GuiFtpDestinationDialog::GetRemoteDir() {
    return m_fields->path.GetText();
}

std::string GuiFtpDestinationDialog::GetProxyServer() {
    return IsProxyEnabled() ? m_fields->proxyAddress.GetText() : std::string();
}

std::string GuiFtpDestinationDialog::GetProxyPort() {
    return IsProxyEnabled() ? m_fields->proxyPort.GetText() : std::string();
}

std::string GuiFtpDestinationDialog::GetProxyUserName() {
    return IsProxyEnabled() ? m_fields->proxyUser.GetText() : std::string();
}

std::string GuiFtpDestinationDialog::GetProxyPassword() {
    return IsProxyEnabled() ? m_fields->proxyPassword.GetText() : std::string();
}

std::string GuiFtpDestinationDialog::GetTimeout() {
    return m_fields->timeout.GetText();
}

bool GuiFtpDestinationDialog::IsAnonymousLogin() {
    return IsItemChecked(IDC_FTP_ANONYMOUS);
}

bool GuiFtpDestinationDialog::IsProxyEnabled() {
    return IsItemChecked(IDC_FTP_PROXY_ENABLE);
}

bool GuiFtpDestinationDialog::UpdateValidateButton() {
    if (GetPort().empty() || GetUserName().empty()) {
        return false;
    }
    if (IsItemChecked(IDC_FTP_PROXY_ENABLE)) {
        return !GetProxyServer().empty() && !GetProxyPort().empty();
    }
    return !GetServer().empty();
}

void GuiFtpDestinationDialog::UpdateButtons() {
    const bool ready = UpdateValidateButton();
    EnableItem(IDC_FTP_VALIDATE, ready);
    EnableItem(IDOK, ready);
}

void GuiFtpDestinationDialog::OnUseDefaultPort() {
    UseDefault(IDC_FTP_USE_DEFAULT_PORT, m_fields->port);
}

void GuiFtpDestinationDialog::OnUseDefaultProxyPort() {
    UseDefault(IDC_FTP_USE_DEFAULT_PROXY_PORT, m_fields->proxyPort);
}

void GuiFtpDestinationDialog::UseDefault(int checkId, EditCtrl& field) {
    if (IsItemChecked(checkId)) {
        field.SetText(checkId == IDC_FTP_ANONYMOUS ? kAnonymousUser : kDefaultPort);
        field.Enable(false);
    } else {
        field.SetText(std::string());
        field.Enable(true);
        field.SetFocus(true);
    }
}

void GuiFtpDestinationDialog::OnPortChanged() {
    CheckPortNumber(m_fields->port);
}

void GuiFtpDestinationDialog::OnProxyPortChanged() {
    CheckPortNumber(m_fields->proxyPort);
}

void GuiFtpDestinationDialog::CheckPortNumber(EditCtrl& field) {
    if (field.GetHandle() == nullptr) {
        return;
    }
    const std::string text = field.GetText();
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + static_cast<unsigned long>(c - '0');
        if (value > kHighestPort) {
            break;
        }
    }
    if (value > kHighestPort) {
        field.SetText(std::to_string(kHighestPort));
    } else if (text == "0") {
        field.SetText("1");
    }
}
