#pragma once
// What the Scanner asks of the data source's user-interface handler: wait texts, the login
// prompt, and the hand-off of the server's events. The defaults do nothing; a login prompt
// that does nothing counts as cancelled.

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
};
