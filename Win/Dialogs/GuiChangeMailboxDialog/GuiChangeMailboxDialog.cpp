#include "GuiChangeMailboxDialog.h"

#include "DataArg_UserInterface.h"
#include "GuiChangeMailboxDialog_rc.h"

GuiChangeMailboxDialog::GuiChangeMailboxDialog(GuiWindowsDialog* owner, const std::string& mailbox)
    : GuiWindowsDialog(IDD_CHANGE_MAILBOX, owner, nullptr), m_mailbox(mailbox) {}

GuiChangeMailboxDialog::~GuiChangeMailboxDialog() = default;

void GuiChangeMailboxDialog::Close() {
    m_mailboxEdit.Detach();
    m_passwordEdit.Detach();
    GuiWindowsDialog::Close();
}

bool GuiChangeMailboxDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    m_mailboxEdit.SetHandle(GetItem(IDC_MAILBOX_NAME));
    m_mailboxEdit.Attach(EditCtrl::kSingleLine);
    m_mailboxEdit.LimitText(kMailboxLimit);
    m_mailboxEdit.SetText(m_mailbox);
    m_passwordEdit.SetHandle(GetItem(IDC_MAILBOX_PASSWORD));
    m_passwordEdit.Attach(EditCtrl::kSingleLine | EditCtrl::kPassword);
    m_passwordEdit.LimitText(kPasswordLimit);
    if (getApplicationProductName().find("PaperPort") != std::string::npos) {
        SetWindowPos(GetHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    if (m_mailbox.empty()) {
        EnableItem(IDOK, false);
        return true;
    }
    m_passwordEdit.SetFocus(true);
    return false;
}

void GuiChangeMailboxDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    switch (controlId) {
    case IDC_MAILBOX_NAME:
        m_mailbox = m_mailboxEdit.GetText();
        EnableItem(IDOK, !m_mailbox.empty());
        return;
    case IDOK:
        if (notifyCode == BN_CLICKED) {
            CheckFields();
        }
        return;
    case IDCANCEL:
        if (notifyCode == BN_CLICKED) {
            EndDialog(2);
        }
        return;
    default:
        GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
    }
}

void GuiChangeMailboxDialog::PaintBanner(HDC) {}

std::string GuiChangeMailboxDialog::GetMailbox() {
    return m_mailbox;
}

std::string GuiChangeMailboxDialog::GetPassword() {
    return m_password;
}

void GuiChangeMailboxDialog::CheckFields() {
    m_mailbox = m_mailboxEdit.GetText();
    m_password = m_passwordEdit.GetText();
    EndDialog(1);
}
