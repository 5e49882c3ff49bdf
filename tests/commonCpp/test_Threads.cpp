#include "Exception.h"
#include "Runnable.h"
#include "XGError.h"
#include "XGThread.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

using CommonCpp::Runnable;
using CommonCpp::XGThread;

namespace {

template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

// Counts its rounds until it is asked to stop.
class CountingWorker : public Runnable {
public:
    CountingWorker() : Runnable(nullptr, 0, true) {}
    ~CountingWorker() override {
        RequestStop();
        Join();
    }
    void Run(void*) override {
        ++runs;
        while (!IsStopRequested()) {
            ++rounds;
            Sleep(1);
        }
    }
    std::atomic<int> runs{0};
    std::atomic<int> rounds{0};
};

// Once asked to stop, posts one message and sends another to a window of the stopping thread.
class MessagingWorker : public Runnable {
public:
    explicit MessagingWorker(HWND window) : Runnable(nullptr, 0, true), m_window(window) {}
    ~MessagingWorker() override {
        RequestStop();
        Join();
    }
    void Run(void*) override {
        while (!IsStopRequested()) {
            Sleep(1);
        }
        PostMessageA(m_window, WM_APP + 1, 0, 0);
        DWORD_PTR result = 0;
        sent = SendMessageTimeoutA(m_window, WM_APP + 2, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
        answer = static_cast<int>(result);
    }
    std::atomic<bool> sent{false};
    std::atomic<int> answer{0};

private:
    HWND m_window;
};

int g_posted = 0;
int g_sent = 0;

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) {
        ++g_posted;
        return 0;
    }
    if (message == WM_APP + 2) {
        ++g_sent;
        return 77;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class RecordingException : public CommonCpp::Exception {
public:
    RecordingException() : Exception(__FILE__, __LINE__) {}
    void NoteCatchSite(const std::string& file, int) override { noted = file; }
    static std::string noted;
};
std::string RecordingException::noted;

void ThrowingRoutine(XGThread*, void*) {
    throw RecordingException();
}

void EndlessRoutine(XGThread*, void* running) {
    static_cast<std::atomic<bool>*>(running)->store(true);
    for (;;) {
        Sleep(1);
    }
}

void SelfSuspendingRoutine(XGThread* thread, void* done) {
    thread->Suspend();
    static_cast<std::atomic<bool>*>(done)->store(true);
}

// A window thread whose own constructor fails after its thread was made, never resumed.
class FailingWorker : public Runnable {
public:
    explicit FailingWorker(std::atomic<int>& runs) : Runnable(nullptr, 0, true), m_runs(runs) {
        throw std::runtime_error("the window could not be made");
    }
    void Run(void*) override { ++m_runs; }

private:
    std::atomic<int>& m_runs;
};

bool SuspendedBySystem(HANDLE thread) {
    const DWORD previous = SuspendThread(thread);
    ResumeThread(thread);
    return previous != static_cast<DWORD>(-1) && previous >= 1;
}

} // namespace

TEST(Runnable, StartedSuspendedRunsNothingUntilResumed) {
    CountingWorker worker;
    Sleep(30);
    EXPECT_EQ(0, worker.runs.load());
    EXPECT_TRUE(worker.IsSuspended());
    EXPECT_TRUE(worker.IsAlive());

    worker.Resume();
    EXPECT_FALSE(worker.IsSuspended());
    EXPECT_TRUE(WaitFor([&] { return worker.rounds.load() > 0; }));
    worker.StopAndWait();
    EXPECT_EQ(nullptr, worker.GetHandle());
    EXPECT_FALSE(worker.IsAlive());
    EXPECT_EQ(1, worker.runs.load());
}

TEST(Runnable, StopAndWaitResumesASuspendedWorker) {
    CountingWorker worker;
    worker.StopAndWait();
    EXPECT_EQ(1, worker.runs.load()) << "resumed so that it could see the stop";
    EXPECT_EQ(0, worker.rounds.load());
    EXPECT_TRUE(worker.IsStopRequested());
    EXPECT_EQ(nullptr, worker.GetHandle());
}

// Its Runnable part is destroyed without waiting for the thread that never started, and the
// thread runs nothing of the half-built object.
TEST(Runnable, AWorkerWhoseConstructorThrowsGoesWithoutWaiting) {
    std::atomic<int> runs{0};
    std::atomic<bool> thrown{false};
    std::thread builder([&] {
        try {
            FailingWorker worker(runs);
        } catch (const std::runtime_error&) {
            thrown = true;
        }
    });
    const bool ended = WaitFor([&] { return thrown.load(); });
    if (ended) {
        builder.join();
    } else {
        builder.detach(); // stuck in the destructor: the process ends it
    }
    ASSERT_TRUE(ended) << "the destructor waited for a thread that never started";
    EXPECT_EQ(0, runs.load());
}

TEST(Runnable, StopAndWaitKeepsTheWaitingThreadsWindowsWorking) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CommonCppStopAndWaitTest";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window) << GetLastError();
    g_posted = 0;
    g_sent = 0;
    {
        MessagingWorker worker(window);
        worker.Resume();
        worker.StopAndWait();
        EXPECT_TRUE(worker.sent.load()) << "the sent message was not answered while waiting";
        EXPECT_EQ(77, worker.answer.load());
    }
    EXPECT_EQ(1, g_sent);
    EXPECT_EQ(1, g_posted) << "the posted message was not dispatched while waiting";
    DestroyWindow(window);
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(XGThread, KillEndsTheThreadAndDropsAReference) {
    std::atomic<bool> running{false};
    const DWORD start = GetTickCount();
    {
        XGThread thread(&EndlessRoutine, &running, 0, false);
        ASSERT_TRUE(WaitFor([&] { return running.load(); }));
        thread.Kill();
        EXPECT_FALSE(thread.IsAlive());
        EXPECT_EQ(nullptr, thread.GetHandle());
        EXPECT_EQ(0, thread.GetRefCount());
        thread.Kill(); // nothing left to kill
        EXPECT_EQ(0, thread.GetRefCount());
    } // nothing to wait for
    EXPECT_LT(GetTickCount() - start, 3000u);
}

TEST(XGThread, StandardExceptionEndsTheThreadQuietly) {
    RecordingException::noted.clear();
    XGThread thread(&ThrowingRoutine, nullptr, 0, false);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetHandle(), 5000));
    DWORD exitCode = 1;
    GetExitCodeThread(thread.GetHandle(), &exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_NE(std::string::npos, RecordingException::noted.find("XGThread"))
        << "noted at '" << RecordingException::noted << "'";
    EXPECT_TRUE(thread.IsAlive()) << "ended, but not joined before destruction";
}

TEST(XGThread, ReferenceCountNeverDeletes) {
    XGThread thread(nullptr, nullptr, 0, false);
    EXPECT_EQ(1, thread.GetRefCount());
    thread.AddRef();
    EXPECT_EQ(2, thread.GetRefCount());
    thread.Release();
    thread.Release();
    EXPECT_EQ(0, thread.GetRefCount());
    EXPECT_TRUE(thread.IsAlive());
}

TEST(XGThread, SuspendedFlagCoversASelfSuspension) {
    std::atomic<bool> done{false};
    XGThread thread(&SelfSuspendingRoutine, &done, 0, false);
    ASSERT_TRUE(
        WaitFor([&] { return thread.IsSuspended() && SuspendedBySystem(thread.GetHandle()); }));
    Sleep(20);
    EXPECT_FALSE(done.load());

    thread.Resume();
    EXPECT_FALSE(thread.IsSuspended());
    EXPECT_TRUE(WaitFor([&] { return done.load(); }));
}

namespace {

std::uintptr_t FailingStart(void*, unsigned, unsigned(__stdcall*)(void*), void*, unsigned,
                            unsigned*) {
    return 0;
}

void MarkRan(XGThread*, void* ran) {
    *static_cast<std::atomic<bool>*>(ran) = true;
}

} // namespace

TEST(XGThread, CreationFailureIsAnXGError) {
    const XGThread::StartFunction previous = XGThread::SetStartFunction(&FailingStart);
    try {
        XGThread thread(nullptr, nullptr, 0, true);
        ADD_FAILURE() << "the thread was created";
    } catch (const CommonCpp::XGError& e) {
        char message[CommonCpp::XGPostError::TextSize];
        e.GetMessageText(message, sizeof message);
        EXPECT_STREQ("Cannot create a thread", message);
    }
    XGThread::SetStartFunction(previous);
}

TEST(XGThread, DestroyingANeverResumedThreadEndsItWithoutRunningIt) {
    std::atomic<bool> ran{false};
    { XGThread thread(&MarkRan, &ran, 0, true); }
    EXPECT_FALSE(ran.load());
}

TEST(XGThread, DestroyingASelfSuspendedThreadLetsItFinish) {
    std::atomic<bool> done{false};
    {
        XGThread thread(&SelfSuspendingRoutine, &done, 0, false);
        ASSERT_TRUE(
            WaitFor([&] { return thread.IsSuspended() && SuspendedBySystem(thread.GetHandle()); }));
    }
    EXPECT_TRUE(done.load());
}
