#pragma once
// Edits the message the server sends with a job by e-mail (mode 1) or internet fax (mode 2):
// recipients, subject and body, on a copy of the send dialog's message. The To..., Cc... and
// Bcc... buttons open the address book. OK (result 1) also remembers the message in the user's
// preferences, so that the next send starts from it.

#include "EditCtrl.h"
#include "EmailMsg.h"
#include "GuiWindowsDialog.h"

#include <cstdint>
#include <string>

class SendMediator;

class GuiEmailEditDialog : public GuiWindowsDialog {
public:
    static constexpr int32_t kEmailMode = 1;
    static constexpr int32_t kInternetFaxMode = 2;

    // The mediator is not owned; its preferences receive the message on OK.
    GuiEmailEditDialog(GuiWindowsDialog* owner, const EmailMsg& message, int32_t mode,
                       SendMediator* mediator);
    ~GuiEmailEditDialog() override;

    void Close() override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    // The address book ended: on OK its recipients replace the editor's.
    void OnCloseRequest(int dialogId, int result) override;
    void PaintBanner(HDC dc) override;

    virtual const EmailMsg& GetMessage() const;
    virtual int32_t GetMode() const;
    virtual void SetToText();
    virtual void SetCcText();
    virtual void SetBccText();
    virtual void SetSubjectText();
    virtual void SetBodyText();
    virtual void OpenAddressBook();
    virtual void OnOk();
    virtual void ReadFields();

    // Field form of a text: "\r\n" line ends.
    static std::string ToFieldText(const std::string& text);

protected:
    // A field's text with "\n" line ends.
    std::string ReadFieldText(int controlId) const;
    void SaveEmailToPreferences();
    void SaveFaxToPreferences();

private:
    void EnableBookButtons(bool enable);
    // The message into the preferences: recipient lists first..first+2, then subject and body.
    void SaveToPreferences(int firstList, bool fax);

    EmailMsg m_message;
    int32_t m_mode;
    EditCtrl m_body;
    SendMediator* m_mediator;
};
