#pragma once
// The windows of the data source as the user-interface handler makes them. The module entry
// registers the one instance (DataArg_UserInterface::SetWindowFactory); so does a test that
// runs the source in-process.

#include "UiWindowFactoryIntf.h"

class GuiWindowFactory : public UiWindowFactoryIntf {
public:
    static GuiWindowFactory* Instance();

    AcquireWindowIntf* CreateAcquireJobsDialog(UiWindowIntf* owner, QuorvelWrapperIntf* wrapper,
                                               ScanPreferences& preferences,
                                               Scanner* scanner) override;
    ChooserWindowIntf* CreateChooserDialog(UiWindowIntf* owner, const ServerList& servers,
                                           bool modal) override;
    std::unique_ptr<ProgressWindowIntf> StartProgressWindow() override;
    std::unique_ptr<WarningWindowIntf> OpenWarningWindow(const std::string& text) override;
    int RunLoginDialog(UiWindowIntf* owner, std::string& user, std::string& password) override;
    void RunErrorDialog(UiWindowIntf* owner, const std::string& text) override;
    GuilessAcquireIntf* CreateGuilessAcquireJobManager(UiWindowIntf* owner,
                                                       QuorvelWrapperIntf* wrapper,
                                                       ScanPreferences& preferences,
                                                       Scanner* scanner) override;
};
