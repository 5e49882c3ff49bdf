#pragma once
// Server events waiting to be handled, oldest first; safe for any thread.

#include <deque>
#include <memory>
#include <mutex>

#include "quorvel_api.h"

class ScanEventQueue {
public:
    ScanEventQueue() = default;
    ScanEventQueue(const ScanEventQueue&) = delete;
    ScanEventQueue& operator=(const ScanEventQueue&) = delete;
    virtual ~ScanEventQueue();

    virtual void Push(std::unique_ptr<ScanEventRecord> record);
    // The oldest record, or null when none is queued.
    virtual std::unique_ptr<ScanEventRecord> Pop();
    virtual bool IsEmpty() const;

private:
    mutable std::mutex m_lock;
    std::deque<std::unique_ptr<ScanEventRecord>> m_records;
};
