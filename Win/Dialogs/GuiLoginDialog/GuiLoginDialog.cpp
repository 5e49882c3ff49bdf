#include "GuiLoginDialog.h"

#include "EditCtrl.h"
#include "GuiLoginDialog_rc.h"
#include "HostTopmost.h"

struct GuiLoginDialog::Fields {
    EditCtrl userName;
    EditCtrl password;
    std::string* userNameTarget;
    std::string* passwordTarget;
};

GuiLoginDialog::GuiLoginDialog(GuiWindowsDialog* owner, std::string* userName,
                               std::string* password)
    : GuiWindowsDialog(IDD_LOGIN, owner, nullptr),
      m_fields(new Fields{{}, {}, userName, password}) {}

GuiLoginDialog::~GuiLoginDialog() {
    m_fields->password.Detach();
    m_fields->userName.Detach();
    m_fields.reset();
}

void GuiLoginDialog::Close() {
    m_fields->userName.Detach();
    m_fields->password.Detach();
    GuiWindowsDialog::Close();
}

bool GuiLoginDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    ApplyHostTopmostRule(GetHwnd());
    m_fields->userName.SetHandle(GetItem(IDC_LOGIN_USER_NAME));
    m_fields->password.SetHandle(GetItem(IDC_LOGIN_PASSWORD));
    m_fields->userName.Attach(EditCtrl::kSingleLine);
    m_fields->password.Attach(EditCtrl::kSingleLine | EditCtrl::kPassword);
    return true;
}

void GuiLoginDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    if (controlId == IDOK || controlId == IDCANCEL) {
        if (notifyCode == BN_CLICKED) {
            if (controlId == IDOK) {
                OnOk();
            } else {
                OnCancel();
            }
        }
        return;
    }
    GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
}

void GuiLoginDialog::OnOk() {
    *m_fields->userNameTarget = m_fields->userName.GetText();
    *m_fields->passwordTarget = m_fields->password.GetText();
    EndDialog(1);
}

void GuiLoginDialog::OnCancel() {
    EndDialog(2);
}
