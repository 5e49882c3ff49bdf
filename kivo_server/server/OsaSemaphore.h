#pragma once
// Owner of a binary semaphore of the operating-system layer, and a scope that holds one.
#include "kivo_assert.h"
#include "kivo_osa.h"

namespace kivo {

class OsaSemaphore {
public:
    explicit OsaSemaphore(int available) : handle_(osa_mutex_create(available)) {
        KIVO_ASSERT(handle_ != nullptr, "osa_mutex_create");
    }
    ~OsaSemaphore() { osa_mutex_destroy(handle_); }
    OsaSemaphore(const OsaSemaphore&) = delete;
    OsaSemaphore& operator=(const OsaSemaphore&) = delete;

    int take() const { return osa_mutex_take(handle_); }
    bool tryTake() const { return osa_mutex_trytake(handle_) == 0; }
    int give() const { return osa_mutex_give(handle_); }

private:
    osa_mutex_t handle_;
};

// Takes the semaphore for the scope; give() ends the hold early and returns the give's result.
class Hold {
public:
    explicit Hold(const OsaSemaphore& s) : s_(&s) {
        const int r = s.take();
        KIVO_ASSERT(r == 0, "osa_mutex_take");
    }
    ~Hold() {
        if (s_)
            s_->give();
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    int give() {
        const int r = s_ ? s_->give() : -1;
        s_ = nullptr;
        return r;
    }

private:
    const OsaSemaphore* s_;
};

} // namespace kivo
