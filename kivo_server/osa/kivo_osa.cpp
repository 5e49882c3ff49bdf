#include "kivo_osa.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

struct TaskStart {
    osa_task_entry entry;
    intptr_t args[10];
};

DWORD WINAPI taskMain(LPVOID p) {
    const TaskStart start = *static_cast<TaskStart*>(p);
    delete static_cast<TaskStart*>(p);
    const intptr_t* a = start.args;
    return static_cast<DWORD>(
        start.entry(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]));
}

std::mutex rootLock;
std::string root;
char rootText[MAX_PATH + 1];

std::string programFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

void publishRoot(const std::string& value) {
    root = value;
    std::snprintf(rootText, sizeof(rootText), "%s", root.c_str());
}

} // namespace

namespace {

// A binary semaphore in user space: an uncontended take or give costs no system call, which
// matters where every lock of the server is one of these.
struct BinarySemaphore {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE available_cv = CONDITION_VARIABLE_INIT;
    bool available;
};

} // namespace

extern "C" osa_mutex_t osa_mutex_create(int available) {
    return new (std::nothrow)
        BinarySemaphore{SRWLOCK_INIT, CONDITION_VARIABLE_INIT, available != 0};
}

extern "C" int osa_mutex_take(osa_mutex_t m) {
    if (!m)
        return -1;
    BinarySemaphore* s = static_cast<BinarySemaphore*>(m);
    AcquireSRWLockExclusive(&s->lock);
    while (!s->available)
        SleepConditionVariableSRW(&s->available_cv, &s->lock, INFINITE, 0);
    s->available = false;
    ReleaseSRWLockExclusive(&s->lock);
    return 0;
}

extern "C" int osa_mutex_trytake(osa_mutex_t m) {
    if (!m)
        return -1;
    BinarySemaphore* s = static_cast<BinarySemaphore*>(m);
    AcquireSRWLockExclusive(&s->lock);
    const bool taken = s->available;
    s->available = false;
    ReleaseSRWLockExclusive(&s->lock);
    return taken ? 0 : 1;
}

extern "C" int osa_mutex_give(osa_mutex_t m) {
    if (!m)
        return -1;
    BinarySemaphore* s = static_cast<BinarySemaphore*>(m);
    AcquireSRWLockExclusive(&s->lock);
    s->available = true;
    // Woken under the lock: once a taker can see the semaphore available it may destroy it,
    // so nothing here touches it after the release.
    WakeConditionVariable(&s->available_cv);
    ReleaseSRWLockExclusive(&s->lock);
    return 0;
}

extern "C" int osa_mutex_destroy(osa_mutex_t m) {
    if (!m)
        return -1;
    delete static_cast<BinarySemaphore*>(m);
    return 0;
}

extern "C" int taskSpawn(const char* /*name*/, int /*priority*/, int /*options*/, int stack_size,
                         osa_task_entry entry, intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4,
                         intptr_t a5, intptr_t a6, intptr_t a7, intptr_t a8, intptr_t a9,
                         intptr_t a10) {
    if (!entry)
        return -1;
    TaskStart* start =
        new (std::nothrow) TaskStart{entry, {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10}};
    if (!start)
        return -1;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, stack_size > 0 ? static_cast<SIZE_T>(stack_size) : 0,
                                 taskMain, start, 0, &id);
    if (!thread) {
        delete start;
        return -1;
    }
    CloseHandle(thread); // tasks are independent: nobody joins them
    return static_cast<int>(id);
}

extern "C" int S_TaskDelay(int ticks) {
    Sleep(ticks > 0 ? static_cast<DWORD>(ticks) * OSA_TICK_MS : 0);
    return 0;
}

extern "C" int multios_gettimeofday(osa_timeval* tv, void* /*tz*/) {
    if (!tv)
        return -1;
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    const unsigned long long epochOffset = 116444736000000000ULL; // 1601 to 1970 in 100 ns
    if (t.QuadPart < epochOffset)
        return -1;
    const unsigned long long us = (t.QuadPart - epochOffset) / 10;
    tv->tv_sec = static_cast<long>(us / 1000000);
    tv->tv_usec = static_cast<long>(us % 1000000);
    return 0;
}

extern "C" void* S_LoadLibrary(const char* path) {
    return path ? reinterpret_cast<void*>(LoadLibraryA(path)) : nullptr;
}

extern "C" void* S_GetProcAddress(void* module, const char* name) {
    if (!name)
        return nullptr;
    if (module)
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    for (;;) {
        const DWORD bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!EnumProcessModules(GetCurrentProcess(), modules.data(), bytes, &needed))
            return nullptr;
        if (needed <= bytes)
            break;
        modules.resize(needed / sizeof(HMODULE));
    }
    modules.resize(needed / sizeof(HMODULE));
    for (HMODULE m : modules)
        if (FARPROC f = GetProcAddress(m, name))
            return reinterpret_cast<void*>(f);
    return nullptr;
}

extern "C" void* S_FileOpen(const char* path, int mode) {
    if (!path)
        return nullptr;
    const char* how = mode == OSA_FILE_READ ? "rb" : mode == OSA_FILE_WRITE ? "wb" : nullptr;
    return how ? std::fopen(path, how) : nullptr;
}

extern "C" int S_FileGets(void* file, char* buffer, int size) {
    if (!file || !buffer || size < 2)
        return 0;
    return std::fgets(buffer, size, static_cast<FILE*>(file)) ? 1 : 0;
}

extern "C" int S_FileWrite(void* file, const void* data, int length) {
    if (!file || !data || length <= 0)
        return 0;
    return static_cast<int>(
        std::fwrite(data, 1, static_cast<size_t>(length), static_cast<FILE*>(file)));
}

extern "C" int S_FileClose(void* file) {
    if (!file)
        return -1;
    return std::fclose(static_cast<FILE*>(file));
}

extern "C" const char* S_SystemRoot(void) {
    std::lock_guard<std::mutex> hold(rootLock);
    if (root.empty())
        publishRoot(programFolder());
    return rootText;
}

extern "C" int s_setSystemRoot_2(const char* newRoot, int /*flag*/) {
    std::lock_guard<std::mutex> hold(rootLock);
    publishRoot(newRoot && *newRoot ? std::string(newRoot) : programFolder());
    return 0;
}

extern "C" int osa_brain_shutdown(void) {
    return 0;
}
