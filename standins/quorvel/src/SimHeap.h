#pragma once
// The library heap: every block the simulated libraries hand out, and every block a client
// asks for with quorvel_malloc, comes from here, so that tests can count what is still held.

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_set>

#include <windows.h>

namespace orvexsim {

class SimHeap {
public:
    static SimHeap& Instance();

    SimHeap(const SimHeap&) = delete;
    SimHeap& operator=(const SimHeap&) = delete;

    // Null when the heap is exhausted; a zero size still gives a block of its own.
    void* Allocate(size_t size);
    // False, and nothing freed, for a pointer this heap did not hand out (or already took back).
    bool Free(void* block);
    bool Owns(const void* block) const;
    // Copy with its terminator; null when the heap is exhausted.
    char* DuplicateString(const std::string& text);

    int LiveBlocks() const;
    int BadFrees() const;
    void ClearBadFrees();

private:
    SimHeap();

    HANDLE m_heap;
    mutable std::mutex m_mutex;
    std::unordered_set<const void*> m_live;
    int m_badFrees = 0;
};

} // namespace orvexsim
