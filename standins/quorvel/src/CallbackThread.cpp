#include "CallbackThread.h"

namespace orvexsim {

void CallbackThread::Run(const std::function<void()>& work) {
    if (IsCurrent()) {
        work();
        return;
    }
    auto job = std::make_shared<Job>();
    job->work = work;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_thread.joinable()) {
        m_thread = std::thread(&CallbackThread::Loop, this, m_generation);
    }
    m_queue.push_back(job);
    m_wake.notify_all();
    m_finished.wait(lock, [&] { return job->done; });
}

void CallbackThread::Stop() {
    std::thread finishing;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable()) {
            return;
        }
        if (GetCurrentThreadId() == m_threadId) {
            m_abandonedGeneration = m_generation++;
            m_threadId = 0;
            m_thread.detach();
            return;
        }
        ++m_generation;
        m_wake.notify_all();
        finishing = std::move(m_thread);
    }
    finishing.join();
}

bool CallbackThread::IsCurrent() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_threadId != 0 && GetCurrentThreadId() == m_threadId;
}

DWORD CallbackThread::ThreadId() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_threadId;
}

void CallbackThread::Loop(unsigned generation) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_threadId = GetCurrentThreadId();
    for (;;) {
        m_wake.wait(lock, [&] { return generation != m_generation || !m_queue.empty(); });
        if (generation != m_generation &&
            (m_queue.empty() || generation == m_abandonedGeneration)) {
            break;
        }
        std::shared_ptr<Job> job = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        job->work();
        lock.lock();
        job->done = true;
        m_finished.notify_all();
    }
    if (m_threadId == GetCurrentThreadId()) {
        m_threadId = 0;
    }
}

} // namespace orvexsim
