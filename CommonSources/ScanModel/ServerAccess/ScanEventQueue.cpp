#include "ScanEventQueue.h"

ScanEventQueue::~ScanEventQueue() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_records.clear();
}

void ScanEventQueue::Push(std::unique_ptr<ScanEventRecord> record) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_records.push_back(std::move(record));
}

std::unique_ptr<ScanEventRecord> ScanEventQueue::Pop() {
    const std::lock_guard<std::mutex> hold(m_lock);
    if (m_records.empty()) {
        return nullptr;
    }
    std::unique_ptr<ScanEventRecord> oldest = std::move(m_records.front());
    m_records.pop_front();
    return oldest;
}

bool ScanEventQueue::IsEmpty() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_records.empty();
}
