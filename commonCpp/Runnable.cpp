#include "Runnable.h"

namespace CommonCpp {

Runnable::Runnable(void* argument, std::uint32_t stackSize, bool startSuspended)
    : XGThread(&Runnable::ThreadRoutine, argument, stackSize, true), m_guard(1),
      m_stopRequested(false) {
    if (!startSuspended) {
        Resume();
    }
}

Runnable::~Runnable() {
    // Join while the guard still exists: the thread may still be reading the stop flag.
    Join();
}

void Runnable::ThreadRoutine(XGThread* thread, void* argument) {
    if (auto* runnable = dynamic_cast<Runnable*>(thread)) {
        runnable->Run(argument);
    }
}

bool Runnable::IsStopRequested() const {
    XGSemaphoreLock hold(m_guard);
    return m_stopRequested;
}

void Runnable::RequestStop() {
    XGSemaphoreLock hold(m_guard);
    m_stopRequested = true;
}

void Runnable::StopAndWait() {
    RequestStop();
    if (IsSuspended()) {
        Resume();
    }
    Sleep(0);
    HANDLE handle = GetHandle();
    if (handle == nullptr) {
        return;
    }
    // A WM_QUIT taken here belongs to the caller's own loop: it is posted again at the end.
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quit = true;
                    quitCode = static_cast<int>(msg.wParam);
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            continue;
        }
        // The wait itself failed: fall back to a plain join rather than spin.
        WaitForSingleObject(handle, INFINITE);
        break;
    }
    CloseThreadHandle();
    if (quit) {
        PostQuitMessage(quitCode);
    }
}

} // namespace CommonCpp
