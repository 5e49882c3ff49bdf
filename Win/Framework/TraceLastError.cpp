#include "TraceLastError.h"

#include <windows.h>

void TraceLastError() {
    const DWORD error = GetLastError();
    if (error == 0) {
        return;
    }
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<char*>(&text), 0, nullptr);
    if (text != nullptr) {
        LocalFree(text);
    }
}
