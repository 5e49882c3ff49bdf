#pragma once
// DAT_USERINTERFACE and the one owner of the data source's windows: the acquire window while
// the source is enabled with its user interface, and the current window over which new
// windows open. The windows are made through the UiWindowFactoryIntf that the module entry
// registers. The handler also keeps the acquisition's state (close request, page done, pages
// to hand over), sends MSG_XFERREADY and MSG_CLOSEDSREQ to the application, and is where the
// server library's thread hands over scan events and copier alerts.

#include "UserInterfaceBase.h"

#include <cstdint>
#include <memory>
#include <string>

class AcquireWindowIntf;
class GuilessAcquireIntf;
class UiWindowFactoryIntf;
class UiWindowIntf;

class DataArg_UserInterface : public UserInterfaceBase {
public:
    // Loads the rich-edit library, so that dialogs with rich-edit fields can be created.
    DataArg_UserInterface();
    ~DataArg_UserInterface() override;

    // The module entry registers the window implementation once; null removes it.
    static void SetWindowFactory(UiWindowFactoryIntf* factory);
    static UiWindowFactoryIntf* GetWindowFactory();

    bool IsDat(TW_UINT16 dat) const override;
    // Accepted in any state: events stop, every window closes, state 4.
    TW_UINT16 MsgDisableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // State 4 only. With ShowUI the acquire window opens over hParent, which is disabled,
    // and the call returns at once (state 5). Without ShowUI the window-less acquisition
    // starts a scan with the application's settings (state 5). While no window implementation
    // is registered the source refuses (TWCC_BADPROTOCOL).
    TW_UINT16 MsgEnableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgEnableDSUIOnly(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    // A server result code shown as its message (string id by code).
    void ReportServerError(int resultCode) override;
    void ShowErrorMessage(int stringId) override;

    virtual void CloseAllDialogs();
    virtual void EndProgressIfShown();
    // The progress window on its own thread (through the window factory): started once, moved,
    // and stopped by EndProgress. It begins the page whether or not a window can be shown.
    void ShowProgress(unsigned long total) override;
    // A page is on its way to the application (ShowProgress does this), or dropped unread: an
    // EndProgress once the job has moved past it counts it as handed over.
    void BeginPage();
    void SetProgressPos(unsigned long position) override;
    bool IsProgressShown() override;
    // The warning window, only while the "connectwarning" preference is on; one at a time.
    void ShowWarning(const std::string& text) override;
    void CloseWarning() override;
    // Closes the warning window first.
    void ShowErrorDialog(const std::string& text) override;
    // Modal log-in prompt; a choice other than 1 marks the log-in cancelled.
    void ShowLoginDialog(std::string& user, std::string& password, int* result) override;

    // The close request: set when the acquisition is to end (the window closed, the user
    // stopped); page reads stop at it and the next finished page asks the application to close.
    bool IsCloseRequested() override;
    void RequestClose() override;
    void ClearCloseRequest() override;
    // Ends one page: the progress window stops, the page is counted as handed over once the job
    // has moved past it (not while a close is requested), the window in front comes back, and
    // the acquisition ends once no page is left to hand over.
    void EndProgress() override;
    bool GetShowUI() override;
    bool GetUiFlagB() override;
    // MSG_XFERREADY (state 6) and MSG_CLOSEDSREQ (state 6 from 7) through the source manager that
    // opened the source. When none takes it (none, or it refused) the notice is marked pending at
    // the source, for DAT_EVENT to report once, and the application's loop is woken.
    void NotifyTransferReady() override;
    void NotifyCloseRequest() override;
    bool IsPageDone() override;
    void SetPageDone(bool done) override;
    void NotifyAcquireDialog() override;
    void StartBusyAnimation(const std::string& text) override;
    void StopBusyAnimation() override;

    void ShowAcquireJobsDialog() override;
    void CloseAcquireJobsDialog() override;
    void CloseChooserDialog() override;
    void CloseLoginDialog() override;
    void StartGuilessAcquire() override;
    void CloseGuilessAcquire() override;

    // Called on the server library's thread: posted to the acquire window unless the source is
    // being disabled; dropped while no window takes them. The record stays the caller's.
    void OnScanEvent(ScanEventRecord* record) override;
    void OnAlertEvent(ScanAlertEventRecord* record) override;
    // Offers an application message to the open windows.
    bool IsDialogMessage(MSG* message) override;
    void PumpMessages() override;
    void PostToAcquireWindow(WPARAM wParam, LPARAM lParam) override;

    // The pages still to be handed over in this acquisition.
    void SetTotalPageToAcquire(int32_t pages) override;
    // A job that could not be prepared: the application is asked to close, the busy windows
    // go and no page is counted.
    void AbandonAcquire();
    virtual bool HasPagesDone();
    virtual void CountPage();

    // The window in front, owner of the windows opened next; dialogs register themselves here.
    virtual UiWindowIntf* GetCurrentWindow();
    virtual void SetCurrentWindow(UiWindowIntf* window);
    // hParent of the last MSG_ENABLEDS: the application's window.
    virtual HWND GetParentWindow();
    // The acquire window while it exists.
    AcquireWindowIntf* GetAcquireJobsDialog() const;
    // The window-less acquisition while it exists.
    GuilessAcquireIntf* GetGuilessAcquireJobManager() const;
    // A message to the application's window (hParent), or to its thread without one, so that
    // a loop waiting for messages passes the next one to DAT_EVENT.
    void WakeApplication();

    // The server chooser, run modally while a source opens: 1 when the user chose a server
    // whose log-in went through and the source is connected, else 2. Without a window
    // implementation it answers 2, as a cancelled chooser does.
    int RunChooserDialogModal();
    // The chooser modeless over the current window, the application's window disabled.
    void ShowChooserDialog() override;
    // Set when the last log-in prompt did not end with OK.
    bool GetUiStateFlag() const;

private:
    struct UiState;
    void Notify(TW_UINT16 message);
    // Sends one DAT_NULL message to the application: true when a source manager took it.
    bool SendToApplication(TW_UINT16 message);
    // The application's window, enabled and in front again.
    void RestoreParentWindow();

    std::unique_ptr<UiState> m_state;
};

// ProductName of the application that opened the source; empty while none did.
std::string getApplicationProductName();
