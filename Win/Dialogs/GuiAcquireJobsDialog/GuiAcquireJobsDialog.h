#pragma once
// The main acquire window (dialog 1100): the modeless window the user-interface handler opens
// over the application's window when the source is enabled with its user interface. Two panes
// on a tab control (retrieve stored jobs, initiate a new scan), a row of buttons, a red status
// line and a busy animation. It starts scans at the copier, follows their events, hands a
// job's pages to the application (MSG_XFERREADY, or MSG_CLOSEDSREQ once the user closed),
// sends and saves jobs. Closing it only asks the application to close the source.
//
// Scan events (1138) and copier alerts (1139) arrive as posted messages from the server
// library's thread and are handled one at a time: handling pumps messages, and an event that
// arrives meanwhile is queued and handled after the current one. The application may close the
// window from inside any of those loops (the window is then deleted at once): whatever ran a
// loop looks at the window's alive flag before it goes on. The panes and the dialogs it opens
// come from AcquireWindowParts.

#include "AcquireJobsMediatorClient.h"
#include "AcquireWindowIntf.h"
#include "AcquireWindowParts.h"
#include "GuiMultiPaneDialog.h"
#include "PaneHostIntf.h"
#include "RetrievePaneOwnerIntf.h"

#include <memory>

class QuorvelWrapperIntf;
class ScanPreferences;
class Scanner;

class GuiAcquireJobsDialog : public GuiMultiPaneDialog,
                             public AcquireJobsMediatorClient,
                             public AcquireWindowIntf,
                             public PaneHostIntf,
                             public RetrievePaneOwnerIntf {
public:
    static constexpr int kRetrievePane = 0;
    static constexpr int kInitiatePane = 1;
    static constexpr UINT_PTR kPollTimer = 1100;
    static constexpr UINT kPollPeriod = 15000;

    // The wrapper, preferences and scanner are the source's; the window only borrows them.
    GuiAcquireJobsDialog(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                         ScanPreferences& preferences, Scanner* scanner);
    ~GuiAcquireJobsDialog() override;

    // The parts every acquire window made from now on uses; null restores the default.
    static void SetParts(AcquireWindowParts* parts);

    void Close() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void OnCloseRequest(int dialogId, int result) override;
    HBRUSH OnCtlColorStatic(HDC dc, HWND control) override;
    void Activate() override;
    void Deactivate() override;
    // No banner on this window.
    void PaintBanner(HDC dc) override;

    void PostEvent(int32_t type, int32_t jobId) override;
    void PostAlertEvent(const ScanAlertEventRecord* record) override;
    void DisableSend() override;
    void EnableSend() override;
    // The pane on which EnableSend and DisableSend act.
    void SetStateValue(int sendPaneIndex) override;
    virtual void OnOperationEnded();
    void FinishTransfer(bool done) override;
    // Shows the animation and the text, and disables the buttons; nothing while it runs.
    void StartBusyAnimation(const std::string& text) override;
    void StopBusyAnimation() override;
    void OpenChangeMailboxDialog() override;
    virtual void OnScanCompleted(int32_t jobId);
    virtual void ContinueAcquire();
    virtual void OnScanCanceled();
    virtual void OnServerUnreachable();
    virtual void OnScanFailed();
    virtual void SendJob();
    virtual void InitiateScan();
    virtual void ShowPreview(int32_t jobId);
    virtual void ProcessScanEvent(int32_t type, int32_t jobId);
    virtual void ShowScannerAlert(const ScanAlertEventRecord* alert);
    virtual void ProcessSaveToDisk();
    // Queues the event while another is being handled.
    virtual void OnScanEvent(int32_t type, int32_t jobId);
    // Shows the alert and frees the copy.
    virtual void HandleAlertEvent(ScanAlertEventRecord* copy);
    virtual void CreatePanes();
    virtual void ShowSelectedServer();
    virtual void OnAcquire();
    // Marks the close request, cancels a pending scan and asks the application to close.
    virtual void OnClose();
    virtual void OpenSendDialog();
    virtual void ChooseServer();
    virtual void ShowAbout();
    virtual void DisableButtons();
    virtual void EnableButtons();
    // Prepares the job's first page and announces it to the application.
    void OnJobReady(zylImageFile* job) override;
    // Queues one page (or, with allPages, the whole job) of a job for its transfer.
    virtual void QueuePageTransfer(int32_t page, int32_t jobId, bool allPages);
    // Re-reads the server's attributes and shows or hides "Please enable ... from copier".
    virtual void ShowStatusMessage();
    virtual void OpenHelp();

    bool IsNextOriginalPromptShown() override;
    void PumpMessages() override;

    // State, for whoever drives or inspects the window.
    bool IsBusy() const;
    bool IsScanPending() const;
    int32_t GetFollowedJobId() const;
    bool IsFollowingAnyJob() const;
    bool IsHostRestricted() const;
    bool IsSaveAfterScan() const;
    bool IsAcquireAfterScan() const;
    bool IsEventDeferred() const;
    // A queued image was posted to the window (message 1141) since the last reset event.
    bool IsImagePosted() const;
    // Pages announced and skipped while the copier still scans: the window's own, 0 at start.
    int32_t GetPagesAnnounced() const;
    int32_t GetPagesSkipped() const;
    int32_t GetPageEvents() const;
    AcquireRetrievePaneIntf* GetRetrievePane() const;
    AcquireInitiatePaneIntf* GetInitiatePane() const;
    ScanAttributeWrapper& GetJobAttributes() const;
    bool IsRetrievePaneCurrent() const;
    QuorvelWrapperIntf* GetWrapper() const { return m_wrapper; }
    ScanPreferences& GetPreferences() const { return m_preferences; }
    Scanner* GetScanner() const { return m_scanner; }

private:
    // A scan that will not bring its job: nothing pending, the message shown.
    void EndScan(int messageId);
    struct State;
    bool IsInitiateAllowed();
    void RunOneEvent(int32_t type, int32_t jobId);
    void HandleJobEnded(int32_t jobId);
    void HandlePageReady(int32_t jobId);
    void AddPageToAttachedImage();
    void ResetBusyPreferences();

    QuorvelWrapperIntf* m_wrapper;
    ScanPreferences& m_preferences;
    Scanner* m_scanner;
    std::unique_ptr<State> m_state;
};
