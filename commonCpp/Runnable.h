#pragma once
// A thread object that runs its own Run and can be asked to stop. Run is expected to poll
// IsStopRequested. A subclass must have its thread ended before its own members go (request a
// stop and wait, or StopAndWait): Run belongs to the subclass.

#include "XGSemaphore.h"
#include "XGThread.h"

#include <cstdint>

namespace CommonCpp {

class Runnable : public XGThread {
public:
    // The thread always starts suspended; unless startSuspended it is resumed at once. Pass true
    // and Resume once the object is complete: a thread resumed here may reach Run before the
    // subclass that implements it has been built.
    Runnable(void* argument, std::uint32_t stackSize, bool startSuspended);
    ~Runnable() override;

    virtual void Run(void* argument) = 0;
    virtual bool IsStopRequested() const;
    virtual void RequestStop();
    // Must run on the thread whose windows must keep working: every message of that thread is
    // dispatched while it waits, so window procedures may be re-entered.
    virtual void StopAndWait();

protected:
    // Guards the stop flag; subclasses may hold it to order their own work against a stop.
    XGSemaphore& GetGuard() const { return m_guard; }

private:
    static void ThreadRoutine(XGThread* thread, void* argument);

    mutable XGSemaphore m_guard;
    bool m_stopRequested;
};

} // namespace CommonCpp
