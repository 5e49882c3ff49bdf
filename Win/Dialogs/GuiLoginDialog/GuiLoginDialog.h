#pragma once
// The log-in dialog (dialog 217): a user name and a password for a server that asks for a
// log-in, run modally. It only collects the two texts: OK (1) hands them to the caller's
// strings, Cancel (2) leaves those as they were.

#include "GuiWindowsDialog.h"

#include <memory>
#include <string>

class GuiLoginDialog : public GuiWindowsDialog {
public:
    // The two strings are the caller's and must outlive the dialog.
    GuiLoginDialog(GuiWindowsDialog* owner, std::string* userName, std::string* password);
    ~GuiLoginDialog() override;

    // Detaches the fields, then deletes the dialog.
    void Close() override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;

    virtual void OnOk();
    virtual void OnCancel();

private:
    struct Fields;
    std::unique_ptr<Fields> m_fields;
};
