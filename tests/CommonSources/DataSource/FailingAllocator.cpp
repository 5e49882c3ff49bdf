#include "FailingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_countdown{-1};
std::atomic<long> g_count{0};

void* Allocate(std::size_t size) {
    ++g_count;
    long left = g_countdown.load();
    while (left >= 0) {
        if (left == 0) {
            g_countdown = -1;
            // As the runtime does: the installed handler decides, else bad_alloc.
            if (std::new_handler handler = std::get_new_handler()) {
                handler();
            }
            throw std::bad_alloc();
        }
        if (g_countdown.compare_exchange_weak(left, left - 1)) {
            break;
        }
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

namespace FailingAllocator {

void FailAfter(long allocations) {
    g_countdown = allocations;
}

void Disarm() {
    g_countdown = -1;
}

long Count(bool reset) {
    return reset ? g_count.exchange(0) : g_count.load();
}

} // namespace FailingAllocator

void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
