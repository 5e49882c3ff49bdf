/* Holds a hidden window open until the wine server is stopped, so that Wine's
   helper processes stay up between tests and do not hold ctest's output pipe. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show)
{
    (void)prev;
    (void)cmd;
    (void)show;
    HWND wnd = CreateWindowExA(0, "STATIC", "nimbrel keepalive", 0, 0, 0, 1, 1, NULL, NULL, inst,
                               NULL);
    HANDLE stop = CreateEventA(NULL, TRUE, FALSE, "NimbrelWineKeepAlive");
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    if (wnd)
        DestroyWindow(wnd);
    return 0;
}
