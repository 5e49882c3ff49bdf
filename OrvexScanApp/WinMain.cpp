#include "OrvexScanApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    OrvexScanApp app;
    return app.Run(instance);
}
