#pragma once
// What the scan model asks of the data source's user-interface handler: wait texts, the login
// prompt, the hand-off of the server's events, the progress of page reads and the user's stop,
// and the messages that move an acquisition on. The defaults do nothing; a login prompt that
// does nothing counts as cancelled, and without a handler nobody ever stops a read.

#include <cstdint>
#include <string>

#include "quorvel_api.h"

class ScannerUiIntf {
public:
    ScannerUiIntf() = default;
    ScannerUiIntf(const ScannerUiIntf&) = delete;
    ScannerUiIntf& operator=(const ScannerUiIntf&) = delete;
    virtual ~ScannerUiIntf();

    // Called on the server library's thread; the record is valid only during the call.
    virtual void OnScanEvent(ScanEventRecord* record);
    virtual void OnAlertEvent(ScanAlertEventRecord* record);

    // A wait text in a window of its own; returns at once.
    virtual void ShowWarning(const std::string& text);
    virtual void CloseWarning();

    // Runs the modal login prompt, which edits user and password in place; result 1 for OK,
    // anything else for cancel.
    virtual void ShowLoginDialog(std::string& user, std::string& password, int* result);
    virtual void CloseLoginDialog();

    // A string-table text shown in the modal error box.
    virtual void ShowErrorMessage(int stringId);

    // Progress of one page; EndProgress also marks the page as done.
    virtual void ShowProgress(unsigned long total);
    virtual void SetProgressPos(unsigned long position);
    virtual void EndProgress();
    virtual void SetTotalPageToAcquire(int32_t pages);
    // True once the user asked to stop: page reads and save loops end as soon as they see it.
    virtual bool IsAcquireActive();

    // The acquire window's busy display and message pump, while it is the current window.
    virtual void StartBusyAnimation(const std::string& text);
    virtual void StopBusyAnimation();
    virtual void NotifyAcquireDialog();
    virtual void PumpMessages();
    // Has the current data-source window acquire the queued image that starts at this page.
    virtual void PostToCurrentWindow(int32_t startPage);

    // MSG_XFERREADY and MSG_CLOSEDSREQ to the application.
    virtual void NotifyTransferReady();
    virtual void NotifyCloseRequest();
};
