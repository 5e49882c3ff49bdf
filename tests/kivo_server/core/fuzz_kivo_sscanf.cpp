// libFuzzer target of the payload reader (built by the native Linux project only): any bytes,
// read under the formats the services use, must give a result without touching memory outside
// the payload and the targets (AddressSanitizer watches). Caller buffers are as large as the
// payload, the most a non-allocating target can receive.
#include "kivo_marshal.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Inner {
    int32_t n;
    char* s;
};
const kivo_offs_t kInnerOffsets[] = {sizeof(Inner), offsetof(Inner, n), offsetof(Inner, s)};

struct Pair {
    int16_t a;
    char* s;
    int32_t count;
    int32_t* values;
};
const kivo_offs_t kPairOffsets[] = {sizeof(Pair),           offsetof(Pair, a),
                                    offsetof(Pair, s),      offsetof(Pair, count),
                                    offsetof(Pair, values), 1,
                                    offsetof(Pair, count)};

int readEcho(kivo_alloc** allocs, int version, int decrypt, fish_state* stream, char* in) {
    int8_t i;
    int16_t r, rows, shorts[3];
    int16_t* shortsAt = shorts;
    int32_t n, present, value, flag, hidden, count;
    int64_t l;
    unsigned char b;
    uint32_t v;
    char *s, *s2;
    unsigned char* block;
    int32_t* cells;
    Inner* inner;
    float f;
    double d;
    const char* format = version >= 7 ? "%i%r%n%l%b%v%8s%08s%0n%O%#n%n%08n@i%r%08r@n%&r%0*8{%f%d"
                                      : "%i%r%n%l%b%v%8s%08s%0n%O%#n%n%08n@i%r%08r@n%&r%0*8{";
    return kivo_server_kivo_sscanf(allocs, version, decrypt, stream, in, format, &i, &r, &n, &l, &b,
                                   &v, &s, &s2, &present, &value, &flag, &hidden, &count, &block, 1,
                                   &count, &rows, &cells, 2, &rows, 2, &shortsAt, 1, 3, &inner,
                                   "%n%s", kInnerOffsets, &f, &d);
}

// Caller buffers, and allocated structure arrays with nested counted arrays.
int readBuffers(kivo_alloc** allocs, int version, int decrypt, fish_state* stream, char* in,
                size_t length) {
    std::vector<char> text(length + 1);
    char* field = text.data();
    std::vector<int32_t> values(length + 1);
    int32_t* at = values.data();
    int32_t count = 0;
    int64_t pairs = 0;
    Pair* list = nullptr;
    return kivo_server_kivo_sscanf(allocs, version, decrypt, stream, in, "%0s%n%n@n%l%8l@{", &field,
                                   &count, &at, 1, &count, &pairs, &list, 1, &pairs, "%r%s%n%0n@n",
                                   kPairOffsets);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int version = data[0] % 18;
    const int decrypt = data[1] & 1;
    const bool buffers = (data[1] & 2) != 0;
    const bool allocating = (data[1] & 4) != 0;
    // The payload in a buffer of its own size, so that any overrun is caught.
    std::vector<char> payload(data + 2, data + size);
    fish_state* stream = nullptr;
    if (decrypt || data[2] & 1)
        quorvel_server_fish_init(&stream, data[2]);
    kivo_alloc* allocs = nullptr;
    const int length = static_cast<int>(payload.size());
    kivo_payload_register(payload.data(), length);
    if (allocating) {
        Pair p{};
        kivo_sscanf1(&allocs, version, decrypt, stream, KIVO_SSCANF_ALLOCATE, payload.data(),
                     length, "%r%s%n%0n@n", &p, kPairOffsets);
    } else if (buffers) {
        readBuffers(&allocs, version, decrypt, stream, payload.data(), payload.size());
    } else {
        readEcho(&allocs, version, decrypt, stream, payload.data());
    }
    kivo_payload_unregister(payload.data());
    kivo_server_kivo_sscanf_free_allocs(allocs);
    quorvel_server_fish_free(stream);
    return 0;
}
