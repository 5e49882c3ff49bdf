#include "RelayEscape.h"

namespace kivo {

size_t relayEscape(const unsigned char* data, size_t size, unsigned char* out) {
    size_t n = 0;
    for (size_t i = 0; i < size; ++i) {
        out[n++] = data[i];
        if (data[i] == kRelayEscape)
            out[n++] = kRelayEscape;
    }
    return n;
}

RelayUnescaper::Status RelayUnescaper::feed(const unsigned char* data, size_t size,
                                            unsigned char* out, size_t* written) {
    size_t n = 0;
    for (size_t i = 0; i < size && status_ == kMore; ++i) {
        const unsigned char b = data[i];
        if (!pendingEscape_) {
            if (b == kRelayEscape)
                pendingEscape_ = true;
            else
                out[n++] = b;
            continue;
        }
        pendingEscape_ = false;
        if (b == kRelayEscape)
            out[n++] = kRelayEscape;
        else
            status_ = b == kRelayEnd ? kEnd : kBadEscape;
    }
    *written = n;
    return status_;
}

} // namespace kivo
