#include "MessageWaits.h"

namespace {

// Dispatches what waits; a WM_QUIT ends the pass and is handed back, not dispatched.
bool DrainQueue(int& quitCode) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = static_cast<int>(message.wParam);
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}

} // namespace

namespace MessageWaits {

void DispatchPending() {
    int quitCode = 0;
    if (DrainQueue(quitCode)) {
        PostQuitMessage(quitCode);
    }
}

bool WaitForReadyOrEnd(HANDLE ready, HANDLE thread) {
    HANDLE handles[2] = {ready, thread};
    const DWORD count = thread != nullptr ? 2 : 1;
    bool quit = false;
    int quitCode = 0;
    bool isReady = false;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(count, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            isReady = true;
            break;
        }
        if (woken != WAIT_OBJECT_0 + count) {
            // The thread ended first, or the wait failed: waiting again could never end.
            isReady = WaitForSingleObject(ready, 0) == WAIT_OBJECT_0;
            break;
        }
        // A quit taken here is kept for the end of the wait.
        if (DrainQueue(quitCode)) {
            quit = true;
        }
    }
    if (quit) {
        PostQuitMessage(quitCode);
    }
    return isReady;
}

} // namespace MessageWaits
