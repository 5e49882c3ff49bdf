// Property: what the writer puts out for random values, the reader gives back, for every
// directive of the format that outside clients drive the test services with.
#include "MarshalTestSupport.h"

#include <cstddef>
#include <cstring>
#include <random>

namespace {

struct Inner {
    int32_t n;
    char* s;
};
const kivo_offs_t kInnerOffsets[] = {sizeof(Inner), offsetof(Inner, n), offsetof(Inner, s)};

struct Values {
    int8_t i = 0;
    int16_t r = 0;
    int32_t n = 0;
    int64_t l = 0;
    unsigned char b = 0;
    uint32_t v = 0;
    std::string s, s2;
    bool s2Null = false;
    int32_t present = 0;
    int32_t pointerSet = 0;
    int32_t hidden = 0;
    std::vector<unsigned char> block;
    bool blockNull = false;
    std::vector<int32_t> cells; // rows of two
    bool cellsNull = false;
    int16_t shorts[3] = {};
    bool innerNull = false;
    int32_t innerN = 0;
    std::string innerS;
    float f = 0;
    double d = 0;
};

std::string randomText(std::mt19937& rng) {
    std::string s(rng() % 40, ' ');
    for (char& c : s)
        c = static_cast<char>(1 + rng() % 255);
    return s;
}

Values randomValues(std::mt19937& rng) {
    Values x;
    x.i = static_cast<int8_t>(rng());
    x.r = static_cast<int16_t>(rng());
    x.n = static_cast<int32_t>(rng());
    x.l = static_cast<int64_t>((uint64_t{rng()} << 32) | rng());
    x.b = static_cast<unsigned char>(rng() % 2);
    x.v = rng();
    x.s = randomText(rng);
    x.s2 = randomText(rng);
    x.s2Null = rng() % 3 == 0;
    x.present = static_cast<int32_t>(rng());
    x.pointerSet = static_cast<int32_t>(rng() % 2);
    x.hidden = static_cast<int32_t>(rng());
    x.block.resize(rng() % 50);
    for (auto& c : x.block)
        c = static_cast<unsigned char>(rng());
    x.blockNull = rng() % 4 == 0;
    x.cells.resize(2 * (rng() % 6));
    for (auto& c : x.cells)
        c = static_cast<int32_t>(rng());
    x.cellsNull = rng() % 4 == 0;
    for (auto& s : x.shorts)
        s = static_cast<int16_t>(rng());
    x.innerNull = rng() % 3 == 0;
    x.innerN = static_cast<int32_t>(rng());
    x.innerS = randomText(rng);
    x.f = static_cast<float>(static_cast<int32_t>(rng())) / 1024.0f;
    x.d = static_cast<double>(static_cast<int32_t>(rng())) / 3.0;
    return x;
}

std::string echoFormat(bool floats) {
    return std::string("%i%r%n%l%b%v%8s%08s%0n%O%#n%n%08n@i%r%08r@n%&r%0*8{") +
           (floats ? "%f%d" : "");
}

Bytes write(const Values& x, int version, int encrypt, fish_state* stream, bool floats) {
    Inner inner{x.innerN, const_cast<char*>(x.innerS.c_str())};
    const std::string format = echoFormat(floats);
    const int32_t count = static_cast<int32_t>(x.block.size());
    const int rows = static_cast<int>(x.cells.size() / 2);
    return writePayload(version, encrypt, stream, format.c_str(), nullptr, x.i, x.r, x.n, x.l, x.b,
                        x.v, x.s.c_str(), x.s2Null ? nullptr : x.s2.c_str(), x.present,
                        x.pointerSet, x.hidden, count, x.blockNull ? nullptr : x.block.data(), 1,
                        count, rows, x.cellsNull ? nullptr : x.cells.data(), 2, rows, 2, x.shorts,
                        1, 3, x.innerNull ? nullptr : &inner, "%n%s", kInnerOffsets,
                        static_cast<double>(x.f), x.d);
}

void readAndCompare(const Values& x, Bytes payload, int version, int decrypt, fish_state* stream,
                    bool floats) {
    Allocs allocs;
    int8_t i;
    int16_t r, rows, shorts[3];
    int16_t* shortsAt = shorts;
    int32_t n, present, pointerValue = 1, pointerFlag, hidden, count;
    int64_t l;
    unsigned char b;
    uint32_t v;
    char *s, *s2;
    unsigned char* block;
    int32_t* cells;
    Inner* inner;
    float f = 0;
    double d = 0;
    const std::string format = echoFormat(floats);
    const RegisteredPayload registered(payload);
    const int got = kivo_server_kivo_sscanf(
        &allocs.head, version, decrypt, stream, reinterpret_cast<char*>(payload.data()),
        format.c_str(), &i, &r, &n, &l, &b, &v, &s, &s2, &present, &pointerValue, &pointerFlag,
        &hidden, &count, &block, 1, &count, &rows, &cells, 2, &rows, 2, &shortsAt, 1, 3, &inner,
        "%n%s", kInnerOffsets, &f, &d);
    ASSERT_EQ(static_cast<int>(payload.size()), got);
    EXPECT_EQ(x.i, i);
    EXPECT_EQ(x.r, r);
    EXPECT_EQ(x.n, n);
    EXPECT_EQ(x.l, l);
    EXPECT_EQ(x.b, b);
    EXPECT_EQ(x.v, v);
    EXPECT_EQ(x.s, s);
    if (x.s2Null)
        EXPECT_EQ(nullptr, s2);
    else
        EXPECT_EQ(x.s2, s2);
    EXPECT_EQ(x.present, present);
    EXPECT_EQ(x.pointerSet ? 0 : 1, pointerFlag);
    EXPECT_EQ(x.hidden, hidden);
    EXPECT_EQ(static_cast<int32_t>(x.block.size()), count);
    if (x.blockNull)
        EXPECT_EQ(nullptr, block);
    else
        EXPECT_EQ(x.block, Bytes(block, block + count));
    EXPECT_EQ(static_cast<int16_t>(x.cells.size() / 2), rows);
    if (x.cellsNull)
        EXPECT_EQ(nullptr, cells);
    else
        EXPECT_EQ(x.cells, std::vector<int32_t>(cells, cells + 2 * rows));
    EXPECT_EQ(0, std::memcmp(x.shorts, shorts, sizeof shorts));
    if (x.innerNull) {
        EXPECT_EQ(nullptr, inner);
    } else {
        ASSERT_NE(nullptr, inner);
        EXPECT_EQ(x.innerN, inner->n);
        EXPECT_EQ(x.innerS, inner->s);
    }
    if (floats) {
        EXPECT_EQ(x.f, f);
        EXPECT_EQ(x.d, d);
    }
}

TEST(MarshalRoundTrip, EveryDirectiveComesBackAsWritten) {
    std::mt19937 rng(20261210);
    for (int version : {6, 7, 9, 10, 12, 16}) {
        for (int encrypt : {0, 1}) {
            for (int round = 0; round < 40; ++round) {
                const Values x = randomValues(rng);
                // The reader has no float text form; and the writer sends floating values
                // in the clear where the reader (whose peer enciphers them) deciphers.
                const bool floats = version >= 7 && !(encrypt && version > 9);
                StreamPair streams(rng());
                const Bytes payload = write(x, version, encrypt, streams.used, floats);
                readAndCompare(x, payload, version, encrypt, streams.twin, floats);
                ASSERT_EQ(fish_position(streams.used), fish_position(streams.twin))
                    << "writer and reader took different keystream lengths";
                if (HasFailure())
                    return;
            }
        }
    }
}

} // namespace
