#include "GuiSendDialogInit.h"

#include "GuiSendDialog_rc.h"
#include "ScanAttributeWrapper.h"
#include "ScanPreferences.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "SendMediator.h"

GuiSendDialogInit::GuiSendDialogInit(GuiWindowsDialog* owner, ScanAttributeWrapper* attributes,
                                     Scanner* scanner, ScanPreferences* preferences,
                                     SendMediator* mediator, bool internetFax)
    : GuiSendDialog(owner, attributes, scanner, preferences, mediator), m_internetFax(internetFax) {
}

GuiSendDialogInit::~GuiSendDialogInit() = default;

void GuiSendDialogInit::SetupMailbox() {
    GuiSendDialog::SetupMailbox();
    const ScanPreferences* const preferences = QueryMediator();
    const bool disk = preferences->GetSaveToDiskCheck();
    const bool mailbox = preferences->GetScanSendMailbox();
    EnableItem(IDC_SEND_MAILBOX_CHECK, !disk);
    CheckItem(IDC_SEND_MAILBOX_CHECK, !disk && mailbox);
    EnableItem(IDC_SEND_MAILBOX_NAME, !disk && mailbox);
}

void GuiSendDialogInit::SetupFaxDestination() {
    if (GetMediator()->IsInternetFaxSupported()) {
        Scanner* const scanner = GetMediator()->GetScanner();
        ScanServerCapabilities* const capabilities =
            scanner != nullptr ? scanner->GetServerCapabilities() : nullptr;
        const bool gate = capabilities != nullptr && capabilities->HasMkEmFaxable();
        const bool wanted = QueryMediator()->GetScanSendToInternetFax();
        EnableItem(IDC_SEND_FAX_CHECK, gate && m_internetFax);
        const bool chosen = gate ? m_internetFax && wanted : m_internetFax;
        CheckItem(IDC_SEND_FAX_CHECK, chosen);
        EnableItem(IDC_SEND_EDIT_FAX, chosen);
    }
    GuiSendDialog::SetupFaxDestination();
}

void GuiSendDialogInit::OnInternetFaxCheck() {
    EnableItem(IDC_SEND_EDIT_FAX, IsItemChecked(IDC_SEND_FAX_CHECK));
    UpdateSendButton();
}

void GuiSendDialogInit::StoreSelections() {
    QueryMediator()->SetScanSendMailbox(IsItemChecked(IDC_SEND_MAILBOX_CHECK) &&
                                        !IsItemChecked(IDC_SEND_SAVE_TO_DISK));
    GuiSendDialog::StoreSelections();
}

void GuiSendDialogInit::UpdateSendButton() {
    if (IsItemChecked(IDC_SEND_MAILBOX_CHECK)) {
        CheckItem(IDC_SEND_SAVE_TO_DISK, false);
        EnableItem(IDC_SEND_SAVE_TO_DISK, false);
        EnableItem(IDC_SEND_SAVE_AS, false);
        EnableItem(IDC_SEND_DISK_FORMAT, false);
    } else if (IsItemChecked(IDC_SEND_SAVE_TO_DISK)) {
        CheckItem(IDC_SEND_MAILBOX_CHECK, false);
        EnableItem(IDC_SEND_MAILBOX_CHECK, false);
        EnableItem(IDC_SEND_MAILBOX_NAME, false);
    } else {
        EnableItem(IDC_SEND_SAVE_TO_DISK, true);
        EnableItem(IDC_SEND_MAILBOX_CHECK, true);
    }
    GuiSendDialog::UpdateSendButton();
}

void GuiSendDialogInit::SelectDefaultFormats(PopupButton& picker, const std::string& preferred,
                                             bool allowRaw) {
    SendMediator* const mediator = GetMediator();
    const ScanAttributeWrapper* const attributes = mediator->GetJobAttributes();
    const bool allowJpeg =
        attributes == nullptr || attributes->GetAttribute("COLOR_MODE") != "BLACK_WHITE";
    FillFileFormats(picker, preferred, allowRaw, allowJpeg,
                    mediator->GetFileFormatName(mediator->GetDefaultFileFormat()));
}
