#pragma once
// The Send window (dialog 1600): where a job goes instead of the application (hold queue,
// mailbox, the user's disk, e-mail, FTP, Internet fax). It only collects the choices: Send has
// the mediator write them into the job's attributes, stores them as preferences and ends with
// 1; the acquire window then sends or initiates the job and saves to disk. Destinations the
// server does not offer are hidden and the window shrinks. A modeless child of the acquire
// window; only its variants (GuiSendDialogExist, GuiSendDialogInit) are opened.

#include "AcquireWindowParts.h"
#include "EmailMsg.h"
#include "EditCtrl.h"
#include "FTPDestinationInfo.h"
#include "FileSpec.h"
#include "GuiWindowsDialog.h"
#include "PopupButton.h"
#include "SendMediatorClient.h"

#include <commdlg.h>

#include <memory>
#include <string>

class ScanAttributeWrapper;
class ScanPreferences;
class Scanner;
class SendMediator;

class GuiSendDialog : public GuiWindowsDialog,
                      public SendMediatorClient,
                      public AcquireSendDialogIntf {
public:
    // Modes of the message editor.
    static constexpr int kEmailMode = 1;
    static constexpr int kInternetFaxMode = 2;
    // Dialog id of the message editor.
    static constexpr int kMessageEditorId = 1250;
    // Longest summary shown on an edit button before it is cut.
    static constexpr size_t kSummaryLength = 40;

    // Takes the mediator over; the attributes and preferences are reached through it.
    GuiSendDialog(GuiWindowsDialog* owner, ScanAttributeWrapper* attributes, Scanner* scanner,
                  ScanPreferences* preferences, SendMediator* mediator);
    ~GuiSendDialog() override;

    void Close() override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    // A child editor closed: its OK result changes the message or the FTP destination.
    void OnCloseRequest(int dialogId, int result) override;

    CommonCpp::FileSpec GetFileSpec() const override;
    // The disk picker's selected entry (entry 0 when none is selected).
    virtual std::string GetDiskFormatName() const;
    virtual void SetupFileName();
    virtual void SetupMailbox();
    virtual void SetupDiskDestination();
    virtual void SetupEmailDestination();
    virtual void SetupHoldQueue();
    virtual void SetupFtpDestination();
    virtual void SetupFaxDestination();
    virtual void InitControls();
    virtual void OnSend();
    virtual void OnFileNameChanged();
    virtual void OnMailboxCheck();
    virtual void OnMailboxTextChanged();
    virtual void OnSaveToDiskCheck();
    virtual void OnSaveAs();
    virtual void OnEmailCheck();
    virtual void OnSendModeChanged(bool asUrl);
    virtual void OnHoldQueueCheck();
    virtual void OnEditEmail();
    virtual void OnFtpCheck();
    virtual void OnEditFtp();
    virtual void OnInternetFaxCheck();
    virtual void OnEditInternetFax();
    virtual void StoreSelections();
    virtual void UpdateEmailSummary();
    virtual void UpdateFtpSummary();
    virtual void UpdateFaxSummary();
    virtual void UpdateSendButton();
    virtual void LoadFtpDestination();
    virtual void SaveFtpDestination();
    virtual void DisableMemberControl();
    virtual ScanPreferences* QueryMediator();
    virtual SendMediator* GetMediator();
    virtual EditCtrl& GetFileNameEdit();
    // Adds the server's formats in its order (JPEG and RAW only where allowed), then selects
    // the default format.
    virtual void FillFileFormats(PopupButton& picker, const std::string& preferred, bool allowRaw,
                                 bool allowJpeg, const std::string& defaultFormat);
    // Each variant fills the picker for its job.
    virtual void SelectDefaultFormats(PopupButton& picker, const std::string& preferred,
                                      bool allowRaw);

    bool IsHoldQueueSelected() override;
    bool IsMailboxSelected() override;
    bool IsSaveToDiskSelected() override;
    bool IsEmailSelected() override;
    bool IsFtpSelected() override;
    bool IsInternetFaxSelected() override;
    std::string GetFileName() override;
    std::string GetPages() override;
    std::string GetMailboxName() override;
    std::string GetEmailFileFormat() override;
    EmailMsg GetEmailMessage() override;
    bool IsSendAsUrl() override;
    FTPDestinationInfo GetFtpDestination() override;
    std::string GetFtpFileFormat() override;
    EmailMsg GetInternetFaxMessage() override;
    // Something is chosen and nothing checked lacks its data.
    bool IsAnyDestinationSelected() override;

    // Keeps a picked file in step with the disk format.
    void OnDiskFormatChanged();
    // The extension of the picker's selected format ("pdf", "tif", "jpg", "raw"); empty for
    // any other format.
    static std::string FormatNameForFileType(const PopupButton& picker);
    void LoadEmailMessage();
    void LoadFaxMessage();
    // The message editor's OK: its message replaces the e-mail (mode 1) or the fax message.
    void ApplyEditedMessage(int mode, const EmailMsg& message);

protected:
    // Opens the message editor as this dialog's child.
    virtual void EditMessage(const EmailMsg& message, int mode);
    // The message editor ended with OK: its message goes to ApplyEditedMessage.
    virtual void OnMessageEditorClosed(GuiWindowsDialog* editor);
    // The standard save-file dialog; true when the user chose a file.
    virtual bool RunSaveFileDialog(OPENFILENAMEA& request);

    Scanner* GetScanner() const { return m_scanner; }

private:
    // Cut to the summary length, or the button's first caption when empty.
    void ShowSummary(int buttonId, std::string& savedCaption, const std::string& text);
    // The control created just before the given one (a format picker's label).
    HWND LabelBefore(int controlId) const;

    std::unique_ptr<SendMediator> m_mediator;
    Scanner* m_scanner;
    CommonCpp::FileSpec m_target;
    EmailMsg m_emailMessage;
    EmailMsg m_faxMessage;
    EditCtrl m_fileName;
    EditCtrl m_mailbox;
    PopupButton m_diskFormat;
    PopupButton m_emailFormat;
    PopupButton m_ftpFormat;
    std::string m_emailCaption;
    std::string m_ftpCaption;
    std::string m_faxCaption;
    FTPDestinationInfo m_ftp;
};
