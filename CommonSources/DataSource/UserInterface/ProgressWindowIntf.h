#pragma once
// The progress window as the user-interface handler drives it: a window on a thread of its
// own, started by the window factory. Every call comes from the thread that started it.

#include <cstdint>

class ProgressWindowIntf {
public:
    ProgressWindowIntf() = default;
    ProgressWindowIntf(const ProgressWindowIntf&) = delete;
    ProgressWindowIntf& operator=(const ProgressWindowIntf&) = delete;
    virtual ~ProgressWindowIntf() = default;

    // Nothing while the window does not exist.
    virtual void SetRange(int32_t low, int32_t high) = 0;
    virtual void SetPos(int32_t position) = 0;
    // Ends the window and its thread; the caller's messages are dispatched meanwhile.
    virtual void StopAndWait() = 0;
};
