// The event queue: events that arrive while one is handled wait and are handled after it, in
// order, before the manager is free again.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ScanEventQueueManager.h"

namespace {

// The receiver's pattern, as the acquire windows follow it.
class Receiver {
public:
    std::function<void(int)> onHandle;
    std::vector<int> handled;
    std::vector<bool> busyWhileHandled;

    void Receive(int type) {
        const ScanEventRecord event = {type, type * 10, 99};
        if (m_manager.IsBusy()) {
            m_manager.PushEvent(&event);
            return;
        }
        m_manager.SetBusy(true);
        Handle(event);
        while (m_manager.HasEvents()) {
            const std::unique_ptr<ScanEventRecord> queued = m_manager.PopEvent();
            EXPECT_EQ(0u, queued->reserved);
            EXPECT_EQ(queued->type * 10, queued->jobId);
            Handle(*queued);
        }
        m_manager.SetBusy(false);
    }

    bool IsBusy() const { return m_manager.IsBusy(); }

private:
    void Handle(const ScanEventRecord& event) {
        handled.push_back(event.type);
        busyWhileHandled.push_back(m_manager.IsBusy());
        if (onHandle) {
            onHandle(event.type);
        }
    }

    ScanEventQueueManager m_manager;
};

TEST(ScanEventQueueManager, EventsDuringHandlingFollowInOrder) {
    Receiver receiver;
    // Handling 1 runs a nested loop that dispatches 2 and 3; handling 2 dispatches 4.
    receiver.onHandle = [&](int type) {
        if (type == 1) {
            receiver.Receive(2);
            receiver.Receive(3);
        } else if (type == 2) {
            receiver.Receive(4);
        }
    };
    receiver.Receive(1);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), receiver.handled);
    EXPECT_EQ((std::vector<bool>{true, true, true, true}), receiver.busyWhileHandled);
    EXPECT_FALSE(receiver.IsBusy());

    receiver.onHandle = nullptr;
    receiver.Receive(5);
    EXPECT_EQ(5, receiver.handled.back());
}

TEST(ScanEventQueueManager, EmptyQueueAndQueuedEventsAtTheEnd) {
    auto manager = std::make_unique<ScanEventQueueManager>();
    EXPECT_FALSE(manager->HasEvents());
    EXPECT_EQ(nullptr, manager->PopEvent());
    manager->PushEvent(nullptr);
    EXPECT_FALSE(manager->HasEvents());
    const ScanEventRecord event = {7, 70, 5};
    manager->PushEvent(&event);
    manager->PushEvent(&event);
    EXPECT_TRUE(manager->HasEvents());
    // Queued records go with the manager.
    manager.reset();
}

} // namespace
