#pragma once
// A window on a thread of its own (the progress and warning windows): the thread stays
// suspended until StartAndWait, and the window it builds signals the ready event once shown.
// The window has no owner: the opener's windows may go while it is up, and its thread never
// touches them.
// A subclass calls StopThread first thing in its destructor, while its own members still exist.

#include "Runnable.h"

#include <windows.h>

class GuiWindowThread : public CommonCpp::Runnable {
public:
    // Throws CommonCpp::Exception when the ready event cannot be made.
    GuiWindowThread();
    ~GuiWindowThread() override;

    // Also wakes the thread's message loop at once rather than at its next timer tick.
    void RequestStop() override;

    HANDLE GetReadyEvent() const { return m_readyEvent; }

    // Resumes the thread and waits, dispatching the caller's messages, until the window is
    // ready or the thread ended without one; true when ready.
    bool StartAndWait();

protected:
    // Stops the thread and waits for it, dispatching the caller's messages; a thread never
    // resumed runs only to see the stop.
    void StopThread();

private:
    HANDLE m_readyEvent;
};
