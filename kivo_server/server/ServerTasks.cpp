// The server's tasks: spawned through the operating-system layer, which never joins a task,
// and each ended by the time shutdown returns, so that no thread runs in this library after it.
#include "ServerInternal.h"

#include <algorithm>
#include <cstdio>

namespace kivo {

namespace {

struct TaskList {
    OsaSemaphore lock{1};
    std::vector<HANDLE> threads;
};

TaskList& tasks() {
    static TaskList* list = new TaskList; // never destroyed: tasks may outlive static teardown
    return *list;
}

bool ended(HANDLE thread) {
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

} // namespace

int spawnServerTask(const char* name, int stack, osa_task_entry entry, intptr_t a1, intptr_t a2,
                    intptr_t a3) {
    const int id = taskSpawn(name, 100, 1, stack, entry, a1, a2, a3, 0, 0, 0, 0, 0, 0, 0);
    if (id < 0)
        return id;
    TaskList& list = tasks();
    Hold hold(list.lock);
    // Those that ended are let go; one that ended before it is opened is not waited for.
    auto& threads = list.threads;
    threads.erase(std::remove_if(threads.begin(), threads.end(),
                                 [](HANDLE t) { return ended(t) && CloseHandle(t); }),
                  threads.end());
    if (HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, static_cast<DWORD>(id)))
        threads.push_back(thread);
    return id;
}

void awaitServerTasks(int timeoutMs) {
    TaskList& list = tasks();
    std::vector<HANDLE> threads;
    {
        Hold hold(list.lock);
        threads.swap(list.threads);
    }
    const DWORD self = GetCurrentThreadId();
    for (HANDLE thread : threads) {
        if (GetThreadId(thread) != self &&
            WaitForSingleObject(thread, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
            std::fprintf(stderr, "kivo_server: task %lu did not end at shutdown\n",
                         GetThreadId(thread));
        CloseHandle(thread);
    }
}

} // namespace kivo
