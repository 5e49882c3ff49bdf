#include "kivo_byteorder.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

// -1 until a probe recognised the order; an unrecognised order is probed again next time.
std::atomic<int> hostOrder{-1};

template <typename T> T reversed(T v) {
    T r = 0;
    for (unsigned i = 0; i < sizeof(T); ++i) {
        r = static_cast<T>((r << 8) | (v & 0xFF));
        v = static_cast<T>(v >> 8);
    }
    return r;
}

template <typename T> T toFromBig(T v) {
    switch (kivo_host_endianness()) {
    case 1:
        return v;
    case 0:
        return reversed(v);
    default:
        return 0;
    }
}

void putWord(uint32_t w, unsigned char* out) {
    w = kivo_to_big_endian32(w);
    std::memcpy(out, &w, 4);
}

uint32_t getWord(const unsigned char* in) {
    uint32_t w;
    std::memcpy(&w, in, 4);
    return kivo_from_big_endian32(w);
}

} // namespace

extern "C" int kivo_host_endianness(void) {
    int cached = hostOrder.load(std::memory_order_relaxed);
    if (cached >= 0)
        return cached;
    const uint32_t probe = 0x12345678;
    unsigned char b[4];
    std::memcpy(b, &probe, 4);
    if (b[0] == 0x12 && b[1] == 0x34 && b[2] == 0x56 && b[3] == 0x78)
        cached = 1;
    else if (b[0] == 0x78 && b[1] == 0x56 && b[2] == 0x34 && b[3] == 0x12)
        cached = 0;
    else {
        std::fprintf(stderr, "kivo: ERROR: unknown endianness: %2x %2x %2x %2x\n", b[0], b[1], b[2],
                     b[3]);
        return -1;
    }
    hostOrder.store(cached, std::memory_order_relaxed);
    return cached;
}

extern "C" int kivo_host_word_order(void) {
    const uint32_t probe = 0xDEADF00D;
    unsigned char b[4];
    std::memcpy(b, &probe, 4);
    return b[0] == 0xDE ? 1 : 0;
}

extern "C" uint16_t kivo_to_big_endian16(uint16_t v) {
    return toFromBig(v);
}
extern "C" uint16_t kivo_from_big_endian16(uint16_t v) {
    return toFromBig(v);
}
extern "C" uint32_t kivo_to_big_endian32(uint32_t v) {
    return toFromBig(v);
}
extern "C" uint32_t kivo_from_big_endian32(uint32_t v) {
    return toFromBig(v);
}
extern "C" uint64_t kivo_to_big_endian64(uint64_t v) {
    return toFromBig(v);
}
extern "C" uint64_t kivo_from_big_endian64(uint64_t v) {
    return toFromBig(v);
}

extern "C" void kivo_float_to_wire(float f, unsigned char out[4]) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    putWord(bits, out);
}

extern "C" float kivo_wire_to_float(const unsigned char in[4]) {
    const uint32_t bits = getWord(in);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

extern "C" void kivo_double_to_wire(double d, unsigned char out[8]) {
    uint32_t halves[2];
    std::memcpy(halves, &d, 8);
    const int lowFirst = kivo_host_word_order() ? 1 : 0;
    putWord(halves[lowFirst], out);
    putWord(halves[1 - lowFirst], out + 4);
}

extern "C" double kivo_wire_to_double(const unsigned char in[8]) {
    uint32_t halves[2];
    const int lowIndex = kivo_host_word_order() ? 1 : 0;
    halves[lowIndex] = getWord(in);
    halves[1 - lowIndex] = getWord(in + 4);
    double d;
    std::memcpy(&d, halves, 8);
    return d;
}
