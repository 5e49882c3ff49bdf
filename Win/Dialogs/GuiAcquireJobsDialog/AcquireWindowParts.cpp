#include "AcquireWindowParts.h"

GuiMultiPane* AcquireWindowParts::CreateRetrievePane(GuiAcquireJobsDialog&, ScanAttributeWrapper&,
                                                     ScanPreferences&, Scanner*) {
    return nullptr;
}

GuiMultiPane* AcquireWindowParts::CreateInitiatePane(GuiAcquireJobsDialog&, QuorvelWrapperIntf*,
                                                     Scanner*, ScanAttributeWrapper&) {
    return nullptr;
}

GuiWindowsDialog* AcquireWindowParts::CreateSendDialog(GuiAcquireJobsDialog&, SendMediator&,
                                                       zylImageFile*, int32_t) {
    return nullptr;
}

GuiWindowsDialog* AcquireWindowParts::CreateChangeMailboxDialog(GuiAcquireJobsDialog&,
                                                                const std::string&) {
    return nullptr;
}

void AcquireWindowParts::RunAboutDialog(GuiAcquireJobsDialog&) {}
