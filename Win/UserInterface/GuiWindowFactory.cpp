#include "GuiWindowFactory.h"

#include "GuiAcquireJobsDialog.h"
#include "GuilessAcquireJobManager.h"

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

GuilessAcquireIntf* GuiWindowFactory::CreateGuilessAcquireJobManager(UiWindowIntf* owner,
                                                                     QuorvelWrapperIntf* wrapper,
                                                                     ScanPreferences& preferences,
                                                                     Scanner* scanner) {
    auto manager = std::make_unique<GuilessAcquireJobManager>(
        dynamic_cast<GuiWindowsDialog*>(owner), wrapper, preferences, scanner);
    manager->Create();
    return manager.release();
}
