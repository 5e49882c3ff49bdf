#include "AcquireWindowParts.h"

#include "GuiAboutDialog.h"
#include "GuiAcquireJobsDialog.h"
#include "GuiChangeMailboxDialog.h"
#include "GuiScanInitiateDialog.h"
#include "GuiScanRetrieveDialog.h"
#include "GuiSendDialogExist.h"
#include "GuiSendDialogInit.h"
#include "InitiateClient.h"
#include "ScanAttributeWrapper.h"
#include "Scanner.h"
#include "SendMediator.h"

GuiMultiPane* AcquireWindowParts::CreateRetrievePane(GuiAcquireJobsDialog& window,
                                                     ScanAttributeWrapper& attributes,
                                                     ScanPreferences& preferences,
                                                     Scanner* scanner) {
    return new GuiScanRetrieveDialog(&window, &attributes, &preferences, scanner);
}

GuiMultiPane* AcquireWindowParts::CreateInitiatePane(GuiAcquireJobsDialog& window,
                                                     QuorvelWrapperIntf* wrapper, Scanner* scanner,
                                                     ScanAttributeWrapper& attributes) {
    return new GuiScanInitiateDialog(&window, wrapper, &attributes, scanner,
                                     &window.GetPreferences());
}

GuiWindowsDialog* AcquireWindowParts::CreateSendDialog(GuiAcquireJobsDialog& window,
                                                       std::unique_ptr<SendMediator> mediator,
                                                       zylImageFile* job, int32_t page) {
    ScanAttributeWrapper& attributes = window.GetJobAttributes();
    ScanPreferences* const preferences = &window.GetPreferences();
    Scanner* const scanner = window.GetScanner();
    if (window.IsRetrievePaneCurrent()) {
        return new GuiSendDialogExist(&window, &attributes, scanner, preferences, page, job,
                                      mediator.release());
    }
    auto* const settings = dynamic_cast<InitiateClient*>(window.GetInitiatePane());
    const bool internetFax = settings != nullptr && settings->GetInternetFax();
    return new GuiSendDialogInit(&window, &attributes, scanner, preferences, mediator.release(),
                                 internetFax);
}

GuiWindowsDialog* AcquireWindowParts::CreateChangeMailboxDialog(GuiAcquireJobsDialog& window,
                                                                const std::string& mailbox) {
    return new GuiChangeMailboxDialog(&window, mailbox);
}

void AcquireWindowParts::RunAboutDialog(GuiAcquireJobsDialog& window) {
    (new GuiAboutDialog(&window))->DoModal();
}
