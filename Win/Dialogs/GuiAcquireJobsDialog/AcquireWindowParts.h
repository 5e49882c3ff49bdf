#pragma once
// The windows the acquire window opens over itself: its two panes, the send dialog, the
// change-mailbox dialog and the about box. The window knows them only through the small
// interfaces below and makes them through one AcquireWindowParts, so that each window class
// lives on its own; GuiAcquireJobsDialog::SetParts replaces the process-wide instance (tests
// put stand-ins there). The default makes the real panes and dialogs; each derives from its
// interface here, whose operations carry the class's own names.

#include <cstdint>
#include <memory>
#include <string>

#include "quorvel_api.h"

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
    virtual zylImageFile* GetSelectedImageFile() = 0;
    // Keeps the selected job for a later send.
    virtual void RememberSelectedJob() = 0;
    // The kept job; null while none was kept or it left the scanner.
    virtual zylImageFile* GetRememberedImageFile() = 0;
    // -1 for all pages, else the page number.
    virtual int32_t GetSelectedPage() = 0;
    virtual std::string GetMailboxName() const = 0;
    // False when the mailbox cannot be opened.
    virtual bool ChangeMailbox(const std::string& name, const std::string& password) = 0;
    // A scan event the window handled while this pane was shown.
    virtual void OnScanEvent(const ScanEventRecord* record) = 0;
    // Reloads the list when the job is in the shown mailbox (-1: in any case).
    virtual bool ReloadJobList(int32_t jobId) = 0;
};

// The initiate pane: the settings of a new scan.
class AcquireInitiatePaneIntf {
public:
    virtual ~AcquireInitiatePaneIntf() = default;
    // Writes the pane's settings into the job attributes it was made with.
    virtual InitiateMediator* GetInitiateMediator() = 0;
    virtual void RefreshSettings() = 0;
};

// The send dialog, read by the window once it ended with OK.
class AcquireSendDialogIntf {
public:
    virtual ~AcquireSendDialogIntf() = default;
    virtual CommonCpp::FileSpec GetFileSpec() const = 0;
    virtual std::string GetFileName() = 0;
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
    virtual std::string GetMailbox() = 0;
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
    // (0 the whole job), not yet created; it must also be an AcquireSendDialogIntf and takes
    // the mediator over. Null: nothing to send with (the mediator is gone too).
    virtual GuiWindowsDialog* CreateSendDialog(GuiAcquireJobsDialog& window,
                                               std::unique_ptr<SendMediator> mediator,
                                               zylImageFile* job, int32_t page);
    // The change-mailbox dialog, not yet created; also an AcquireMailboxDialogIntf.
    virtual GuiWindowsDialog* CreateChangeMailboxDialog(GuiAcquireJobsDialog& window,
                                                        const std::string& mailbox);
    // Runs the about box modally.
    virtual void RunAboutDialog(GuiAcquireJobsDialog& window);
};
