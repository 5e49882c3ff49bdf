#pragma once
// The operations of the user-interface handler that the rest of the data source calls, with
// bodies that do nothing: a handler without windows answers every one of them harmlessly.
// The scan session reaches the handler only through ScannerUiIntf.

#include "AbstractDataArg.h"
#include "ScannerUiIntf.h"

#include <windows.h>
// windows.h maps this to its A/W variant; every unit must see the plain method name.
#undef IsDialogMessage

#include <string>

class UserInterfaceBase : public AbstractDataArg, public ScannerUiIntf {
public:
    UserInterfaceBase() = default;
    ~UserInterfaceBase() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgDisableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgEnableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgEnableDSUIOnly(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    // A server result code shown as its message.
    virtual void ReportServerError(int resultCode);
    void ShowErrorMessage(int stringId) override;
    virtual void ShowErrorDialog(const std::string& text);
    void ShowWarning(const std::string& text) override;
    void CloseWarning() override;
    void ShowProgress(unsigned long total) override;
    virtual bool IsProgressShown();
    virtual bool IsCloseRequested();
    virtual void RequestClose();
    virtual void ClearCloseRequest();
    void SetProgressPos(unsigned long position) override;
    void EndProgress() override;
    virtual bool GetShowUI();
    virtual bool GetUiFlagB();
    void NotifyCloseRequest() override;
    void NotifyTransferReady() override;
    virtual void SwitchToAcquireJobsDialog();
    virtual void SwitchToChooserDialog();
    void NotifyAcquireDialog() override;
    void StartBusyAnimation(const std::string& text) override;
    void StopBusyAnimation() override;
    // result: 1 when the user confirmed, after the strings were edited.
    void ShowLoginDialog(std::string& user, std::string& password, int* result) override;
    void CloseLoginDialog() override;
    virtual void ShowChooserDialog();
    virtual void CloseChooserDialog();
    virtual void ShowAcquireJobsDialog();
    virtual void CloseAcquireJobsDialog();
    virtual void StartGuilessAcquire();
    virtual void CloseGuilessAcquire();
    // Called on the server library's thread.
    void OnScanEvent(ScanEventRecord* record) override;
    void OnAlertEvent(ScanAlertEventRecord* record) override;
    virtual bool IsDialogMessage(MSG* message);
    virtual bool IsPageDone();
    virtual void SetPageDone(bool done);
    void PumpMessages() override;
    virtual void PostToAcquireWindow(WPARAM wParam, LPARAM lParam);

    // The scan model's view of the stop: the close request.
    bool IsAcquireActive() override;
    // The acquire window takes the queued image that starts at the page.
    void PostToCurrentWindow(int32_t startPage) override;
};
