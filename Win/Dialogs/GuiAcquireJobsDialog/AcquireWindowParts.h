#pragma once
// The windows the acquire window opens over itself: its two panes, the send dialog, the
// change-mailbox dialog and the about box. The window knows them only through the small
// interfaces below and makes them through one AcquireWindowParts, so that each window class
// lives on its own; GuiAcquireJobsDialog::SetParts replaces the process-wide instance (tests
// put stand-ins there). The default makes no pane and no dialog: the window then shows no
// tabs, and Send..., the logo and the mailbox dialog open nothing.
//
// To plug in a window class: let it derive from its interface here as well (the operation
// names are its own), and return it from the matching Create operation of the default parts.

#include <cstdint>
#include <string>

class GuiAcquireJobsDialog;
class GuiMultiPane;
class GuiWindowsDialog;
class InitiateMediator;
class QuorvelWrapperIntf;
class ScanAttributeWrapper;
class ScanPreferences;
class Scanner;
class SendMediator;
class zylImageFile;
namespace CommonCpp {
class FileSpec;
}

// The retrieve pane: the server's stored jobs.
class AcquireRetrievePaneIntf {
public:
    virtual ~AcquireRetrievePaneIntf() = default;
    // The selected job's image from the scanner; null without a selection.
    virtual zylImageFile* SelectJobOnSource() = 0;
    // The job of the selected row; null without one.
    virtual zylImageFile* ReselectJob() = 0;
    // -1 for all pages, else the page number.
    virtual int GetSelectedPage() = 0;
    virtual std::string GetMailboxName() = 0;
    // False when the mailbox cannot be opened.
    virtual bool ChangeMailbox(const std::string& name, const std::string& password) = 0;
    // A scan event reached the window: the list may have changed.
    virtual void ReloadJobs(int32_t eventType) = 0;
    virtual void GetAcquireRequest(int32_t jobId) = 0;
};

// The initiate pane: the settings of a new scan.
class AcquireInitiatePaneIntf {
public:
    virtual ~AcquireInitiatePaneIntf() = default;
    // Writes the pane's settings into the job attributes it was made with.
    virtual InitiateMediator* GetSettingsBlock() = 0;
    virtual void RefreshSettings() = 0;
};

// The send dialog, read by the window once it ended with OK.
class AcquireSendDialogIntf {
public:
    virtual ~AcquireSendDialogIntf() = default;
    virtual CommonCpp::FileSpec GetFileSpec() = 0;
    virtual std::string GetResultText() = 0;
    virtual bool IsSaveToDiskSelected() = 0;
    virtual bool IsEmailSelected() = 0;
    virtual bool IsFtpSelected() = 0;
    virtual bool IsHoldQueueSelected() = 0;
    virtual bool IsInternetFaxSelected() = 0;
    virtual bool IsMailboxSelected() = 0;
};

// The change-mailbox dialog, read once it ended with OK.
class AcquireMailboxDialogIntf {
public:
    virtual ~AcquireMailboxDialogIntf() = default;
    virtual std::string GetMailboxName() = 0;
    virtual std::string GetPassword() = 0;
};

class AcquireWindowParts {
public:
    AcquireWindowParts() = default;
    AcquireWindowParts(const AcquireWindowParts&) = delete;
    AcquireWindowParts& operator=(const AcquireWindowParts&) = delete;
    virtual ~AcquireWindowParts() = default;

    // Panes over the window (not yet created: the window adds them); each must also be its
    // pane interface. Null: no such pane.
    virtual GuiMultiPane* CreateRetrievePane(GuiAcquireJobsDialog& window,
                                             ScanAttributeWrapper& attributes,
                                             ScanPreferences& preferences, Scanner* scanner);
    virtual GuiMultiPane* CreateInitiatePane(GuiAcquireJobsDialog& window,
                                             QuorvelWrapperIntf* wrapper, Scanner* scanner,
                                             ScanAttributeWrapper& attributes);
    // The send dialog over the window for a new scan (job null) or a stored job and its page
    // (0 the whole job), not yet created; it must also be an AcquireSendDialogIntf. Null:
    // nothing to send with.
    virtual GuiWindowsDialog* CreateSendDialog(GuiAcquireJobsDialog& window, SendMediator& mediator,
                                               zylImageFile* job, int32_t page);
    // The change-mailbox dialog, not yet created; also an AcquireMailboxDialogIntf.
    virtual GuiWindowsDialog* CreateChangeMailboxDialog(GuiAcquireJobsDialog& window,
                                                        const std::string& mailbox);
    // Runs the about box modally.
    virtual void RunAboutDialog(GuiAcquireJobsDialog& window);
};
