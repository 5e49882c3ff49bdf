#include "SimHeap.h"

#include <cstring>

namespace orvexsim {

SimHeap& SimHeap::Instance() {
    // Never destroyed: clients may free blocks while the process shuts down.
    static SimHeap* const heap = new SimHeap();
    return *heap;
}

SimHeap::SimHeap() : m_heap(HeapCreate(0, 0, 0)) {}

void* SimHeap::Allocate(size_t size) {
    if (!m_heap) {
        return nullptr;
    }
    void* const block = HeapAlloc(m_heap, 0, size == 0 ? 1 : size);
    if (block) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_live.insert(block);
    }
    return block;
}

bool SimHeap::Free(void* block) {
    if (!block) {
        return true;
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_live.erase(block) == 0) {
            ++m_badFrees;
            return false;
        }
    }
    HeapFree(m_heap, 0, block);
    return true;
}

bool SimHeap::Owns(const void* block) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return block && m_live.count(block) != 0;
}

char* SimHeap::DuplicateString(const std::string& text) {
    auto* const copy = static_cast<char*>(Allocate(text.size() + 1));
    if (copy) {
        std::memcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

int SimHeap::LiveBlocks() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_live.size());
}

int SimHeap::BadFrees() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_badFrees;
}

void SimHeap::ClearBadFrees() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_badFrees = 0;
}

} // namespace orvexsim
