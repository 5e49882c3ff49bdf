#include "ProcessThreads.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>

namespace testsupport {

ThreadIds threadsOfThisProcess() {
    ThreadIds ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    const DWORD self = GetCurrentProcessId();
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == self)
            ids.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

bool noThreadLeftSince(const ThreadIds& beforeStart) {
    unsigned left = 0;
    for (unsigned long id : threadsOfThisProcess())
        if (!beforeStart.count(id))
            ++left;
    if (left == 0)
        return true;
    std::fprintf(stderr, "%u threads started since outlived the shutdown\n", left);
    return false;
}

} // namespace testsupport
