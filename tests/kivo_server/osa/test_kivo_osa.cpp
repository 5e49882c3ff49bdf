#include "kivo_osa.h"

#include <gtest/gtest.h>

#include <malloc.h>

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

// A task may destroy a semaphore as soon as its take succeeded (the server deletes a worker
// once the worker's last give let shutdown take it): the giving task must not touch the
// semaphore after that. The taker spins on trytake to get in right behind each give, and then
// checks that the semaphore's memory no longer changes until the give has returned.
TEST(KivoOsa, GiveLeavesTheSemaphoreAloneOnceTaken) {
    constexpr int kRounds = 20000;
    std::atomic<osa_mutex_t> toGive{nullptr};
    std::atomic<int> given{0};
    std::atomic<bool> stop{false};
    std::thread giver([&] {
        for (int round = 1; round <= kRounds && !stop; ++round) {
            osa_mutex_t m = nullptr;
            while (!stop && !(m = toGive.exchange(nullptr))) {
            }
            if (m)
                osa_mutex_give(m);
            given = round;
        }
    });
    for (int round = 1; round <= kRounds; ++round) {
        osa_mutex_t m = osa_mutex_create(0);
        const size_t size = _msize(m);
        toGive = m;
        while (osa_mutex_trytake(m) != 0) {
        }
        const std::vector<unsigned char> taken(static_cast<unsigned char*>(m),
                                               static_cast<unsigned char*>(m) + size);
        while (given != round) {
        }
        const bool untouched = std::memcmp(taken.data(), m, size) == 0;
        osa_mutex_destroy(m);
        if (!untouched) {
            ADD_FAILURE() << "round " << round << ": the give wrote to the semaphore after the take";
            break;
        }
    }
    stop = true;
    giver.join();
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
