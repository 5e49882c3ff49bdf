#include "MarshalTestSupport.h"

#include <cstddef>
#include <cstring>

namespace {

// Identifier, a string, a count and the counted 32-bit values: the layout of the worked
// example, sized and placed by the compiler on each architecture.
struct Record {
    int32_t id;
    const char* name;
    int32_t count;
    int32_t* values;
};

const kivo_offs_t kRecordOffsets[] = {sizeof(Record),           offsetof(Record, id),
                                      offsetof(Record, name),   offsetof(Record, count),
                                      offsetof(Record, values), 1,
                                      offsetof(Record, count)};
const char kRecordFormat[] = "%n%s%n%0n@n";

TEST(MarshalWriter, WorkedStructExample) {
    int32_t values[] = {5, 6};
    const Record r{7, "ab", 2, values};
    EXPECT_EQ(hex("00000007 616200 00000002 04 00000005 00000006"),
              writePayload(7, 0, nullptr, kRecordFormat, &r, kRecordOffsets));
    const Record none{7, nullptr, 0, nullptr};
    EXPECT_EQ(hex("00000007 00000000 00"),
              writePayload(7, 0, nullptr, kRecordFormat, &none, kRecordOffsets));
}

TEST(MarshalWriter, ValueDirectives) {
    int32_t n = 258;
    int32_t* pn = &n;
    int32_t* nullInt = nullptr;
    const char* ab = "ab";
    const char* nullText = nullptr;
    const uint32_t handle = 0x11223344;
    EXPECT_EQ(hex("00000102"), writeList(7, "%n", 258));
    EXPECT_EQ(hex("0102"), writeList(7, "%r", 258));
    EXPECT_EQ(hex("02"), writeList(7, "%i", 258));
    EXPECT_EQ(hex("00000001"), writeList(7, "%b", 7));
    EXPECT_EQ(hex("00000000"), writeList(7, "%b", 0x100)); // only the low byte counts
    EXPECT_EQ(hex("0000000000000102"), writeList(7, "%l", int64_t{258}));
    EXPECT_EQ(hex("44332211"), writeList(7, "%v", handle)); // host order
    EXPECT_EQ(hex("00000102"), writeList(7, "%*n", pn));
    EXPECT_EQ(hex("00000102"), writeList(7, "%**n", &pn));
    EXPECT_EQ(hex("00000000"), writeList(7, "%*n", nullInt)); // a null pointer gives 0
    EXPECT_EQ(hex("0500000102"), writeList(7, "%0n", 258));
    EXPECT_EQ(hex("616200"), writeList(7, "%s", ab));
    EXPECT_EQ(Bytes{}, writeList(7, "%s", nullText));
    EXPECT_EQ(hex("00"), writeList(7, "%0s", nullText));
    EXPECT_EQ(hex("05616200"), writeList(7, "%0s", ab));
    EXPECT_EQ(hex("616200"), writeList(7, "%8s", ab)); // '8' only matters to the reader
    EXPECT_EQ(hex("09 00 0509"), writeList(7, "%O%O%0O", 1, 0, 1));
    EXPECT_EQ(hex("3F800000"), writeList(7, "%f", 1.0));
    EXPECT_EQ(hex("0000000040000000"), writeList(7, "%d", 2.0));
    EXPECT_EQ(hex("000000003FF00000"), writeList(7, "%d", 1.0));
    float f = -0.5f;
    EXPECT_EQ(hex("BF000000"), writeList(7, "%*f", &f));
}

TEST(MarshalWriter, FloatTextFieldBelowVersionSevenIsZeroFilled) {
    for (const char* format : {"%d", "%f"}) {
        Bytes expected = text("1");
        expected.resize(64, 0);
        EXPECT_EQ(expected, writeList(6, format, 1.0)) << format;
    }
    Bytes expected = text("0.5");
    expected.resize(64, 0);
    EXPECT_EQ(expected, writeList(6, "%d", 0.5));
    EXPECT_EQ(65u, writeList(6, "%0d", 1.0).size());
}

TEST(MarshalWriter, NestedStructures) {
    struct Inner {
        int32_t n;
        const char* s;
    };
    const kivo_offs_t innerOffsets[] = {sizeof(Inner), offsetof(Inner, n), offsetof(Inner, s)};
    const Inner inner{1, "x"};
    const Inner* nullInner = nullptr;
    EXPECT_EQ(hex("03 00000001 7800"), writeList(7, "%0{", &inner, "%n%s", innerOffsets));
    EXPECT_EQ(hex("00"), writeList(7, "%0{", nullInner, "%n%s", innerOffsets));
    EXPECT_EQ(Bytes{}, writeList(7, "%{", nullInner, "%n%s", innerOffsets));
    const Inner* p = &inner;
    EXPECT_EQ(hex("00000001 7800"), writeList(7, "%**{", &p, "%n%s", innerOffsets));

    // A structure inline in another and one reached through a pointer field.
    struct Outer {
        Inner direct;
        const Inner* indirect;
    };
    const kivo_offs_t outerOffsets[] = {sizeof(Outer),
                                        offsetof(Outer, direct),
                                        reinterpret_cast<kivo_offs_t>("%n%s"),
                                        reinterpret_cast<kivo_offs_t>(innerOffsets),
                                        offsetof(Outer, indirect),
                                        reinterpret_cast<kivo_offs_t>("%n"),
                                        reinterpret_cast<kivo_offs_t>(innerOffsets)};
    const Outer outer{{2, "y"}, &inner};
    EXPECT_EQ(hex("00000002 7900 03 00000001"), writeList(7, "%{", &outer, "%{%0*{", outerOffsets));
}

TEST(MarshalWriter, Arrays) {
    const unsigned char bytes[] = {1, 2, 3};
    const int32_t* nullValues = nullptr;
    const int32_t grid[2][3] = {{1, 2, 3}, {4, 5, 6}};
    const int16_t shorts[] = {-1, 2};
    const char* strings[] = {"a", nullptr, "bc"};
    EXPECT_EQ(hex("010203"), writeList(7, "%n@i", bytes, 1, 3));
    EXPECT_EQ(hex("04010203"), writeList(7, "%0n@i", bytes, 1, 3));
    EXPECT_EQ(hex("00"), writeList(7, "%0n@n", nullValues, 1, 3));
    EXPECT_EQ(Bytes{}, writeList(7, "%n@n", nullValues, 1, 3));
    EXPECT_EQ(hex("00000001 00000002 00000003 00000004 00000005 00000006"),
              writeList(7, "%n&n", &grid[0][0], 2, 2, 3));
    EXPECT_EQ(hex("FFFF 0002"), writeList(7, "%l&r", shorts, 1, int64_t{2}));
    EXPECT_EQ(hex("6100 626300"), writeList(7, "%n&s", strings, 1, 3));
    // The array's own '0' and then the elements' own: the first '0' belongs to the array.
    EXPECT_EQ(hex("04 056100 00 05626300"), writeList(7, "%0n&0s", strings, 1, 3));
    EXPECT_EQ(hex("6100 626300"), writeList(7, "%n&0s", strings, 1, 3));

    struct Pair {
        int16_t a;
        unsigned char b;
    };
    const Pair pairs[] = {{1, 2}, {3, 4}};
    const kivo_offs_t pairOffsets[] = {sizeof(Pair), offsetof(Pair, a), offsetof(Pair, b)};
    EXPECT_EQ(hex("0001 02 0003 04"), writeList(7, "%n&{", pairs, 1, 2, "%r%i", pairOffsets));

    // Struct mode: the counts of an '@' array come from fields of the count letter's width.
    struct Counted {
        int8_t rows;
        int8_t cols;
        const int16_t* cells;
    };
    const int16_t cells[] = {1, 2, 3, 4, 5, 6};
    const kivo_offs_t countedOffsets[] = {sizeof(Counted), offsetof(Counted, cells), 2,
                                          offsetof(Counted, rows), offsetof(Counted, cols)};
    const Counted counted{3, 2, cells};
    EXPECT_EQ(hex("0001 0002 0003 0004 0005 0006"),
              writePayload(7, 0, nullptr, "%i@r", &counted, countedOffsets));
    const Counted negative{-1, 2, cells};
    EXPECT_EQ(Bytes{}, writePayload(7, 0, nullptr, "%i@r", &negative, countedOffsets));
}

TEST(MarshalWriter, EncipheringByVersionSwitchAndHash) {
    struct Case {
        int version;
        int encrypt;
        const char* format;
        bool enciphered;
    };
    const Case cases[] = {
        {9, 1, "%n", false},   {10, 1, "%n", true},  {10, 0, "%n", false},
        {11, 0, "%#n", false}, {12, 0, "%#n", true}, {12, 1, "%n", true},
    };
    for (const Case& c : cases) {
        StreamPair streams(0x1234);
        const Bytes out = writePayload(c.version, c.encrypt, streams.used, c.format, nullptr, 258);
        const Bytes plain = hex("00000102");
        EXPECT_EQ(c.enciphered ? xorWith(plain, streams.keystream(4)) : plain, out)
            << c.version << " " << c.encrypt << " " << c.format;
    }
}

TEST(MarshalWriter, MarkersDoublesAndElementArraysStayClear) {
    StreamPair streams(77);
    const int32_t values[] = {1, 2};
    const unsigned char block[] = {9, 8};
    const Bytes out = writePayload(12, 0, streams.used, "%0#n%#d%#O%#n@n%#n@i%0#s", nullptr, 258,
                                   1.0, 1, values, 1, 2, block, 1, 2, "a");
    const Bytes k = streams.keystream(4 + 2 + 2);
    const Bytes expected = hex("05") + xorWith(hex("00000102"), k) + hex("000000003FF00000") +
                           hex("09") + hex("00000001 00000002") +
                           xorWith(hex("0908"), Bytes(k.begin() + 4, k.begin() + 6)) + hex("05") +
                           xorWith(hex("6100"), Bytes(k.begin() + 6, k.end()));
    EXPECT_EQ(expected, out);
}

TEST(MarshalWriter, ExportAllocatesTheCountedBytes) {
    char* out = reinterpret_cast<char*>(1);
    EXPECT_EQ(0, kivo_server_kivo_sprintf(7, 0, nullptr, &out, "%s", static_cast<char*>(nullptr)));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(8, kivo_server_kivo_sprintf(7, 0, nullptr, &out, "%n%0s", 258, "ab"));
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(hex("00000102 05616200"), Bytes(out, out + 8));
    std::free(out);
}

} // namespace

namespace {

// A malformed format is the caller's programming error: the process stops, naming it.
TEST(MarshalFormatDeathTest, MalformedFormatsStopTheProcess) {
    const int32_t values[] = {1};
    const kivo_offs_t offsets[] = {4, 0};
    EXPECT_DEATH(kivo_tally(7, "x%n", nullptr, 1), "unknown fmt character");
    EXPECT_DEATH(kivo_tally(7, "%q", nullptr, 1), "unknown fmt character");
    EXPECT_DEATH(kivo_tally(7, "%nx", nullptr, 1), "unknown fmt character");
    EXPECT_DEATH(kivo_tally(7, "%n&n", nullptr, values, 3, 1, 1, 1),
                 "array_dim_count<=MAX_ARRAY_DIMS");
    EXPECT_DEATH(kivo_tally(7, "%n&O", nullptr, values, 1, 1), "without a size");
    EXPECT_DEATH(kivo_tally(7, "%{", nullptr, values, nullptr, offsets), "t_fmt!=NULL");
    char payload[] = {4, 0};
    int32_t* target = nullptr;
    EXPECT_DEATH(
        kivo_sscanf1(nullptr, 7, 0, nullptr, 0, payload, 2, "%8n&n", nullptr, &target, 3, 1, 1, 1),
        "array_dim_count<=S_MAX_ARRAY_DIMS");
    EXPECT_DEATH(
        kivo_sscanf1(nullptr, 7, 0, nullptr, 0, payload, 2, "%{", nullptr, values, "%n", nullptr),
        "s_offs!=NULL");
}

} // namespace
