#include "dhcrypt.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// The numbers of the prime chooser: two successive 15-bit values per call, never seeded, as
// the runtime generator of the platform the protocol was made on gives them.
std::atomic<uint32_t> randState{1};

uint32_t nextRand15() {
    uint32_t s = randState.load(std::memory_order_relaxed);
    uint32_t n;
    do {
        n = s * 214013u + 2531011u;
    } while (!randState.compare_exchange_weak(s, n, std::memory_order_relaxed));
    return (n >> 16) & 0x7FFF;
}

// Arithmetic shift right by 8 of a signed 32-bit value, without relying on how the compiler
// shifts negative numbers.
int32_t shiftCarry(uint32_t c) {
    uint32_t r = c >> 8;
    if (c & 0x80000000u)
        r |= 0xFF000000u;
    return static_cast<int32_t>(r);
}

const uint32_t kMinPrime = 4136;
const uint32_t kMaxPrime = 0x0FFFFFFF;

} // namespace

extern "C" void dhcrypt_mul_add(dhcrypt_work* w, unsigned char* a, const unsigned char* b,
                                uint32_t k) {
    w->carry = 0;
    for (w->index = DHCRYPT_BYTES - 1; w->index >= 0; --w->index) {
        const uint32_t sum = static_cast<uint32_t>(w->carry) + a[w->index] + b[w->index] * k;
        a[w->index] = static_cast<unsigned char>(sum & 0xFF);
        w->carry = shiftCarry(sum);
    }
}

extern "C" void dhcrypt_reduce(dhcrypt_work* w, unsigned char* a) {
    int i = 0;
    while (i < DHCRYPT_BYTES - 1 && a[i] == w->modulus[i])
        ++i;
    if (a[i] >= w->modulus[i])
        dhcrypt_mul_add(w, a, w->modulus, 0xFFFFFFFFu);
}

extern "C" void dhcrypt_shift_right(unsigned char* a) {
    unsigned char top = 0;
    for (int i = 0; i < DHCRYPT_BYTES; ++i) {
        const unsigned char low = a[i] & 1;
        a[i] = static_cast<unsigned char>((a[i] >> 1) | (top << 7));
        top = low;
    }
}

extern "C" void dhcrypt_mod_mul(dhcrypt_work* w, unsigned char* a, const unsigned char* b) {
    unsigned char x[DHCRYPT_BYTES], y[DHCRYPT_BYTES], r[DHCRYPT_BYTES] = {0};
    std::memcpy(x, a, DHCRYPT_BYTES);
    std::memcpy(y, b, DHCRYPT_BYTES);
    for (w->bit = 0; w->bit < 64; ++w->bit) {
        if (x[DHCRYPT_BYTES - 1] & 1) {
            dhcrypt_mul_add(w, r, y, 1);
            dhcrypt_reduce(w, r);
        }
        dhcrypt_shift_right(x);
        unsigned char twice[DHCRYPT_BYTES];
        std::memcpy(twice, y, DHCRYPT_BYTES);
        dhcrypt_mul_add(w, y, twice, 1);
        dhcrypt_reduce(w, y);
    }
    std::memcpy(a, r, DHCRYPT_BYTES);
}

extern "C" void dhcrypt_from_text(dhcrypt_work* w, const char* text, unsigned char* out) {
    std::memset(out, 0, DHCRYPT_BYTES);
    for (; static_cast<signed char>(*text) >= 1; ++text) {
        for (int d = 0; d < 4; ++d) {
            unsigned char copy[DHCRYPT_BYTES];
            std::memcpy(copy, out, DHCRYPT_BYTES);
            dhcrypt_mul_add(w, out, copy, 1);
        }
        int c = static_cast<unsigned char>(*text) | 0x20;
        int digit = c - 48;
        if (c >= 'a')
            digit -= 39;
        out[DHCRYPT_BYTES - 1] |= static_cast<unsigned char>(digit);
    }
}

extern "C" void dhcrypt_to_text(const unsigned char* n, char* out) {
    static const char hex[] = "0123456789ABCDEF";
    int i = 0;
    while (i < DHCRYPT_BYTES - 1 && n[i] == 0)
        ++i;
    // A zero number still prints its last byte, so the text is never empty.
    for (; i < DHCRYPT_BYTES; ++i) {
        *out++ = hex[n[i] >> 4];
        *out++ = hex[n[i] & 0x0F];
    }
    *out = '\0';
}

extern "C" int dhcrypt_is_prime(uint32_t n) {
    uint64_t s = 1;
    while (s * s < n)
        s *= 2;
    if (n % 2 == 0 && n >= 3)
        return 0;
    if (n % 3 == 0 && n >= 4)
        return 0;
    uint32_t step = 2;
    for (uint64_t d = 5; d < s; d += step, step = 6 - step) {
        if (n % d == 0)
            return 0;
    }
    return 1;
}

static const char* skipBelowZero(const char* t) {
    while (*t && static_cast<unsigned char>(*t) < '0')
        ++t;
    return t;
}

extern "C" void dhcrypt_mod_pow(const char* base, const char* exponent, const char* modulus,
                                char* out) {
    dhcrypt_work w{};
    unsigned char b[DHCRYPT_BYTES], e[DHCRYPT_BYTES], r[DHCRYPT_BYTES] = {0};
    dhcrypt_from_text(&w, skipBelowZero(modulus), w.modulus);
    dhcrypt_from_text(&w, skipBelowZero(base), b);
    dhcrypt_from_text(&w, skipBelowZero(exponent), e);
    r[DHCRYPT_BYTES - 1] = 1;
    for (int round = 0; round < 64; ++round) {
        if (e[DHCRYPT_BYTES - 1] & 1)
            dhcrypt_mod_mul(&w, r, b);
        unsigned char bb[DHCRYPT_BYTES];
        std::memcpy(bb, b, DHCRYPT_BYTES);
        dhcrypt_mod_mul(&w, b, bb);
        dhcrypt_shift_right(e);
    }
    char text[2 * DHCRYPT_BYTES + 1];
    dhcrypt_to_text(r, text);
    std::strcpy(out, skipBelowZero(text));
}

extern "C" uint32_t dhcrypt_search_prime(uint32_t v) {
    while (v < kMinPrime)
        v += kMinPrime;
    uint32_t p = (v | 1) & kMaxPrime;
    // The mask can bring p below the floor (1 and 3 pass the test with their halves); the
    // search stays between the floor and the ceiling, wrapping at the top.
    if (p < kMinPrime)
        p += kMinPrime;
    while (!(dhcrypt_is_prime(p) && dhcrypt_is_prime((p - 1) / 2))) {
        p += 2;
        if (p > kMaxPrime)
            p = kMinPrime + 1;
    }
    return p;
}

extern "C" void dhcrypt_choose_prime(uint32_t seed, char* out) {
    const uint32_t t = static_cast<uint32_t>(std::time(nullptr));
    uint32_t v = t ^ (static_cast<uint32_t>(std::time(nullptr)) << 16);
    const uint32_t r1 = nextRand15();
    const uint32_t r2 = nextRand15();
    v = r1 + (r2 << 16) + v + seed;
    std::snprintf(out, 9, "%lx", static_cast<unsigned long>(dhcrypt_search_prime(v)));
}
