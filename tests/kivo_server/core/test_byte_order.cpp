#include "kivo_byteorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

template <typename T> std::vector<unsigned char> bytesOf(T v) {
    std::vector<unsigned char> b(sizeof(T));
    std::memcpy(b.data(), &v, sizeof(T));
    return b;
}

using Bytes = std::vector<unsigned char>;

TEST(ByteOrder, BothTargetsAreLittleEndian) {
    EXPECT_EQ(0, kivo_host_endianness());
    EXPECT_EQ(0, kivo_host_endianness()); // from the cache
    EXPECT_EQ(0, kivo_host_word_order());
}

TEST(ByteOrder, IntegersGoOutBigEndian) {
    EXPECT_EQ((Bytes{0x01, 0x02}), bytesOf(kivo_to_big_endian16(258)));
    EXPECT_EQ((Bytes{0, 0, 0x01, 0x02}), bytesOf(kivo_to_big_endian32(258)));
    EXPECT_EQ((Bytes{0, 0, 0, 0, 0, 0, 0x01, 0x02}), bytesOf(kivo_to_big_endian64(258)));
    EXPECT_EQ(0x0102u, kivo_from_big_endian16(kivo_to_big_endian16(0x0102)));
    EXPECT_EQ(0x01020304u, kivo_from_big_endian32(kivo_to_big_endian32(0x01020304)));
    EXPECT_EQ(0x0102030405060708ull,
              kivo_from_big_endian64(kivo_to_big_endian64(0x0102030405060708ull)));
}

TEST(ByteOrder, FloatingValuesOnTheWire) {
    struct Case {
        double value;
        Bytes wire;
    };
    const Case doubles[] = {
        {1.0, {0, 0, 0, 0, 0x3F, 0xF0, 0, 0}},
        {-2.5, {0, 0, 0, 0, 0xC0, 0x04, 0, 0}},
        {0.1, {0x99, 0x99, 0x99, 0x9A, 0x3F, 0xB9, 0x99, 0x99}}, // low half first
    };
    for (const Case& c : doubles) {
        Bytes wire(8);
        kivo_double_to_wire(c.value, wire.data());
        EXPECT_EQ(c.wire, wire) << c.value;
        EXPECT_EQ(c.value, kivo_wire_to_double(c.wire.data()));
    }
    Bytes wire(4);
    kivo_float_to_wire(1.0f, wire.data());
    EXPECT_EQ((Bytes{0x3F, 0x80, 0, 0}), wire);
    const unsigned char half[4] = {0xBF, 0x00, 0, 0};
    EXPECT_EQ(-0.5f, kivo_wire_to_float(half));
}

} // namespace
