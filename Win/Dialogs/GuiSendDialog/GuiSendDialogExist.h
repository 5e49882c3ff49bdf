#pragma once
// The Send window for a job already stored on the server: the job's name is fixed, a mailbox
// is never a destination, each destination carries the page selection, Internet fax is
// offered only for a job the server made faxable, and the formats follow the job.

#include "GuiSendDialog.h"

class zylImageFile;

class GuiSendDialogExist : public GuiSendDialog {
public:
    // page 0 (or less) means every page; the job is borrowed and may be null.
    GuiSendDialogExist(GuiWindowsDialog* owner, ScanAttributeWrapper* attributes, Scanner* scanner,
                       ScanPreferences* preferences, int page, zylImageFile* job,
                       SendMediator* mediator);
    ~GuiSendDialogExist() override;

    void SetupFileName() override;
    void SetupMailbox() override;
    // Without a job Internet fax is not offered.
    void SetupFaxDestination() override;
    void OnInternetFaxCheck() override;
    void SelectDefaultFormats(PopupButton& picker, const std::string& preferred,
                              bool allowRaw) override;
    bool IsMailboxSelected() override;
    std::string GetPages() override;

private:
    zylImageFile* m_job;
    std::string m_pages;
};
