#include "ServerInternal.h"

namespace kivo {

const char kCallMarker[] = "[kivo_call_v2]/";

Server& server() {
    // Never destroyed: tasks may still look at it while the process ends.
    static Server* s = new Server;
    return *s;
}

void errorHook(const char* /*what*/) {
    // Failed system calls are named here; the server goes on as its callers describe.
}

int64_t nowMicros() {
    osa_timeval tv{};
    const int r = multios_gettimeofday(&tv, nullptr);
    KIVO_ASSERT(r == 0, "multios_gettimeofday");
    return static_cast<int64_t>(tv.tv_sec) * 1000000 + tv.tv_usec;
}

int64_t nowSeconds() {
    return nowMicros() / 1000000;
}

void HeaderCipher::reset(fish_state* fs) {
    quorvel_server_fish_free(fs_);
    fs_ = fs;
    ahead_.clear();
}

unsigned char HeaderCipher::next() {
    if (!ahead_.empty()) {
        const unsigned char b = ahead_.front();
        ahead_.pop_front();
        return b;
    }
    return fish_next_byte(fs_);
}

unsigned char HeaderCipher::peek(size_t i) {
    while (ahead_.size() <= i)
        ahead_.push_back(fish_next_byte(fs_));
    return ahead_[i];
}

} // namespace kivo

kivo_client::~kivo_client() {
    kivo::closePipe(this); // a pending read ends before its handle closes
    quorvel_server_fish_free(inStream);
    quorvel_server_fish_free(outStream);
}
