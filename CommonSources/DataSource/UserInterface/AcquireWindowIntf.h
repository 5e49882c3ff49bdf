#pragma once
// The main acquire window as the user-interface handler drives it.

#include "UiWindowIntf.h"
#include "quorvel_api.h"

#include <cstdint>
#include <string>

class AcquireWindowIntf : public virtual UiWindowIntf {
public:
    // Called on the server library's thread, under the handler's lock: each only posts a
    // message to the window (scan event, copier alert) and touches nothing else.
    virtual void PostEvent(int32_t type, int32_t jobId) = 0;
    // Posts a copy of the record, which the window frees; the record stays the caller's.
    virtual void PostAlertEvent(const ScanAlertEventRecord* record) = 0;

    virtual void StartBusyAnimation(const std::string& text) = 0;
    virtual void StopBusyAnimation() = 0;
    virtual bool IsNextOriginalPromptShown() = 0;
    // The last page of the acquisition is over.
    virtual void FinishTransfer(bool done) = 0;
    // Dispatches whatever waits in the thread's queue.
    virtual void PumpMessages() = 0;
};
