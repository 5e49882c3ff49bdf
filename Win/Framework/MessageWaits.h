#pragma once
// Message pumps for waits that run inside the host application's calls. A WM_QUIT they take
// is posted again when they are done, so the host's own loop still ends.

#include <windows.h>

namespace MessageWaits {

// Dispatches every message waiting in the thread's queue.
void DispatchPending();
// Waits for ready while dispatching the thread's messages; ends early when the thread that was
// to set it has ended (or the wait fails). True when ready was set.
bool WaitForReadyOrEnd(HANDLE ready, HANDLE thread);

} // namespace MessageWaits
