#pragma once
// Makes the data source's windows. The data source cannot see the window classes (they sit in
// a layer above it): the module entry registers the implementation with
// DataArg_UserInterface::SetWindowFactory, and so does a test that runs the source in-process.

#include "ProgressWindowIntf.h"
#include "WarningWindowIntf.h"

#include <memory>
#include <string>

class AcquireWindowIntf;
class ChooserWindowIntf;
class GuilessAcquireIntf;
class QuorvelWrapperIntf;
class ScanPreferences;
class Scanner;
class ServerList;
class UiWindowIntf;

class UiWindowFactoryIntf {
public:
    UiWindowFactoryIntf() = default;
    UiWindowFactoryIntf(const UiWindowFactoryIntf&) = delete;
    UiWindowFactoryIntf& operator=(const UiWindowFactoryIntf&) = delete;
    virtual ~UiWindowFactoryIntf() = default;

    // A new acquire window, already created (modeless) over the application's window; it is
    // deleted through Close. Throws TwainException when the window cannot be made.
    virtual AcquireWindowIntf* CreateAcquireJobsDialog(UiWindowIntf* owner,
                                                       QuorvelWrapperIntf* wrapper,
                                                       ScanPreferences& preferences,
                                                       Scanner* scanner) = 0;

    // The server chooser over a private copy of servers, not yet on screen: Show runs it
    // modeless, RunModal modal. Throws TwainException when the window cannot be made.
    virtual ChooserWindowIntf* CreateChooserDialog(UiWindowIntf* owner, const ServerList& servers,
                                                   bool modal) = 0;
    // A progress window on a thread of its own, shown and ready when answered; null when the
    // window could not open. The default opens none. Its start dispatches the caller's
    // messages; it has no owner, and the caller disables and enables its own windows.
    virtual std::unique_ptr<ProgressWindowIntf> StartProgressWindow();
    // A warning window showing text, on a thread of its own, as the progress window; null when
    // it could not open.
    virtual std::unique_ptr<WarningWindowIntf> OpenWarningWindow(const std::string& text);
    // The log-in dialog, modal: 1 on OK (user and password set from the fields), else 2 (both
    // left as they were). The default answers 2.
    virtual int RunLoginDialog(UiWindowIntf* owner, std::string& user, std::string& password);
    // The error dialog with text, modal.
    virtual void RunErrorDialog(UiWindowIntf* owner, const std::string& text);
    // A new window-less acquisition, already created: its hidden window has started the scan.
    // Deleted through Close. Null when the implementation has none (enabling is refused).
    virtual GuilessAcquireIntf* CreateGuilessAcquireJobManager(UiWindowIntf* /*owner*/,
                                                               QuorvelWrapperIntf* /*wrapper*/,
                                                               ScanPreferences& /*preferences*/,
                                                               Scanner* /*scanner*/) {
        return nullptr;
    }
};
