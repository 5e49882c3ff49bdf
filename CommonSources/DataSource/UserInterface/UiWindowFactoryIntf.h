#pragma once
// Makes the data source's windows. The data source cannot see the window classes (they sit in
// a layer above it): the module entry registers the implementation with
// DataArg_UserInterface::SetWindowFactory, and so does a test that runs the source in-process.

class AcquireWindowIntf;
class ChooserWindowIntf;
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
};
