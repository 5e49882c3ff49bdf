#pragma once
// The retrieve pane (dialog 1550): the jobs held on the server in the shown mailbox (a number,
// a name, or a name opened with its password through the mailbox dialog), newest first; the
// choice of all pages or one page; refresh, delete, and the server's scan events about the
// shown mailbox. It reaches the server only through the Scanner, and its host through
// RetrievePaneOwnerIntf when the host implements it.

#include "AcquireWindowParts.h"
#include "EditCtrl.h"
#include "GuiMultiPane.h"
#include "ListCtrl.h"

#include <cstdint>
#include <memory>
#include <string>

#include "quorvel_api.h"

class GuiMultiPaneDialog;
class RetrievePaneOwnerIntf;
class ScanAttributeWrapper;
class ScanPreferences;
class Scanner;
class zylDirectory;
class zylImageFile;

class GuiScanRetrieveDialog : public GuiMultiPane,
                              public EditCtrl::NotifyIntf,
                              public AcquireRetrievePaneIntf {
public:
    // The attributes, preferences and scanner are borrowed.
    GuiScanRetrieveDialog(GuiMultiPaneDialog* owner, ScanAttributeWrapper* attributes,
                          ScanPreferences* preferences, Scanner* scanner);
    ~GuiScanRetrieveDialog() override;

    void Close() override;
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void ShowPane(bool show) override;
    void OnReturnKey(EditCtrl* edit) override;

    // Type 0: a job finished (reload when it is in the shown mailbox; -1 always); type 1: a
    // job left the server's list (reload, and end a pending deletion of that job).
    void OnScanEvent(const ScanEventRecord* record) override;
    // The selected job in the scanner's tree; null without a selection.
    zylImageFile* GetSelectedImageFile() override;
    // 0 without a selection.
    virtual int32_t GetSelectedJobId();
    virtual void OnPaneShown();
    void RememberSelectedJob() override;
    // Opens the mailbox; false when its job list could not be loaded.
    bool ChangeMailbox(const std::string& name, const std::string& password) override;
    // -1 for no job; true when the server's list was reloaded (and the list filled afresh,
    // the row selected before selected again when it still exists). Skipped, false, while
    // pages of a transfer are out.
    bool ReloadJobList(int32_t jobId) override;
    // -1 for all pages, else the page typed.
    int32_t GetSelectedPage() override;
    std::string GetMailboxName() const override;
    virtual void FillJobList();
    virtual void OpenMailboxDirectory();
    // Null while no job was remembered.
    zylImageFile* GetRememberedImageFile() override;

    // Number form of a mailbox id: the text itself with text names; else 1 to 4 digits as a
    // number ("0042" is "42"), anything else empty (and the given id emptied too).
    std::string NormalizeMailboxId(std::string& id);

    // -1 without a selection; 1 for all pages or a page typed (out of range: correction gets
    // the page to show instead); 0 for "Page" with nothing typed.
    virtual int GetPageNumberText(std::string* correction);

    int32_t GetPendingDeletion() const { return m_pendingDeletion; }
    ListCtrl& GetJobList() { return m_jobList; }

protected:
    virtual void SetupControls();
    virtual void SetupMailboxFields();
    virtual void SetupJobListColumns();
    virtual void SelectAllPages();
    virtual void SetupPageEdit();
    virtual void OnMailboxTextChanged();
    virtual void OnJobSelectionChanged();
    virtual void OnRefresh();
    virtual void OnDelete();
    virtual void OnAllPages();
    virtual void OnPageRadio();
    virtual void OnPageTextChanged();
    virtual void DeleteSelectedJob();
    virtual void ResetPageControls();
    virtual void EnablePageControls();
    // The server refused a deletion: its result code shown as its message.
    virtual void ReportDeleteFailure(int resultCode);
    // Pages of a running transfer were handed to the application: the list may not change.
    virtual bool ArePagesHandedOver();

private:
    RetrievePaneOwnerIntf* Host() const;
    void TellSetStateValue();
    void TellEnableSend(bool enable);
    bool UsesStringNames();
    bool UsesPasswords();
    // The Refresh button's reload, without its catch.
    void RefreshList();
    void SelectRow(int row);

    ListCtrl m_jobList;
    EditCtrl m_mailboxEdit;
    EditCtrl m_pageEdit;
    std::unique_ptr<zylDirectory> m_mailboxDirectory;
    int32_t m_pendingDeletion = -1;
    int m_deletionRow = -1;
    std::string m_mailboxId;
    std::string m_mailboxName;
    std::string m_mailboxPassword;
    ScanAttributeWrapper* m_attributes;
    ScanPreferences* m_preferences;
    Scanner* m_scanner;
    int32_t m_rememberedJob = -1;
};
