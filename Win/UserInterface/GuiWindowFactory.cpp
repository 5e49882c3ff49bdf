#include "GuiWindowFactory.h"

#include "GuiAcquireJobsDialog.h"
#include "GuiChooserDialog.h"
#include "GuiLoginDialog.h"
#include "GuiModalErrorDialog.h"
#include "GuiProgressThreadControl.h"
#include "GuiWarningThreadControl.h"
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

ChooserWindowIntf* GuiWindowFactory::CreateChooserDialog(UiWindowIntf* owner,
                                                         const ServerList& servers, bool modal) {
    return new GuiChooserDialog(servers, dynamic_cast<GuiWindowsDialog*>(owner), modal);
}

std::unique_ptr<ProgressWindowIntf> GuiWindowFactory::StartProgressWindow() {
    auto control = std::make_unique<GuiProgressThreadControl>();
    // A window that could not open ends its thread: the control goes and nothing is shown.
    if (!control->StartAndWait()) {
        return nullptr;
    }
    return control;
}

std::unique_ptr<WarningWindowIntf> GuiWindowFactory::OpenWarningWindow(const std::string& text) {
    auto control = std::make_unique<GuiWarningThreadControl>(text);
    if (!control->StartAndWait()) {
        return nullptr;
    }
    return control;
}

int GuiWindowFactory::RunLoginDialog(UiWindowIntf* owner, std::string& user,
                                     std::string& password) {
    // DoModal deletes the dialog.
    return (new GuiLoginDialog(dynamic_cast<GuiWindowsDialog*>(owner), &user, &password))
        ->DoModal();
}

void GuiWindowFactory::RunErrorDialog(UiWindowIntf* owner, const std::string& text) {
    (new GuiModalErrorDialog(dynamic_cast<GuiWindowsDialog*>(owner), text))->DoModal();
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
