#pragma once
// The window-less acquisition as the user-interface handler drives it: a hidden window that
// starts a scan with the application's settings when it is created and announces the job's
// pages once the job has ended.

#include "UiWindowIntf.h"

#include <cstdint>

class GuilessAcquireIntf : public virtual UiWindowIntf {
public:
    // Called on the server library's thread, under the handler's lock: only posts the event
    // to the window.
    virtual void PostEvent(int32_t type, int32_t jobId) = 0;
    // The acquisition ends: the close request is marked and a scan still pending is
    // cancelled at the server.
    virtual void CancelScan() = 0;
};
