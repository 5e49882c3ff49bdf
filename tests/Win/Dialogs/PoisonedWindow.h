#pragma once
// Windows whose memory, once deleted, is filled with a pattern no pointer can hold and kept
// until the test frees it: any use of a deleted window faults at once, instead of reading what
// happens to be left there.

#include <cstddef>
#include <cstring>
#include <vector>

template <typename Window> class Poisoned : public Window {
public:
    using Window::Window;
    // Not inlined: the compiler then pairs the delete below with this new, not with the
    // global one.
    [[gnu::noinline]] static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* memory, std::size_t size) {
        std::memset(memory, 0xCC, size);
        Graveyard().push_back(memory);
    }
    static void FreeGraveyard() {
        for (void* memory : Graveyard()) {
            ::operator delete(memory);
        }
        Graveyard().clear();
    }

private:
    static std::vector<void*>& Graveyard() {
        static std::vector<void*> graveyard;
        return graveyard;
    }
};
