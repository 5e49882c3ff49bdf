#pragma once
// The Twofish block cipher (128-, 192- and 256-bit keys) with precomputed key-dependent
// tables. The fixed tables are computed at compile time, so keying never races on them.
#include <cstdint>

namespace kivo {

struct TwofishKey {
    int k = 0;                  // key length in 64-bit units
    uint32_t subkeys[40] = {};  // whitening and round subkeys
    uint32_t sboxKeys[4] = {};  // S-box key words, in the order the g function uses them
    uint32_t sbox[4][256] = {}; // key-dependent S-boxes, each through its MDS column
};

// key: 16, 24 or 32 bytes.
void twofishSetKey(TwofishKey& key, const unsigned char* bytes, int length);
// The four 32-bit words of a block, in the standard word convention.
void twofishEncryptWords(const TwofishKey& key, const uint32_t in[4], uint32_t out[4]);
void twofishEncryptBlock(const TwofishKey& key, const unsigned char in[16], unsigned char out[16]);

} // namespace kivo
