#include "XGThread.h"

#include "Exception.h"
#include "XGError.h"
#include "XGSemaphore.h"

#include <process.h>

#include <exception>

namespace CommonCpp {

namespace {

constexpr DWORD NoThreadId = static_cast<DWORD>(-1);

struct ThreadList {
    XGSemaphore lock{1};
    XGThread* head = nullptr;
};

// Built on first use, so thread objects made by other static initialisers find it ready.
ThreadList& Threads() {
    static ThreadList list;
    return list;
}

std::atomic<DWORD> g_mainThreadId{NoThreadId};

std::uintptr_t StartWithCrt(void* security, unsigned stackSize, unsigned(__stdcall* entry)(void*),
                            void* argument, unsigned flags, unsigned* threadId) {
    return _beginthreadex(security, stackSize, entry, argument, flags, threadId);
}

std::atomic<XGThread::StartFunction> g_start{&StartWithCrt};

void RecordMainThread() {
    DWORD unset = NoThreadId;
    g_mainThreadId.compare_exchange_strong(unset, GetCurrentThreadId());
}

} // namespace

XGThread XGThread::s_mainThreadRecord{XGThread::MainThreadTag{}};

XGThread::XGThread(MainThreadTag)
    : m_refCount(1), m_routine(nullptr), m_argument(nullptr), m_next(nullptr), m_suspended(false),
      m_started(true), m_handle(nullptr), m_threadId(0) {
    RecordMainThread();
    m_threadId = g_mainThreadId.load();
    Link();
}

XGThread::XGThread(Routine routine, void* argument, std::uint32_t stackSize, bool startSuspended)
    : m_refCount(1), m_routine(routine), m_argument(argument), m_next(nullptr), m_suspended(false),
      m_started(false), m_handle(nullptr), m_threadId(0) {
    RecordMainThread();
    const std::uintptr_t handle =
        g_start.load()(nullptr, stackSize, &XGThread::Entry, this, CREATE_SUSPENDED, &m_threadId);
    if (handle == 0) {
        throw XGPostError(ErrorThreadCreate);
    }
    m_handle = reinterpret_cast<HANDLE>(handle);
    m_suspended = true;
    Link();
    if (!startSuspended) {
        Resume();
    }
}

XGThread::~XGThread() {
    Join();
    Unlink();
}

XGThread::StartFunction XGThread::SetStartFunction(StartFunction start) {
    return g_start.exchange(start != nullptr ? start : &StartWithCrt);
}

void XGThread::Link() {
    ThreadList& list = Threads();
    XGSemaphoreLock hold(list.lock);
    m_next = list.head;
    list.head = this;
}

void XGThread::Unlink() {
    ThreadList& list = Threads();
    XGSemaphoreLock hold(list.lock);
    for (XGThread** link = &list.head; *link != nullptr; link = &(*link)->m_next) {
        if (*link == this) {
            *link = m_next;
            break;
        }
    }
    m_next = nullptr;
}

unsigned __stdcall XGThread::Entry(void* self) {
    auto* thread = static_cast<XGThread*>(self);
    try {
        if (thread->m_routine != nullptr) {
            thread->m_routine(thread, thread->m_argument);
        }
    } catch (std::exception& e) {
        NoteException(&e, __FILE__, __LINE__);
    }
    return 0;
}

void XGThread::AddRef() {
    ++m_refCount;
}

void XGThread::Release() {
    --m_refCount;
}

int XGThread::GetRefCount() const {
    return m_refCount;
}

void XGThread::Suspend() {
    if (m_suspended || m_handle == nullptr) {
        return;
    }
    m_suspended = true;
    SuspendThread(m_handle);
    m_suspended = false;
}

void XGThread::Resume() {
    if (!m_suspended || m_handle == nullptr) {
        return;
    }
    m_started = true;
    ResumeThread(m_handle);
    m_suspended = false;
}

bool XGThread::IsSuspended() const {
    return m_suspended;
}

void XGThread::Kill() {
    if (m_handle == nullptr) {
        return;
    }
    TerminateThread(m_handle, 0);
    CloseHandle(m_handle);
    m_handle = nullptr;
    Release();
}

bool XGThread::IsAlive() const {
    if (m_handle != nullptr) {
        return true;
    }
    return this == &s_mainThreadRecord && m_threadId == g_mainThreadId.load();
}

void XGThread::Yield(bool giveUp) {
    if (giveUp) {
        Sleep(0);
    }
}

void XGThread::Join() {
    if (m_handle == nullptr) {
        return;
    }
    // A suspended thread would never end: joining it would wait for ever.
    if (m_suspended) {
        if (!m_started) {
            m_routine = nullptr; // it never ran; it must not start now
        }
        Resume();
    }
    WaitForSingleObject(m_handle, INFINITE);
    CloseThreadHandle();
}

void XGThread::CloseThreadHandle() {
    if (m_handle != nullptr) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

} // namespace CommonCpp
