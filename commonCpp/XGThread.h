#pragma once
// A thread object: the thread is created suspended, the object joins it when destroyed, and
// every thread object is kept in one process-wide list under one semaphore.

// windows.h defines Yield(); every unit must see XGThread::Yield.
#include <windows.h>
#undef Yield

#include <atomic>
#include <cstdint>

namespace CommonCpp {

class XGThread {
public:
    using Routine = void (*)(XGThread* thread, void* argument);

    // Throws XGPostError (ErrorThreadCreate) when the thread cannot be created. stackSize 0 is
    // the default size.
    XGThread(Routine routine, void* argument, std::uint32_t stackSize, bool startSuspended);
    XGThread(const XGThread&) = delete;
    XGThread& operator=(const XGThread&) = delete;
    // Waits for the thread without a time-out, then leaves the list. A thread that never ran
    // ends without running its routine; one that suspended itself is resumed first.
    virtual ~XGThread();

    // The count never deletes the object.
    virtual void AddRef();
    virtual void Release();
    virtual int GetRefCount() const;
    // Meant for a thread that suspends itself: returns when another thread resumes it.
    virtual void Suspend();
    virtual void Resume();
    virtual bool IsSuspended() const;
    // Terminates the thread and drops one reference; destruction then has nothing to wait for.
    virtual void Kill();
    virtual bool IsAlive() const;

    // Gives up the rest of the time slice when giveUp is true.
    static void Yield(bool giveUp);

    // How threads are started: _beginthreadex, replaced only by tests that make creation fail.
    using StartFunction = std::uintptr_t (*)(void* security, unsigned stackSize,
                                             unsigned(__stdcall* entry)(void*), void* argument,
                                             unsigned flags, unsigned* threadId);
    // Returns the previous function; null restores _beginthreadex.
    static StartFunction SetStartFunction(StartFunction start);

    // The thread handle, null once joined, stopped or killed.
    HANDLE GetHandle() const { return m_handle; }
    DWORD GetId() const { return m_threadId; }

protected:
    // Waits for the thread to end, then closes the handle; nothing when there is none. A thread
    // that never ran ends without running its routine; one that suspended itself is resumed.
    void Join();
    // For owners that waited on GetHandle() themselves.
    void CloseThreadHandle();

private:
    struct MainThreadTag {};
    explicit XGThread(MainThreadTag);
    static unsigned __stdcall Entry(void* self);
    void Link();
    void Unlink();

    // Stands for the thread that loaded the library; it has no routine and no handle.
    static XGThread s_mainThreadRecord;

    int m_refCount;
    Routine m_routine;
    void* m_argument;
    XGThread* m_next;
    std::atomic<bool> m_suspended;
    bool m_started; // resumed at least once
    HANDLE m_handle;
    unsigned m_threadId;
};

} // namespace CommonCpp
