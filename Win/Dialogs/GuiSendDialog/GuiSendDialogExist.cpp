#include "GuiSendDialogExist.h"

#include "GuiSendDialog_rc.h"
#include "ScanPreferences.h"
#include "SendMediator.h"
#include "zylImageFile.h"

GuiSendDialogExist::GuiSendDialogExist(GuiWindowsDialog* owner, ScanAttributeWrapper* attributes,
                                       Scanner* scanner, ScanPreferences* preferences, int page,
                                       zylImageFile* job, SendMediator* mediator)
    : GuiSendDialog(owner, attributes, scanner, preferences, mediator), m_job(job),
      m_pages(std::to_string(page > 0 ? page : 0)) {}

GuiSendDialogExist::~GuiSendDialogExist() = default;

void GuiSendDialogExist::SetupFileName() {
    GuiSendDialog::SetupFileName();
    GetFileNameEdit().SetText(GetMediator()->GetCurrentImageName());
    GetFileNameEdit().Enable(false);
}

void GuiSendDialogExist::SetupMailbox() {
    GuiSendDialog::SetupMailbox();
    CheckItem(IDC_SEND_MAILBOX_CHECK, false);
    EnableItem(IDC_SEND_MAILBOX_CHECK, false);
    DisableMemberControl();
}

void GuiSendDialogExist::SetupFaxDestination() {
    if (GetMediator()->IsInternetFaxSupported()) {
        const bool allowed = m_job != nullptr && m_job->IsEmFaxFormat();
        const bool wanted = QueryMediator()->GetScanSendToInternetFax();
        EnableItem(IDC_SEND_FAX_CHECK, allowed);
        CheckItem(IDC_SEND_FAX_CHECK, allowed && wanted);
        EnableItem(IDC_SEND_EDIT_FAX, allowed && wanted);
    }
    GuiSendDialog::SetupFaxDestination();
}

void GuiSendDialogExist::OnInternetFaxCheck() {
    EnableItem(IDC_SEND_EDIT_FAX, IsItemChecked(IDC_SEND_FAX_CHECK));
    UpdateSendButton();
}

void GuiSendDialogExist::SelectDefaultFormats(PopupButton& picker, const std::string& preferred,
                                              bool allowRaw) {
    // A black-and-white job cannot become a JPEG.
    const bool allowJpeg = m_job == nullptr || m_job->GetPixelType() != 0;
    SendMediator* const mediator = GetMediator();
    std::string defaultFormat = mediator->GetCurrentImageInfo();
    if (defaultFormat.empty()) {
        defaultFormat = mediator->GetFileFormatName(mediator->GetDefaultFileFormat());
    }
    FillFileFormats(picker, preferred, allowRaw, allowJpeg, defaultFormat);
}

bool GuiSendDialogExist::IsMailboxSelected() {
    return false;
}

std::string GuiSendDialogExist::GetPages() {
    return m_pages;
}
