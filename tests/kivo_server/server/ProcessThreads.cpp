#include "ProcessThreads.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>

namespace kivotest {

size_t threadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    const DWORD self = GetCurrentProcessId();
    size_t n = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == self)
            ++n;
    CloseHandle(snapshot);
    return n;
}

bool noServerTaskLeft(size_t threadsBeforeStart) {
    const size_t now = threadsOfThisProcess();
    if (now == threadsBeforeStart)
        return true;
    std::fprintf(stderr, "%u threads before the server started, %u after its shutdown\n",
                 static_cast<unsigned>(threadsBeforeStart), static_cast<unsigned>(now));
    return false;
}

} // namespace kivotest
