#pragma once
// Makes the data source's windows. The data source cannot see the window classes (they sit in
// a layer above it): the module entry registers the implementation with
// DataArg_UserInterface::SetWindowFactory, and so does a test that runs the source in-process.

class AcquireWindowIntf;
class GuilessAcquireIntf;
class QuorvelWrapperIntf;
class ScanPreferences;
class Scanner;
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
    // A new window-less acquisition, already created: its hidden window has started the scan.
    // Deleted through Close. Null when the implementation has none (enabling is refused).
    virtual GuilessAcquireIntf* CreateGuilessAcquireJobManager(UiWindowIntf* /*owner*/,
                                                               QuorvelWrapperIntf* /*wrapper*/,
                                                               ScanPreferences& /*preferences*/,
                                                               Scanner* /*scanner*/) {
        return nullptr;
    }
};
