// The payloads that services may read through kivo_server_kivo_sscanf, which takes no length:
// the bound comes from the payload that holds the input pointer.
#include "kivo_marshal.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace {

struct Payload {
    uintptr_t begin, end;
};

std::mutex payloadLock;
std::vector<Payload>& payloads() {
    static std::vector<Payload>* p = new std::vector<Payload>; // outlives every worker
    return *p;
}

} // namespace

extern "C" void kivo_payload_register(const char* data, int length) {
    if (!data || length < 0)
        return;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(data);
    std::lock_guard<std::mutex> hold(payloadLock);
    payloads().push_back({begin, begin + static_cast<uintptr_t>(length)});
}

extern "C" void kivo_payload_unregister(const char* data) {
    const uintptr_t begin = reinterpret_cast<uintptr_t>(data);
    std::lock_guard<std::mutex> hold(payloadLock);
    std::vector<Payload>& all = payloads();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].begin == begin) {
            all[i] = all.back();
            all.pop_back();
            return;
        }
}

extern "C" int kivo_payload_remaining(const char* p) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(p);
    std::lock_guard<std::mutex> hold(payloadLock);
    for (const Payload& x : payloads())
        if (p && at >= x.begin && at <= x.end)
            return static_cast<int>(x.end - at);
    return -1;
}
