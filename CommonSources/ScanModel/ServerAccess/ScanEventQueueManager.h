#pragma once
// Serialises the handling of server events: handling one may run a nested message loop in
// which the next event is dispatched. A receiver that finds the manager busy queues the event;
// the one that is handling drains the queue before it declares itself free:
//
//   if (manager.IsBusy()) { manager.PushEvent(&event); return; }
//   manager.SetBusy(true);
//   Handle(event);
//   while (manager.HasEvents()) { Handle(*manager.PopEvent()); }
//   manager.SetBusy(false);

#include <memory>
#include <mutex>

#include "ScanEventQueue.h"

class ScanEventQueueManager {
public:
    ScanEventQueueManager() = default;
    ScanEventQueueManager(const ScanEventQueueManager&) = delete;
    ScanEventQueueManager& operator=(const ScanEventQueueManager&) = delete;
    virtual ~ScanEventQueueManager();

    bool IsBusy() const;
    void SetBusy(bool busy);
    // Queues a copy of type and job id (the third word 0).
    void PushEvent(const ScanEventRecord* record);
    // The oldest queued event, now the caller's; null when none.
    std::unique_ptr<ScanEventRecord> PopEvent();
    bool HasEvents() const;

private:
    mutable std::mutex m_busyLock;
    bool m_busy = false;
    ScanEventQueue m_queue;
};
