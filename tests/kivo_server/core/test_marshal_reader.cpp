#include "MarshalTestSupport.h"

#include <cstddef>
#include <cstring>

namespace {

char* bytesOf(Bytes& b) {
    return reinterpret_cast<char*>(b.data());
}
int lengthOf(const Bytes& b) {
    return static_cast<int>(b.size());
}

template <typename... A>
int readList(Allocs& allocs, int version, Bytes& payload, const char* format, A... targets) {
    const RegisteredPayload registered(payload);
    return kivo_server_kivo_sscanf(&allocs.head, version, 0, nullptr, bytesOf(payload), format,
                                   targets...);
}

bool inside(const void* p, const Bytes& b) {
    const unsigned char* c = static_cast<const unsigned char*>(p);
    return c >= b.data() && c < b.data() + b.size();
}

TEST(MarshalReader, ValueDirectives) {
    Allocs allocs;
    Bytes payload = hex("00000102 0102 7F 00000000000000FF 00000007 44332211 3F800000"
                        "000000003FF00000 05 00000009");
    int32_t n = 0;
    int16_t r = 0;
    int8_t i = 0;
    int64_t l = 0;
    unsigned char b = 0;
    uint32_t v = 0;
    float f = 0;
    double d = 0;
    int32_t present = 0;
    EXPECT_EQ(lengthOf(payload), readList(allocs, 7, payload, "%n%r%i%l%b%v%f%d%0n", &n, &r, &i, &l,
                                          &b, &v, &f, &d, &present));
    EXPECT_EQ(258, n);
    EXPECT_EQ(258, r);
    EXPECT_EQ(127, i);
    EXPECT_EQ(255, l);
    EXPECT_EQ(1, b);
    EXPECT_EQ(0x11223344u, v);
    EXPECT_EQ(1.0f, f);
    EXPECT_EQ(1.0, d);
    EXPECT_EQ(9, present);
    EXPECT_EQ(0, allocs.count());

    // Bytes beyond what the format reads are left for the caller.
    Bytes longer = hex("00000102 FFFF");
    EXPECT_EQ(4, readList(allocs, 7, longer, "%n", &n));
    EXPECT_EQ(258, n);

    Bytes absent = hex("00 00 00");
    double dd = 5;
    EXPECT_EQ(3, readList(allocs, 7, absent, "%0n%0d%0i", &n, &dd, &i));
    EXPECT_EQ(0, n);
    EXPECT_EQ(0.0, dd);
    EXPECT_EQ(0, i);
}

TEST(MarshalReader, Strings) {
    Allocs allocs;
    char buffer[8] = "zzzzzzz";
    char* field = buffer;
    Bytes absent = hex("00");
    EXPECT_EQ(1, readList(allocs, 7, absent, "%0s", &field));
    EXPECT_EQ(nullptr, field);

    field = buffer;
    Bytes present = hex("05616200");
    EXPECT_EQ(4, readList(allocs, 7, present, "%0s", &field));
    EXPECT_STREQ("ab", buffer);

    // Into the payload through the export; a null target skips the string.
    Bytes two = hex("616200 00000102");
    char* into = nullptr;
    int32_t n = 0;
    EXPECT_EQ(7, readList(allocs, 7, two, "%8s%n", &into, &n));
    EXPECT_TRUE(inside(into, two));
    EXPECT_STREQ("ab", into);
    EXPECT_EQ(258, n);
    Bytes skipped = hex("616200 00000102");
    n = 0;
    EXPECT_EQ(7, readList(allocs, 7, skipped, "%s%n", static_cast<char**>(nullptr), &n));
    EXPECT_EQ(258, n);
    EXPECT_EQ(0, allocs.count());
}

TEST(MarshalReader, PointerFlag) {
    Allocs allocs;
    Bytes zero = hex("00"), nine = hex("09");
    int32_t value = 42, flag = 7;
    EXPECT_EQ(1, readList(allocs, 7, zero, "%O", &value, &flag));
    EXPECT_EQ(0, value);
    EXPECT_EQ(1, flag);
    value = 42;
    EXPECT_EQ(1, readList(allocs, 7, nine, "%O", &value, &flag));
    EXPECT_EQ(42, value);
    EXPECT_EQ(0, flag);
}

struct Inner {
    int32_t n;
    char* s;
};
const kivo_offs_t kInnerOffsets[] = {sizeof(Inner), offsetof(Inner, n), offsetof(Inner, s)};

TEST(MarshalReader, AllocatingNestedStructureRecordsItsCopies) {
    Allocs allocs;
    Bytes payload = hex("03 00000005 616200");
    Inner* inner = nullptr;
    EXPECT_EQ(lengthOf(payload),
              readList(allocs, 7, payload, "%0*8{", &inner, "%n%s", kInnerOffsets));
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(5, inner->n);
    EXPECT_STREQ("ab", inner->s);
    EXPECT_FALSE(inside(inner->s, payload)); // a recorded copy, not the payload
    EXPECT_EQ(2, allocs.count());

    Bytes absent = hex("00");
    EXPECT_EQ(1, readList(allocs, 7, absent, "%0*8{", &inner, "%n%s", kInnerOffsets));
    EXPECT_EQ(nullptr, inner);

    // Without '*' the structure is the target; without '8' nothing is allocated: a string
    // field is copied into the buffer it points to, or skipped when it points nowhere.
    Inner direct{0, nullptr};
    Bytes plain = hex("00000003 7800");
    EXPECT_EQ(6, readList(allocs, 7, plain, "%{", &direct, "%n%s", kInnerOffsets));
    EXPECT_EQ(3, direct.n);
    EXPECT_EQ(nullptr, direct.s);
    char buffer[4] = {};
    direct.s = buffer;
    Bytes again = hex("00000004 7900");
    EXPECT_EQ(6, readList(allocs, 7, again, "%{", &direct, "%n%s", kInnerOffsets));
    EXPECT_STREQ("y", buffer);
    EXPECT_EQ(2, allocs.count());
}

TEST(MarshalReader, Arrays) {
    Allocs allocs;
    // '@' always starts with its presence byte.
    Bytes block = hex("04 010203");
    int32_t count = 3;
    unsigned char* bytes = nullptr;
    EXPECT_EQ(4, readList(allocs, 7, block, "%8n@i", &bytes, 1, &count));
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ(0, std::memcmp(bytes, "\x01\x02\x03", 3));
    EXPECT_EQ(1, allocs.count());

    Bytes absent = hex("00");
    EXPECT_EQ(1, readList(allocs, 7, absent, "%8n@i", &bytes, 1, &count));
    EXPECT_EQ(nullptr, bytes);

    // Rows counted by a 16-bit variable, two 32-bit values each, row-major.
    Bytes rows = hex("04 00000001 00000002 00000003 00000004");
    int16_t rowCount = 2;
    int32_t* cells = nullptr;
    EXPECT_EQ(17, readList(allocs, 7, rows, "%08r@n", &cells, 2, &rowCount, 2));
    ASSERT_NE(nullptr, cells);
    EXPECT_EQ(1, cells[0]);
    EXPECT_EQ(4, cells[3]);

    // An inline array: constant dimensions, the caller's own storage.
    Bytes shorts = hex("FFFF 0002 0003");
    int16_t three[3] = {};
    int16_t* p = three;
    EXPECT_EQ(6, readList(allocs, 7, shorts, "%&r", &p, 1, 3));
    EXPECT_EQ(-1, three[0]);
    EXPECT_EQ(3, three[2]);

    // A caller's counted array is filled in place, and a null one is read past.
    Bytes counted = hex("04 00000007 00000008");
    int32_t mine[2] = {};
    int32_t* pm = mine;
    int32_t two = 2;
    EXPECT_EQ(9, readList(allocs, 7, counted, "%n@n", &pm, 1, &two));
    EXPECT_EQ(8, mine[1]);
    Bytes skipped = hex("04 00000007 00000008 00000009");
    int32_t* none = nullptr;
    int32_t after = 0;
    EXPECT_EQ(13, readList(allocs, 7, skipped, "%n@n%n", &none, 1, &two, &after));
    EXPECT_EQ(9, after);

    // Structure elements, allocated.
    Bytes structs = hex("04 00000001 6100 00000002 626300");
    Inner* inners = nullptr;
    EXPECT_EQ(lengthOf(structs),
              readList(allocs, 7, structs, "%8n@{", &inners, 1, &two, "%n%s", kInnerOffsets));
    ASSERT_NE(nullptr, inners);
    EXPECT_EQ(2, inners[1].n);
    EXPECT_STREQ("bc", inners[1].s);
}

// The worked example read back in struct mode, allocating.
struct Record {
    int32_t id;
    char* name;
    int32_t count;
    int32_t* values;
};
const kivo_offs_t kRecordOffsets[] = {sizeof(Record),           offsetof(Record, id),
                                      offsetof(Record, name),   offsetof(Record, count),
                                      offsetof(Record, values), 1,
                                      offsetof(Record, count)};

TEST(MarshalReader, WorkedStructExampleAllocating) {
    Allocs allocs;
    Bytes payload = hex("00000007 616200 00000002 04 00000005 00000006");
    Record r{};
    EXPECT_EQ(20, kivo_sscanf1(&allocs.head, 7, 0, nullptr, KIVO_SSCANF_ALLOCATE, bytesOf(payload),
                               lengthOf(payload), "%n%s%n%0n@n", &r, kRecordOffsets));
    EXPECT_EQ(7, r.id);
    EXPECT_STREQ("ab", r.name);
    ASSERT_EQ(2, r.count);
    EXPECT_EQ(6, r.values[1]);
    EXPECT_EQ(2, allocs.count());
}

TEST(MarshalReader, DecipheringIncludesDoubles) {
    StreamPair streams(99);
    const Bytes plain = hex("00000102 000000003FF00000 05 616200");
    const Bytes k = streams.keystream(15);
    Bytes payload = xorWith(hex("00000102 000000003FF00000"), Bytes(k.begin(), k.begin() + 12)) +
                    hex("05") + xorWith(hex("616200"), Bytes(k.begin() + 12, k.end()));
    Allocs allocs;
    int32_t n = 0;
    double d = 0;
    char* s = nullptr;
    const RegisteredPayload registered(payload);
    EXPECT_EQ(lengthOf(payload), kivo_server_kivo_sscanf(&allocs.head, 10, 1, streams.used,
                                                         bytesOf(payload), "%n%d%08s", &n, &d, &s));
    EXPECT_EQ(258, n);
    EXPECT_EQ(1.0, d);
    EXPECT_STREQ("ab", s);
    EXPECT_EQ(plain, payload); // deciphered in place
}

// Every proper prefix of a valid payload, and payloads whose counts or strings overrun, give
// a negative result and read nothing outside the payload.
TEST(MarshalReader, MalformedPayloadsAreRefused) {
    const char* format = "%i%r%n%l%b%v%8s%0n%O%08n@i%0*8{%f%d";
    const Bytes valid = hex("01 0002 00000003 0000000000000004 00000001 05060708 616200 0500000009"
                            "09 04 010203 03 00000005 7800 3F800000 000000003FF00000");
    for (size_t len = 0; len <= valid.size(); ++len) {
        Bytes payload(valid.begin(), valid.begin() + len);
        payload.shrink_to_fit();
        Allocs allocs;
        int8_t i;
        int16_t r;
        int32_t n, present, value = 1, flag;
        int64_t l;
        unsigned char b;
        uint32_t v;
        char* s;
        unsigned char* block = nullptr;
        int32_t three = 3;
        Inner* inner = nullptr;
        float f;
        double d;
        const int got =
            readList(allocs, 7, payload, format, &i, &r, &n, &l, &b, &v, &s, &present, &value,
                     &flag, &block, 1, &three, &inner, "%n%s", kInnerOffsets, &f, &d);
        if (len == valid.size())
            EXPECT_EQ(lengthOf(valid), got);
        else
            EXPECT_LT(got, 0) << "prefix of " << len;
    }

    struct Case {
        const char* name;
        Bytes payload;
        int expected;
    };
    const Case cases[] = {
        {"count beyond the payload", hex("00000004 04 0102"), KIVO_SSCANF_BAD_COUNT},
        {"huge count", hex("7FFFFFFF 04 0102"), KIVO_SSCANF_BAD_COUNT},
        {"negative count", hex("FFFFFFFF 04 0102"), KIVO_SSCANF_BAD_COUNT},
        {"string without its NUL", hex("00000000 04 6162"), KIVO_SSCANF_UNTERMINATED},
    };
    for (const Case& c : cases) {
        Bytes payload = c.payload;
        Allocs allocs;
        int32_t count = 0;
        unsigned char* data = nullptr;
        char* s = nullptr;
        const int got = readList(
            allocs, 7, payload, c.expected == KIVO_SSCANF_UNTERMINATED ? "%n%08n@i%8s" : "%n%08n@i",
            &count, &data, 1, &count, &s);
        EXPECT_EQ(c.expected, got) << c.name;
    }

    // A count far beyond the payload is refused before anything is allocated.
    Bytes rows = hex("04 00000001");
    Allocs allocs;
    int64_t many = int64_t{1} << 62;
    int32_t* cells = nullptr;
    EXPECT_EQ(KIVO_SSCANF_BAD_COUNT,
              readList(allocs, 7, rows, "%8l@n", &cells, 2, &many, int64_t{4}));

    // No floating form below version 7: a client's version cannot stop the server.
    Bytes floatText = Bytes(64, '1');
    float f = 0;
    EXPECT_EQ(KIVO_SSCANF_NO_FLOAT, readList(allocs, 6, floatText, "%f", &f));
    int32_t two = 0;
    EXPECT_EQ(KIVO_SSCANF_BAD_LENGTH,
              kivo_sscanf1(nullptr, 7, 0, nullptr, 0, nullptr, -1, "%n", nullptr, &two));
    EXPECT_EQ(0, kivo_sscanf1(nullptr, 7, 0, nullptr, 0, nullptr, 0, "", nullptr));
}

// The export reads from its input to the end of the registered payload that holds it, and
// nothing that lies in no registered payload.
TEST(MarshalReader, ExportIsBoundedByTheRegisteredPayload) {
    Bytes payload = hex("00000001 00000002 6162");
    int32_t a = 0, b = 0;
    char* s = nullptr;
    {
        const RegisteredPayload registered(payload, 8); // the string lies outside
        char* second = bytesOf(payload) + 4;
        EXPECT_EQ(4, kivo_server_kivo_sscanf(nullptr, 7, 0, nullptr, second, "%n", &b));
        EXPECT_EQ(2, b);
        EXPECT_EQ(0, kivo_server_kivo_sscanf(nullptr, 7, 0, nullptr, second + 4, ""));
        EXPECT_EQ(KIVO_SSCANF_TRUNCATED,
                  kivo_server_kivo_sscanf(nullptr, 7, 0, nullptr, second, "%n%n", &a, &b));
        EXPECT_EQ(KIVO_SSCANF_UNTERMINATED,
                  kivo_server_kivo_sscanf(nullptr, 7, 0, nullptr, bytesOf(payload), "%n%n%8s", &a,
                                          &b, &s));
    }
    EXPECT_EQ(KIVO_SSCANF_NOT_A_PAYLOAD,
              kivo_server_kivo_sscanf(nullptr, 7, 0, nullptr, bytesOf(payload), "%n", &a));
    EXPECT_EQ(KIVO_SSCANF_NOT_A_PAYLOAD,
              kivo_server_kivo_sscanf(nullptr, 7, 0, nullptr, nullptr, ""));
}

TEST(MarshalReader, FreeAllocsAcceptsNull) {
    EXPECT_EQ(0, kivo_server_kivo_sscanf_free_allocs(nullptr));
}

} // namespace
