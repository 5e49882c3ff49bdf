#include "fish.h"

#include "twofish.h"

#include "kivo_assert.h"

#include <cstdlib>
#include <new>

struct fish_state {
    kivo::TwofishKey schedule;
    uint32_t key[8];
    int32_t generator;
    unsigned char* buffer;
    uint32_t index;
    uint32_t pad; // guard, FISH_GUARD while the state is valid
    uint64_t counter;
};

namespace {

int32_t nextGenerated(fish_state* fs) {
    fs->generator = fish_generator_step(fs->generator);
    return fs->generator;
}

} // namespace

extern "C" int32_t fish_generator_step(int32_t x) {
    const uint32_t u = static_cast<uint32_t>(x);
    uint32_t half = u >> 1;
    if (u & 0x80000000u)
        half |= 0x80000000u; // arithmetic shift
    return static_cast<int32_t>(((u << 1) ^ u) + half);
}

extern "C" void kivo_scramble(unsigned char* bytes, long count, int32_t* state) {
    int32_t s = *state;
    for (long i = 0; i < count; ++i) {
        s = fish_generator_step(s);
        bytes[i] ^= static_cast<unsigned char>(s & 0xFF);
    }
    *state = s;
}

extern "C" int quorvel_server_fish_init(fish_state** out, uint32_t seed) {
    *out = nullptr;
    fish_state* fs = new (std::nothrow) fish_state{};
    if (!fs)
        return -1;
    fs->buffer = static_cast<unsigned char*>(std::calloc(FISH_BUFFER_BYTES, 1));
    if (!fs->buffer) {
        delete fs;
        return -1;
    }
    fs->generator = static_cast<int32_t>(seed);
    fs->pad = FISH_GUARD;
    unsigned char keyBytes[32];
    for (int i = 0; i < 8; ++i) {
        fs->key[i] = static_cast<uint32_t>(nextGenerated(fs));
        for (int j = 0; j < 4; ++j)
            keyBytes[4 * i + j] = static_cast<unsigned char>(fs->key[i] >> (8 * j));
    }
    kivo::twofishSetKey(fs->schedule, keyBytes, 32);
    quorvel_server_fish_crypt_buffer(fs); // the first byte of the first refill is never used
    fs->counter = 0;
    *out = fs;
    return 0;
}

extern "C" int quorvel_server_fish_crypt_buffer(fish_state* fs) {
    for (int block = 0; block < FISH_BUFFER_BYTES / 16; ++block) {
        uint32_t in[4], out[4];
        for (uint32_t& w : in)
            w = static_cast<uint32_t>(nextGenerated(fs));
        kivo::twofishEncryptWords(fs->schedule, in, out);
        unsigned char* p = fs->buffer + 16 * block;
        for (int w = 0; w < 4; ++w)
            for (int b = 0; b < 4; ++b)
                p[4 * w + b] = static_cast<unsigned char>(out[w] >> (24 - 8 * b));
    }
    fs->counter += FISH_BUFFER_BYTES;
    fs->index = 1;
    KIVO_ASSERT(fs->pad == FISH_GUARD, "fs->pad==0x12345678");
    return fs->buffer[0];
}

extern "C" int quorvel_server_fish_free(fish_state* fs) {
    if (fs) {
        std::free(fs->buffer);
        delete fs;
    }
    return 0;
}

extern "C" unsigned char fish_next_byte(fish_state* fs) {
    if (fs->index < FISH_BUFFER_BYTES)
        return fs->buffer[fs->index++];
    return static_cast<unsigned char>(quorvel_server_fish_crypt_buffer(fs));
}

extern "C" void fish_crypt(fish_state* fs, unsigned char* bytes, long count) {
    // Whole runs of the buffer at a time; the same bytes as fish_next_byte one by one.
    while (count > 0) {
        if (fs->index >= FISH_BUFFER_BYTES) {
            *bytes++ ^= static_cast<unsigned char>(quorvel_server_fish_crypt_buffer(fs));
            --count;
            continue;
        }
        long run = static_cast<long>(FISH_BUFFER_BYTES - fs->index);
        if (run > count)
            run = count;
        const unsigned char* key = fs->buffer + fs->index;
        for (long i = 0; i < run; ++i)
            bytes[i] ^= key[i];
        fs->index += static_cast<uint32_t>(run);
        bytes += run;
        count -= run;
    }
}

extern "C" uint64_t fish_position(const fish_state* fs) {
    return fs->counter + fs->index;
}
