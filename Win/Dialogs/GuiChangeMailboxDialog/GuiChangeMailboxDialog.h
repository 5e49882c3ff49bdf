#pragma once
// Asks for the name of a server mailbox and its password, as a modeless child of the acquire
// window; the owner reads the entered values after OK (result 1).

#include "AcquireWindowParts.h"
#include "EditCtrl.h"
#include "GuiWindowsDialog.h"

#include <string>

class GuiChangeMailboxDialog : public GuiWindowsDialog, public AcquireMailboxDialogIntf {
public:
    static constexpr int kMailboxLimit = 72;
    static constexpr int kPasswordLimit = 32;

    GuiChangeMailboxDialog(GuiWindowsDialog* owner, const std::string& mailbox);
    ~GuiChangeMailboxDialog() override;

    void Close() override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void PaintBanner(HDC dc) override;

    // The entered values, valid after OK.
    std::string GetMailbox() override;
    std::string GetPassword() override;
    virtual void CheckFields();

private:
    EditCtrl m_mailboxEdit;
    EditCtrl m_passwordEdit;
    std::string m_mailbox;
    std::string m_password;
};
