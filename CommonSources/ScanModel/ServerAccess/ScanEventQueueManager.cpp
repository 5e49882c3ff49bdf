#include "ScanEventQueueManager.h"

ScanEventQueueManager::~ScanEventQueueManager() = default;

bool ScanEventQueueManager::IsBusy() const {
    const std::lock_guard<std::mutex> hold(m_busyLock);
    return m_busy;
}

void ScanEventQueueManager::SetBusy(bool busy) {
    const std::lock_guard<std::mutex> hold(m_busyLock);
    m_busy = busy;
}

void ScanEventQueueManager::PushEvent(const ScanEventRecord* record) {
    if (!record) {
        return;
    }
    m_queue.Push(
        std::make_unique<ScanEventRecord>(ScanEventRecord{record->type, record->jobId, 0}));
}

std::unique_ptr<ScanEventRecord> ScanEventQueueManager::PopEvent() {
    return m_queue.Pop();
}

bool ScanEventQueueManager::HasEvents() const {
    return !m_queue.IsEmpty();
}
