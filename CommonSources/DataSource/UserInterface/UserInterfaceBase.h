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
    virtual void ShowErrorMessage(int stringId);
    virtual void ShowErrorDialog(const std::string& text);
    void ShowWarning(const std::string& text) override;
    void CloseWarning() override;
    virtual void ShowProgress(unsigned long total);
    virtual bool IsProgressShown();
    virtual bool IsCloseRequested();
    virtual void RequestClose();
    virtual void ClearCloseRequest();
    virtual void SetProgressPos(unsigned long position);
    virtual void EndProgress();
    virtual bool GetShowUI();
    virtual bool GetUiFlagB();
    virtual void NotifyCloseRequest();
    virtual void NotifyTransferReady();
    virtual void SwitchToAcquireJobsDialog();
    virtual void SwitchToChooserDialog();
    virtual void NotifyAcquireDialog();
    virtual void StartBusyAnimation(const std::string& text);
    virtual void StopBusyAnimation();
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
    virtual void PumpMessages();
    virtual void PostToAcquireWindow(WPARAM wParam, LPARAM lParam);
};
