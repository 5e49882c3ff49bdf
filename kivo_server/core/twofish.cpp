#include "twofish.h"

#include <array>
#include <cstring>

namespace kivo {
namespace {

using Table = std::array<uint8_t, 256>;

struct NibbleTables {
    uint8_t t[4][16];
};

constexpr NibbleTables kQ0Nibbles{
    {{0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
     {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
     {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
     {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}}};

constexpr NibbleTables kQ1Nibbles{
    {{0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
     {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
     {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
     {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}}};

constexpr uint8_t ror4(uint8_t x) {
    return static_cast<uint8_t>(((x >> 1) | (x << 3)) & 0xF);
}

constexpr Table makeQ(const NibbleTables& n) {
    Table q{};
    for (int x = 0; x < 256; ++x) {
        uint8_t a = static_cast<uint8_t>(x >> 4), b = static_cast<uint8_t>(x & 0xF);
        uint8_t a1 = a ^ b;
        uint8_t b1 = static_cast<uint8_t>((a ^ ror4(b) ^ (8 * a)) & 0xF);
        uint8_t a2 = n.t[0][a1], b2 = n.t[1][b1];
        uint8_t a3 = a2 ^ b2;
        uint8_t b3 = static_cast<uint8_t>((a2 ^ ror4(b2) ^ (8 * a2)) & 0xF);
        uint8_t a4 = n.t[2][a3], b4 = n.t[3][b3];
        q[x] = static_cast<uint8_t>((b4 << 4) | a4);
    }
    return q;
}

constexpr Table kQ0 = makeQ(kQ0Nibbles);
constexpr Table kQ1 = makeQ(kQ1Nibbles);

constexpr uint8_t gfMul(uint8_t a, uint8_t b, unsigned poly) {
    unsigned r = 0, x = a;
    for (int i = 0; i < 8; ++i) {
        if (b & (1u << i))
            r ^= x;
        x <<= 1;
        if (x & 0x100)
            x ^= poly;
    }
    return static_cast<uint8_t>(r);
}

constexpr unsigned kMdsPoly = 0x169;
constexpr unsigned kRsPoly = 0x14D;

constexpr uint8_t kMds[4][4] = {{0x01, 0xEF, 0x5B, 0x5B},
                                {0x5B, 0xEF, 0xEF, 0x01},
                                {0xEF, 0x5B, 0x01, 0xEF},
                                {0xEF, 0x01, 0xEF, 0x5B}};

constexpr uint8_t kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                               {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                               {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                               {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

using MdsTables = std::array<std::array<uint32_t, 256>, 4>;

// Column j of the MDS matrix times every byte value, as the word it contributes.
constexpr MdsTables makeMds() {
    MdsTables m{};
    for (int j = 0; j < 4; ++j)
        for (int y = 0; y < 256; ++y) {
            uint32_t w = 0;
            for (int i = 0; i < 4; ++i)
                w |= static_cast<uint32_t>(gfMul(kMds[i][j], static_cast<uint8_t>(y), kMdsPoly))
                     << (8 * i);
            m[j][y] = w;
        }
    return m;
}

constexpr MdsTables kMdsCol = makeMds();

inline uint32_t rol(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}
inline uint32_t ror(uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}
inline uint8_t byteOf(uint32_t w, int i) {
    return static_cast<uint8_t>(w >> (8 * i));
}

// The q-permutation and key-byte chain of the h function for byte position j.
uint8_t sboxByte(int j, uint8_t y, const uint32_t* l, int k) {
    const Table& q0 = kQ0;
    const Table& q1 = kQ1;
    if (k == 4) {
        static constexpr bool useQ1[4] = {true, false, false, true};
        y = (useQ1[j] ? q1[y] : q0[y]) ^ byteOf(l[3], j);
    }
    if (k >= 3) {
        static constexpr bool useQ1[4] = {true, true, false, false};
        y = (useQ1[j] ? q1[y] : q0[y]) ^ byteOf(l[2], j);
    }
    switch (j) {
    case 0:
        return q1[q0[q0[y] ^ byteOf(l[1], 0)] ^ byteOf(l[0], 0)];
    case 1:
        return q0[q0[q1[y] ^ byteOf(l[1], 1)] ^ byteOf(l[0], 1)];
    case 2:
        return q1[q1[q0[y] ^ byteOf(l[1], 2)] ^ byteOf(l[0], 2)];
    default:
        return q0[q1[q1[y] ^ byteOf(l[1], 3)] ^ byteOf(l[0], 3)];
    }
}

uint32_t h(uint32_t x, const uint32_t* l, int k) {
    uint32_t z = 0;
    for (int j = 0; j < 4; ++j)
        z ^= kMdsCol[j][sboxByte(j, byteOf(x, j), l, k)];
    return z;
}

uint32_t rsWord(const unsigned char* m) {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t s = 0;
        for (int j = 0; j < 8; ++j)
            s ^= gfMul(kRs[i][j], m[j], kRsPoly);
        w |= static_cast<uint32_t>(s) << (8 * i);
    }
    return w;
}

inline uint32_t g(const TwofishKey& key, uint32_t x) {
    return key.sbox[0][byteOf(x, 0)] ^ key.sbox[1][byteOf(x, 1)] ^ key.sbox[2][byteOf(x, 2)] ^
           key.sbox[3][byteOf(x, 3)];
}

uint32_t loadLe(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

void twofishSetKey(TwofishKey& key, const unsigned char* bytes, int length) {
    const int k = length / 8;
    key.k = k;
    uint32_t even[4] = {}, odd[4] = {};
    for (int i = 0; i < k; ++i) {
        even[i] = loadLe(bytes + 8 * i);
        odd[i] = loadLe(bytes + 8 * i + 4);
        key.sboxKeys[k - 1 - i] = rsWord(bytes + 8 * i);
    }
    const uint32_t rho = 0x01010101;
    for (uint32_t i = 0; i < 20; ++i) {
        const uint32_t a = h(2 * i * rho, even, k);
        const uint32_t b = rol(h((2 * i + 1) * rho, odd, k), 8);
        key.subkeys[2 * i] = a + b;
        key.subkeys[2 * i + 1] = rol(a + 2 * b, 9);
    }
    for (int j = 0; j < 4; ++j)
        for (int x = 0; x < 256; ++x)
            key.sbox[j][x] = kMdsCol[j][sboxByte(j, static_cast<uint8_t>(x), key.sboxKeys, k)];
}

void twofishEncryptWords(const TwofishKey& key, const uint32_t in[4], uint32_t out[4]) {
    uint32_t r0 = in[0] ^ key.subkeys[0], r1 = in[1] ^ key.subkeys[1];
    uint32_t r2 = in[2] ^ key.subkeys[2], r3 = in[3] ^ key.subkeys[3];
    for (int round = 0; round < 16; round += 2) {
        uint32_t t0 = g(key, r0), t1 = g(key, rol(r1, 8));
        r2 = ror(r2 ^ (t0 + t1 + key.subkeys[2 * round + 8]), 1);
        r3 = rol(r3, 1) ^ (t0 + 2 * t1 + key.subkeys[2 * round + 9]);
        t0 = g(key, r2);
        t1 = g(key, rol(r3, 8));
        r0 = ror(r0 ^ (t0 + t1 + key.subkeys[2 * round + 10]), 1);
        r1 = rol(r1, 1) ^ (t0 + 2 * t1 + key.subkeys[2 * round + 11]);
    }
    out[0] = r2 ^ key.subkeys[4];
    out[1] = r3 ^ key.subkeys[5];
    out[2] = r0 ^ key.subkeys[6];
    out[3] = r1 ^ key.subkeys[7];
}

void twofishEncryptBlock(const TwofishKey& key, const unsigned char in[16], unsigned char out[16]) {
    uint32_t w[4], c[4];
    for (int i = 0; i < 4; ++i)
        w[i] = loadLe(in + 4 * i);
    twofishEncryptWords(key, w, c);
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 4; ++b)
            out[4 * i + b] = byteOf(c[i], b);
}

} // namespace kivo
