#include "kivo_osa.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

namespace {

long long nowMs() {
    osa_timeval tv{};
    EXPECT_EQ(0, multios_gettimeofday(&tv, nullptr));
    return static_cast<long long>(tv.tv_sec) * 1000 + tv.tv_usec / 1000;
}

struct Signal {
    osa_mutex_t done;
    intptr_t seen[10];
};

int recordArgs(intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4, intptr_t a5, intptr_t a6,
               intptr_t a7, intptr_t a8, intptr_t a9, intptr_t a10) {
    Signal* s = reinterpret_cast<Signal*>(a1);
    const intptr_t all[10] = {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10};
    for (int i = 0; i < 10; ++i)
        s->seen[i] = all[i];
    osa_mutex_give(s->done);
    return 0;
}

// Waits a little, then gives the semaphore that the spawning task is blocked on.
int giveLater(intptr_t m, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
              intptr_t, intptr_t) {
    S_TaskDelay(5);
    osa_mutex_give(reinterpret_cast<osa_mutex_t>(m));
    return 0;
}

TEST(KivoOsa, SemaphoreGivenByAnotherTask) {
    osa_mutex_t m = osa_mutex_create(0); // created taken
    ASSERT_NE(nullptr, m);
    EXPECT_NE(0, osa_mutex_trytake(m));
    ASSERT_GT(taskSpawn("giver", 100, 1, 8192, giveLater, reinterpret_cast<intptr_t>(m), 0, 0, 0, 0,
                        0, 0, 0, 0, 0),
              0);
    EXPECT_EQ(0, osa_mutex_take(m)); // returns once the other task gave it
    EXPECT_NE(0, osa_mutex_trytake(m));
    EXPECT_EQ(0, osa_mutex_destroy(m));
}

TEST(KivoOsa, BinarySemaphoreSemantics) {
    osa_mutex_t m = osa_mutex_create(1);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(0, osa_mutex_trytake(m));
    EXPECT_NE(0, osa_mutex_trytake(m));
    EXPECT_EQ(0, osa_mutex_give(m));
    EXPECT_EQ(0, osa_mutex_give(m)); // stays available, counts no further
    EXPECT_EQ(0, osa_mutex_take(m));
    EXPECT_NE(0, osa_mutex_trytake(m));
    EXPECT_EQ(0, osa_mutex_destroy(m));
    EXPECT_NE(0, osa_mutex_take(nullptr));
}

// Points a module's import of a function at a replacement; returns what it pointed at.
void* ReplaceImport(HMODULE module, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name; ++dll) {
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
                std::strcmp(
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name,
                    function) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            void* previous = reinterpret_cast<void*>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

// What the stand-in for the semaphore's wake call saw.
struct WakeWatch {
    osa_mutex_t semaphore = nullptr;
    void(WINAPI* wake)(PCONDITION_VARIABLE) = nullptr;
    bool called = false;
    bool takenMeanwhile = false;
    std::atomic<int> taken{-1};
    std::thread taker; // joined once the give returned: it may wait for the give's lock
} g_watch;

// While a give wakes the waiters, another task tries to take the semaphore. Had it succeeded,
// that task could have destroyed the semaphore under the give's feet.
void WINAPI WakeWhileAnotherTaskTakes(PCONDITION_VARIABLE cv) {
    g_watch.called = true;
    g_watch.taker = std::thread([] { g_watch.taken = osa_mutex_trytake(g_watch.semaphore); });
    for (int i = 0; i < 200 && g_watch.taken < 0; ++i)
        Sleep(1);
    g_watch.takenMeanwhile = g_watch.taken == 0;
    g_watch.wake(cv);
}

// A task may destroy a semaphore as soon as its take succeeded (shutdown deletes a worker
// once the worker's last give let it take): a give must not touch the semaphore after that.
TEST(KivoOsa, SemaphoreCannotBeTakenBeforeItsGiveIsDone) {
    g_watch.semaphore = osa_mutex_create(0);
    HMODULE osa = GetModuleHandleA("kivo_osa.dll");
    ASSERT_NE(nullptr, osa);
    g_watch.wake = reinterpret_cast<void(WINAPI*)(PCONDITION_VARIABLE)>(ReplaceImport(
        osa, "WakeConditionVariable", reinterpret_cast<void*>(&WakeWhileAnotherTaskTakes)));
    ASSERT_NE(nullptr, g_watch.wake);
    EXPECT_EQ(0, osa_mutex_give(g_watch.semaphore));
    ReplaceImport(osa, "WakeConditionVariable", reinterpret_cast<void*>(g_watch.wake));
    if (g_watch.taker.joinable())
        g_watch.taker.join();
    EXPECT_TRUE(g_watch.called);
    EXPECT_FALSE(g_watch.takenMeanwhile);
    osa_mutex_destroy(g_watch.semaphore);
}

TEST(KivoOsa, SpawnPassesTenPointerWideArguments) {
    Signal s{osa_mutex_create(0), {}};
    const intptr_t wide =
        static_cast<intptr_t>(sizeof(void*) == 8 ? 0x1122334455667788ll : 0x11223344);
    const int id = taskSpawn("args", 100, 1, 16384, recordArgs, reinterpret_cast<intptr_t>(&s), 2,
                             3, 4, 5, 6, 7, 8, 9, wide);
    EXPECT_GT(id, 0);
    ASSERT_EQ(0, osa_mutex_take(s.done));
    EXPECT_EQ(reinterpret_cast<intptr_t>(&s), s.seen[0]);
    EXPECT_EQ(5, s.seen[4]);
    EXPECT_EQ(wide, s.seen[9]);
    osa_mutex_destroy(s.done);
    EXPECT_EQ(-1, taskSpawn("none", 100, 1, 8192, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST(KivoOsa, DelayAndTimeOfDay) {
    osa_timeval tv{};
    ASSERT_EQ(0, multios_gettimeofday(&tv, nullptr));
    EXPECT_LT(tv.tv_usec, 1000000);
    EXPECT_LE(std::labs(static_cast<long>(std::time(nullptr)) - tv.tv_sec), 2);
    EXPECT_EQ(-1, multios_gettimeofday(nullptr, nullptr));
    const long long start = nowMs();
    EXPECT_EQ(0, S_TaskDelay(10));
    EXPECT_GE(nowMs() - start, 10 * OSA_TICK_MS - 16); // the clock's own granularity
}

TEST(KivoOsa, FilesByLine) {
    const std::string path = "kivo_osa_test_lines.txt";
    void* out = S_FileOpen(path.c_str(), OSA_FILE_WRITE);
    ASSERT_NE(nullptr, out);
    const char text[] = "# comment\r\nscan\r\nfax";
    EXPECT_EQ(static_cast<int>(sizeof text - 1), S_FileWrite(out, text, sizeof text - 1));
    EXPECT_EQ(0, S_FileClose(out));

    void* in = S_FileOpen(path.c_str(), OSA_FILE_READ);
    ASSERT_NE(nullptr, in);
    std::vector<std::string> lines;
    char buffer[512];
    while (S_FileGets(in, buffer, sizeof buffer))
        lines.push_back(buffer);
    EXPECT_EQ((std::vector<std::string>{"# comment\r\n", "scan\r\n", "fax"}), lines);
    S_FileClose(in);
    std::remove(path.c_str());
    EXPECT_EQ(nullptr, S_FileOpen("no_such_folder/none.txt", OSA_FILE_READ));
    EXPECT_EQ(nullptr, S_FileOpen(path.c_str(), 3));
}

TEST(KivoOsa, ModulesAndSymbolsByName) {
    void* osa = S_LoadLibrary("kivo_osa.dll");
    ASSERT_NE(nullptr, osa);
    EXPECT_EQ(reinterpret_cast<void*>(&osa_mutex_create),
              S_GetProcAddress(osa, "osa_mutex_create"));
    // Handle 0 searches every module of the process.
    EXPECT_EQ(reinterpret_cast<void*>(&osa_mutex_give),
              S_GetProcAddress(nullptr, "osa_mutex_give"));
    EXPECT_NE(nullptr, S_GetProcAddress(nullptr, "GetTickCount"));
    EXPECT_EQ(nullptr, S_GetProcAddress(nullptr, "kivo_no_such_symbol"));
    EXPECT_EQ(nullptr, S_LoadLibrary("kivo_server_no_such_service.dll"));
}

TEST(KivoOsa, SystemRoot) {
    const std::string initial = S_SystemRoot();
    EXPECT_FALSE(initial.empty());
    EXPECT_EQ(0, s_setSystemRoot_2("C:\\kivo_root", 1));
    EXPECT_STREQ("C:\\kivo_root", S_SystemRoot());
    EXPECT_EQ(0, s_setSystemRoot_2(nullptr, 0));
    EXPECT_EQ(initial, S_SystemRoot());
    EXPECT_EQ(0, osa_brain_shutdown());
}

} // namespace
