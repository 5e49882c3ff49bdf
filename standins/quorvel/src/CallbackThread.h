#pragma once
// The library's own thread: every client callback (events, alerts, server monitor) runs here,
// never on the thread of the call or test that caused it.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include <windows.h>

namespace orvexsim {

class CallbackThread {
public:
    CallbackThread() = default;
    CallbackThread(const CallbackThread&) = delete;
    CallbackThread& operator=(const CallbackThread&) = delete;

    // Runs the job on the thread (started on first use) and returns when it has run; a job
    // posted from the thread itself runs at once.
    void Run(const std::function<void()>& job);
    // Finishes queued jobs and ends the thread; the next Run starts a new one. Called from a
    // callback, the thread ends after that callback and leaves queued jobs to the next one.
    void Stop();
    bool IsCurrent() const;
    DWORD ThreadId() const;

private:
    struct Job {
        std::function<void()> work;
        bool done = false;
    };

    void Loop(unsigned generation);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    std::deque<std::shared_ptr<Job>> m_queue;
    std::thread m_thread;
    unsigned m_generation = 0;
    unsigned m_abandonedGeneration = ~0u;
    DWORD m_threadId = 0;
};

} // namespace orvexsim
