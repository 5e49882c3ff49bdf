#include "GuiWindowFactory.h"

#include "GuiAcquireJobsDialog.h"
#include "GuiChooserDialog.h"

#include <memory>

GuiWindowFactory* GuiWindowFactory::Instance() {
    static GuiWindowFactory instance;
    return &instance;
}

AcquireWindowIntf* GuiWindowFactory::CreateAcquireJobsDialog(UiWindowIntf* owner,
                                                             QuorvelWrapperIntf* wrapper,
                                                             ScanPreferences& preferences,
                                                             Scanner* scanner) {
    auto dialog = std::make_unique<GuiAcquireJobsDialog>(dynamic_cast<GuiWindowsDialog*>(owner),
                                                         wrapper, preferences, scanner);
    dialog->Create();
    return dialog.release();
}

ChooserWindowIntf* GuiWindowFactory::CreateChooserDialog(UiWindowIntf* owner,
                                                         const ServerList& servers, bool modal) {
    return new GuiChooserDialog(servers, dynamic_cast<GuiWindowsDialog*>(owner), modal);
}
