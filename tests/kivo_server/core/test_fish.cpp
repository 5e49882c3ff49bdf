#include "fish.h"
#include "twofish.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<unsigned char> fromHex(const std::string& hex) {
    std::vector<unsigned char> b;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        b.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return b;
}

// Published known-answer vectors of the cipher (zero plaintext).
TEST(Twofish, KnownAnswerVectors) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Case cases[] = {
        {"00000000000000000000000000000000", "00000000000000000000000000000000",
         "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
        {"0123456789ABCDEFFEDCBA98765432100011223344556677", "00000000000000000000000000000000",
         "CFD1D2E5A9BE9CDF501F13B892BD2248"},
        {"0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF",
         "00000000000000000000000000000000", "37527BE0052334B89F0CFCCAE87CFA20"},
    };
    for (const Case& c : cases) {
        const auto key = fromHex(c.key), plain = fromHex(c.plain);
        kivo::TwofishKey k;
        kivo::twofishSetKey(k, key.data(), static_cast<int>(key.size()));
        unsigned char out[16];
        kivo::twofishEncryptBlock(k, plain.data(), out);
        EXPECT_EQ(fromHex(c.cipher), std::vector<unsigned char>(out, out + 16)) << c.key;
    }
}

TEST(FishStream, GeneratorStep) {
    EXPECT_EQ(3, fish_generator_step(1));
    EXPECT_EQ(0, fish_generator_step(-1)); // the right shift keeps the sign
    EXPECT_EQ(0x40000000, fish_generator_step(INT32_MIN));
    EXPECT_EQ(0, fish_generator_step(0));
}

// The keystream rebuilt from the cipher and the generator: key words are the first eight
// generator values, each block enciphers the next four, output words go most significant byte
// first, and the first byte after keying is unused.
std::vector<unsigned char> expectedFirstRefill(uint32_t seed) {
    int32_t x = static_cast<int32_t>(seed);
    unsigned char key[32];
    for (int i = 0; i < 8; ++i) {
        x = fish_generator_step(x);
        for (int j = 0; j < 4; ++j)
            key[4 * i + j] = static_cast<unsigned char>(static_cast<uint32_t>(x) >> (8 * j));
    }
    kivo::TwofishKey k;
    kivo::twofishSetKey(k, key, 32);
    std::vector<unsigned char> bytes;
    for (int block = 0; block < 16; ++block) {
        uint32_t in[4], out[4];
        for (uint32_t& w : in)
            w = static_cast<uint32_t>(x = fish_generator_step(x));
        kivo::twofishEncryptWords(k, in, out);
        for (uint32_t w : out)
            for (int b = 3; b >= 0; --b)
                bytes.push_back(static_cast<unsigned char>(w >> (8 * b)));
    }
    return bytes;
}

TEST(FishStream, KeystreamLayoutAndPositions) {
    const uint32_t seed = 0x5B3E8D21;
    const std::vector<unsigned char> refill = expectedFirstRefill(seed);
    fish_state* a = nullptr;
    fish_state* b = nullptr;
    ASSERT_EQ(0, quorvel_server_fish_init(&a, seed));
    ASSERT_EQ(0, quorvel_server_fish_init(&b, seed));
    EXPECT_EQ(1u, fish_position(a));
    for (int i = 1; i < 256; ++i) {
        const unsigned char byte = fish_next_byte(a);
        ASSERT_EQ(refill[i], byte) << i;
        ASSERT_EQ(byte, fish_next_byte(b));
    }
    EXPECT_EQ(256u, fish_position(a));
    // The 256th byte used comes from a refill whose first byte is used.
    const unsigned char fromRefill = fish_next_byte(a);
    EXPECT_EQ(257u, fish_position(a));
    EXPECT_EQ(fromRefill, fish_next_byte(b));
    // Enciphering a run takes the same bytes as taking them one by one, across refills.
    std::vector<unsigned char> run(1000, 0), one(1000, 0);
    fish_crypt(a, run.data(), 1000);
    for (auto& byte : one)
        byte ^= fish_next_byte(b);
    EXPECT_EQ(one, run);
    EXPECT_EQ(1257u, fish_position(a));
    EXPECT_EQ(1257u, fish_position(b));

    // Other seeds give other streams; the buffer cipher's result is the refill's first byte.
    fish_state* c = nullptr;
    ASSERT_EQ(0, quorvel_server_fish_init(&c, seed + 1));
    const std::vector<unsigned char> other = expectedFirstRefill(seed + 1);
    EXPECT_NE(refill, other);
    EXPECT_EQ(other[1], fish_next_byte(c));
    const int first = quorvel_server_fish_crypt_buffer(c);
    EXPECT_EQ(257u, fish_position(c));
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 255);

    EXPECT_EQ(0, quorvel_server_fish_free(a));
    EXPECT_EQ(0, quorvel_server_fish_free(b));
    EXPECT_EQ(0, quorvel_server_fish_free(c));
    EXPECT_EQ(0, quorvel_server_fish_free(nullptr));
}

TEST(FishStream, ScrambleKeystream) {
    const std::string text = "[kivo_call_v2]/kivo_ping/0/";
    std::vector<unsigned char> bytes(text.begin(), text.end());
    int32_t zero = 0;
    kivo_scramble(bytes.data(), static_cast<long>(bytes.size()), &zero);
    EXPECT_EQ(std::vector<unsigned char>(text.begin(), text.end()), bytes);
    EXPECT_EQ(0, zero);

    int32_t out = 0x5B3E8D21, in = 0x5B3E8D21;
    kivo_scramble(bytes.data(), 1, &out);
    EXPECT_EQ(static_cast<unsigned char>('[' ^ (fish_generator_step(0x5B3E8D21) & 0xFF)), bytes[0]);
    kivo_scramble(bytes.data() + 1, static_cast<long>(bytes.size()) - 1, &out);
    EXPECT_NE(std::vector<unsigned char>(text.begin(), text.end()), bytes);
    kivo_scramble(bytes.data(), static_cast<long>(bytes.size()), &in);
    EXPECT_EQ(std::vector<unsigned char>(text.begin(), text.end()), bytes);
    EXPECT_EQ(out, in);
}

} // namespace
