#pragma once
// The warning window as the user-interface handler holds it: one line of text on a thread of
// its own, started by the window factory. Deleting it closes the window and waits for the
// thread, dispatching the caller's messages meanwhile.

class WarningWindowIntf {
public:
    WarningWindowIntf() = default;
    WarningWindowIntf(const WarningWindowIntf&) = delete;
    WarningWindowIntf& operator=(const WarningWindowIntf&) = delete;
    virtual ~WarningWindowIntf() = default;

    virtual void RequestStop() = 0;
};
