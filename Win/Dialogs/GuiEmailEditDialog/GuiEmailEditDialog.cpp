#include "GuiEmailEditDialog.h"

#include "AbstractSource.h"
#include "GuiAddressBookDialog.h"
#include "GuiEmailEditDialog_rc.h"
#include "GuiAddressBookDialog_rc.h"
#include "ScanPreferences.h"
#include "SendMediator.h"
#include "StringTable_rc.h"
#include "StringUtils.h"

#include <memory>

namespace {

using CommonCpp::ReplaceAll;

// The preference lists of each mode's To, Cc and Bcc (the next two follow the first).
constexpr int kEmailLists = 0;
constexpr int kFaxLists = 3;

} // namespace

GuiEmailEditDialog::GuiEmailEditDialog(GuiWindowsDialog* owner, const EmailMsg& message,
                                       int32_t mode, SendMediator* mediator)
    : GuiWindowsDialog(IDD_EMAIL_EDIT, owner, nullptr), m_message(message), m_mode(mode),
      m_mediator(mediator) {}

GuiEmailEditDialog::~GuiEmailEditDialog() = default;

std::string GuiEmailEditDialog::ToFieldText(const std::string& text) {
    return ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\n", "\r\n");
}

std::string GuiEmailEditDialog::ReadFieldText(int controlId) const {
    return ReplaceAll(GetItemText(controlId), "\r\n", "\n");
}

void GuiEmailEditDialog::Close() {
    m_body.SetHandle(nullptr);
    GuiWindowsDialog::Close();
}

bool GuiEmailEditDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    if (m_mode == kInternetFaxMode) {
        SetTitle(LoadString(IDS_INTERNET_FAX_CAPTION));
    }
    SetToText();
    SetCcText();
    SetBccText();
    SetSubjectText();
    SetBodyText();
    return true;
}

void GuiEmailEditDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    switch (controlId) {
    case IDOK:
        if (notifyCode == BN_CLICKED) {
            OnOk();
        }
        return;
    case IDCANCEL:
        if (notifyCode == BN_CLICKED) {
            EndDialog(2);
        }
        return;
    case IDC_EDIT_TO_BUTTON:
    case IDC_EDIT_CC_BUTTON:
    case IDC_EDIT_BCC_BUTTON:
        if (notifyCode == BN_CLICKED) {
            OpenAddressBook();
        }
        return;
    case IDC_EDIT_TO_FIELD:
    case IDC_EDIT_CC_FIELD:
    case IDC_EDIT_BCC_FIELD:
    case IDC_EDIT_SUBJECT:
    case IDC_EDIT_BODY:
        return;
    default:
        GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
    }
}

void GuiEmailEditDialog::OnCloseRequest(int dialogId, int result) {
    auto* const book = dynamic_cast<GuiAddressBookDialog*>(GetChildDialog());
    if (result == 1 && dialogId == IDD_ADDRESS_BOOK && book != nullptr) {
        m_message = book->GetMessage();
        SetToText();
        SetCcText();
        SetBccText();
    }
    GuiWindowsDialog::OnCloseRequest(dialogId, result);
    EnableBookButtons(true);
}

void GuiEmailEditDialog::PaintBanner(HDC) {}

const EmailMsg& GuiEmailEditDialog::GetMessage() const {
    return m_message;
}

int32_t GuiEmailEditDialog::GetMode() const {
    return m_mode;
}

void GuiEmailEditDialog::SetToText() {
    SetItemText(IDC_EDIT_TO_FIELD, ToFieldText(m_message.GetToString()));
}

void GuiEmailEditDialog::SetCcText() {
    SetItemText(IDC_EDIT_CC_FIELD, ToFieldText(m_message.GetCcString()));
}

void GuiEmailEditDialog::SetBccText() {
    SetItemText(IDC_EDIT_BCC_FIELD, ToFieldText(m_message.GetBccString()));
}

void GuiEmailEditDialog::SetSubjectText() {
    SetItemText(IDC_EDIT_SUBJECT, ToFieldText(m_message.GetSubject()));
}

void GuiEmailEditDialog::SetBodyText() {
    m_body.SetHandle(GetItem(IDC_EDIT_BODY));
    // The text as typed, not the stored lines: ReadFields cuts it into the same lines again.
    m_body.SetText(ToFieldText(m_message.GetBody()));
}

void GuiEmailEditDialog::EnableBookButtons(bool enable) {
    for (const int id : {IDC_EDIT_TO_BUTTON, IDC_EDIT_CC_BUTTON, IDC_EDIT_BCC_BUTTON}) {
        EnableItem(id, enable);
    }
}

void GuiEmailEditDialog::OpenAddressBook() {
    EnableBookButtons(false);
    ReadFields();
    AbstractSource* const source = AbstractSource::Instance();
    try {
        OpenChildDialog(std::make_unique<GuiAddressBookDialog>(
            this, source != nullptr ? source->GetQuorvelWrapper() : nullptr, m_message, m_mode));
    } catch (...) {
        EnableBookButtons(true);
        throw;
    }
}

void GuiEmailEditDialog::OnOk() {
    m_message.ClearTo();
    m_message.ClearCc();
    m_message.ClearBcc();
    ReadFields();
    if (m_mode == kEmailMode) {
        SaveEmailToPreferences();
    } else {
        SaveFaxToPreferences();
    }
    EndDialog(1);
}

void GuiEmailEditDialog::ReadFields() {
    m_message.SetToFromString(ReadFieldText(IDC_EDIT_TO_FIELD));
    m_message.SetCcFromString(ReadFieldText(IDC_EDIT_CC_FIELD));
    m_message.SetBccFromString(ReadFieldText(IDC_EDIT_BCC_FIELD));
    m_message.SetSubject(ReadFieldText(IDC_EDIT_SUBJECT));
    m_message.SetBody(ReadFieldText(IDC_EDIT_BODY));
}

void GuiEmailEditDialog::SaveEmailToPreferences() {
    SaveToPreferences(kEmailLists, false);
}

void GuiEmailEditDialog::SaveFaxToPreferences() {
    SaveToPreferences(kFaxLists, true);
}

void GuiEmailEditDialog::SaveToPreferences(int firstList, bool fax) {
    ScanPreferences* const preferences =
        m_mediator != nullptr ? m_mediator->GetPreferences() : nullptr;
    if (preferences == nullptr) {
        return;
    }
    const struct {
        int32_t count;
        EmailAddress (EmailMsg::*at)(int32_t) const;
    } lists[] = {{m_message.GetToCount(), &EmailMsg::GetTo},
                 {m_message.GetCcCount(), &EmailMsg::GetCc},
                 {m_message.GetBccCount(), &EmailMsg::GetBcc}};
    int list = firstList;
    for (const auto& recipients : lists) {
        preferences->SetNumOfAddress(list, recipients.count);
        for (int32_t i = 0; i < recipients.count; ++i) {
            // Only the bare address is remembered, never the display name.
            preferences->SetAddress(list, i, (m_message.*recipients.at)(i).GetAddress());
        }
        ++list;
    }
    const int32_t lines = m_message.GetLineCount();
    if (fax) {
        preferences->SetScanIFaxSubject(m_message.GetSubject());
        preferences->SetNumIFaxBodyLines(lines);
    } else {
        preferences->SetScanMailSubject(m_message.GetSubject());
        preferences->SetNumEmailBodyLines(lines);
    }
    for (int32_t i = 0; i < lines; ++i) {
        if (fax) {
            preferences->SetScanIFaxBody(i, m_message.GetLine(i));
        } else {
            preferences->SetScanMailBody(i, m_message.GetLine(i));
        }
    }
}
