#include "dhcrypt.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string modPow(const char* b, const char* e, const char* m) {
    char out[32] = {};
    dhcrypt_mod_pow(b, e, m, out);
    return out;
}

uint64_t referenceModPow(uint64_t b, uint64_t e, uint64_t m) {
    uint64_t r = 1 % m;
    b %= m;
    while (e) {
        if (e & 1)
            r = r * b % m;
        b = b * b % m;
        e >>= 1;
    }
    return r;
}

void toBytes(uint64_t v, unsigned char* out) {
    for (int i = 7; i >= 0; --i, v >>= 8)
        out[i] = static_cast<unsigned char>(v);
}

uint64_t fromBytes(const unsigned char* b) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = v << 8 | b[i];
    return v;
}

TEST(Dhcrypt, ModPowGoldenAndTextForms) {
    EXPECT_EQ("0F", modPow("2", "A", "3F1")); // 2^10 mod 1009 = 15
    // Leading characters below '0' are skipped; hexadecimal in either case.
    EXPECT_EQ("0F", modPow(" 2", "/A", " 3f1"));
    EXPECT_EQ("0F", modPow("2", "a", "3F1"));
    // Leading zero bytes are left out, every other byte keeps two digits.
    EXPECT_EQ("0ABC", modPow("ABC", "1", "FFFFFFF"));
    EXPECT_EQ("1234", modPow("1234", "1", "FFFFFFF"));
    EXPECT_EQ("00", modPow("0", "5", "3F1")); // zero still prints one byte
}

TEST(Dhcrypt, ModPowMatchesPlainArithmetic) {
    const uint64_t moduli[] = {1009, 0x0FFFFFC7, 0x0A5C3B7, 4139};
    uint64_t x = 12345;
    for (uint64_t m : moduli) {
        for (int i = 0; i < 25; ++i) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            const uint64_t b = (x >> 20) % m, e = (x >> 3) & 0x0FFFFFFF;
            char bt[20], et[20], mt[20];
            std::snprintf(bt, sizeof bt, "%llx", static_cast<unsigned long long>(b));
            std::snprintf(et, sizeof et, "%llX", static_cast<unsigned long long>(e));
            std::snprintf(mt, sizeof mt, "%llx", static_cast<unsigned long long>(m));
            const uint64_t expected = referenceModPow(b, e, m);
            EXPECT_EQ(expected, std::stoull(modPow(bt, et, mt), nullptr, 16))
                << bt << "^" << et << " mod " << mt;
        }
    }
}

TEST(Dhcrypt, MulAddSubtractsExactlyAcrossBorrows) {
    const uint64_t pairs[][2] = {
        {5, 3},
        {0x0100000000000000ull, 1},
        {0, 1},
        {0x0000000100000000ull, 0x00000000FFFFFFFFull},
        {0x8000000000000000ull, 0x7FFFFFFFFFFFFFFFull},
        {0x123456789ABCDEF0ull, 0xFEDCBA9876543210ull},
        {0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull},
    };
    for (const auto& p : pairs) {
        dhcrypt_work w{};
        unsigned char a[8], b[8];
        toBytes(p[0], a);
        toBytes(p[1], b);
        dhcrypt_mul_add(&w, a, b, 0xFFFFFFFFu);
        EXPECT_EQ(p[0] - p[1], fromBytes(a)) << std::hex << p[0] << " - " << p[1];
        toBytes(p[0], a);
        dhcrypt_mul_add(&w, a, b, 1);
        EXPECT_EQ(p[0] + p[1], fromBytes(a));
    }
}

TEST(Dhcrypt, PrimalityTestAgreesWithTrialDivision) {
    // By the protocol's rule 0 and 1 count as prime.
    EXPECT_EQ(1, dhcrypt_is_prime(0));
    EXPECT_EQ(1, dhcrypt_is_prime(1));
    for (uint32_t n = 2; n < 20000; ++n) {
        bool prime = true;
        for (uint32_t d = 2; d * d <= n; ++d)
            if (n % d == 0)
                prime = false;
        ASSERT_EQ(prime ? 1 : 0, dhcrypt_is_prime(n)) << n;
    }
    EXPECT_EQ(1, dhcrypt_is_prime(0x0FFFFFC7)); // largest prime below 2^28
    EXPECT_EQ(0, dhcrypt_is_prime(0x0FFFFFC7u * 3u));
}

void expectSafePrime(uint32_t p) {
    EXPECT_LE(p, 0x0FFFFFFFu);
    EXPECT_GE(p, 4137u);
    EXPECT_EQ(1, dhcrypt_is_prime(p)) << p;
    EXPECT_EQ(1, dhcrypt_is_prime((p - 1) / 2)) << p;
}

TEST(Dhcrypt, ChosenPrimesAreSafePrimesWithinRange) {
    for (uint32_t seed : {0u, 1u, 0x5B3E8D21u, 0xFFFFFFFFu}) {
        char text[16] = {};
        dhcrypt_choose_prime(seed, text);
        for (const char* c = text; *c; ++c)
            EXPECT_TRUE((*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'f')) << text;
        expectSafePrime(static_cast<uint32_t>(std::stoul(text, nullptr, 16)));
    }
    // Starts where the mask would leave 1 or 3 (which pass with their halves), and at the top.
    for (uint32_t v : {0x10000001u, 0x10000002u, 0x20000000u, 0x0FFFFFFFu, 0xFFFFFFFFu, 0u})
        expectSafePrime(dhcrypt_search_prime(v));
}

} // namespace
