#include "BaseObject.h"
#include "Conversions.h"
#include "StringUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

using namespace CommonCpp;

namespace {

class NamedObject : public BaseObject {
public:
    NamedObject() : BaseObject("NamedObject") {}
};

} // namespace

TEST(Conversions, NumbersAndBooleans) {
    EXPECT_EQ("-42", FormatInt(-42));
    EXPECT_EQ("2147483647", IntToString(INT_MAX));
    EXPECT_EQ("-32768", ShortToString(-32768));
    EXPECT_EQ("65535", UShortToString(65535));
    EXPECT_EQ("-2147483648", LongToString(LONG_MIN));
    EXPECT_EQ("4294967295", ULongToString(ULONG_MAX));
    EXPECT_EQ("2.500000", FormatDouble(2.5));
    EXPECT_EQ("2.5", DoubleToString(2.5));
    EXPECT_EQ("1e+300", DoubleToString(1e300));
    EXPECT_EQ("true", BoolToString(true));
    EXPECT_EQ("false", BoolToString(false));
}

TEST(Conversions, LargeMagnitudesAreWhole) {
    // "%f" of these needs more than any fixed buffer of a few hundred bytes.
    const std::string big = FormatDouble(1e300);
    ASSERT_EQ(301u + 7u, big.size());
    EXPECT_EQ("1", big.substr(0, 1));
    EXPECT_EQ(".000000", big.substr(big.size() - 7));
    EXPECT_EQ(std::string::npos, big.find_first_not_of("0123456789.", 0));
    EXPECT_EQ('-', FormatDouble(-1.7e308)[0]);
    EXPECT_EQ(309u + 8u, FormatDouble(-1.7e308).size());
}

TEST(Conversions, QuoteString) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", "\"\""},
        {"plain text", "\"plain text\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\dir", "\"C:\\\\dir\""},
        {"a\tb", "\"a\\0x09b\""},
        {"\xE9t\xE9", "\"\\0xe9t\\0xe9\""},
        {std::string("\0z", 2), "\"\\0x00z\""},
        {"\x7f", "\"\\0x7f\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, QuoteString(c.in));
    }
}

TEST(StringUtils, Trim) {
    EXPECT_EQ("a b \t", TrimLeft(" \t\r\na b \t"));
    EXPECT_EQ(" a b", TrimRight(" a b \n\v\f"));
    EXPECT_EQ("a b", Trim("  a b  "));
    EXPECT_EQ("", TrimLeft("    "));
    EXPECT_EQ("", TrimRight("  \t "));
    EXPECT_EQ("", Trim(""));
}

TEST(StringUtils, ReplaceAll) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        const char* out;
    } cases[] = {
        {"a,b,c", ",", ";", "a;b;c"},
        {"aaa", "aa", "b", "ba"}, // non-overlapping, from the left
        {"xabab", "ab", "", "x"}, // a match that ends the text
        {"abc", "x", "y", "abc"},
        {"abc", "abc", "longer text", "longer text"},
        {"", "a", "b", ""},
        {"a.b", "", "zz", "a.b"}, // an empty search changes nothing
        {"1 & 2 & 3", "&", "&amp;", "1 &amp; 2 &amp; 3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, ReplaceAll(c.text, c.search, c.replacement))
            << c.text << " / " << c.search;
    }
}

TEST(StringUtils, TextBetween) {
    const struct {
        const char* text;
        const char* out;
    } cases[] = {
        {"  \"John Smith\" <js@x.org>  ", "John Smith"},
        {"\"a\" \"b\"", "a\" \"b"}, // between the first and the last
        {"name\"rest", "rest"},     // one occurrence: what follows
        {"  no quotes  ", "no quotes"},
        {"\"\"", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, TextBetween(c.text, "\"")) << c.text;
    }
}

TEST(StringUtils, Split) {
    const struct {
        const char* text;
        const char* separator;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a;b;;c", ";", {"a", "b", "c"}},
        {"a;b", ";", {"a", "b"}},
        {" a ; b ;", ";", {"a", "b"}},
        {"", ";", {}},
        {";;", ";", {}},
        {"single", ";", {"single"}},
        {"\"Smith; John\" <j@x>; b@x", ";", {"\"Smith; John\" <j@x>", "b@x"}},
        {"x@y, \"Doe, Jane\" <jd@y>, z@y", ",", {"x@y", "\"Doe, Jane\" <jd@y>", "z@y"}},
        {"\"open; quote", ";", {"\"open; quote"}},
        {"a::b::c", "::", {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> out = {"left over"};
        Split(c.text, c.separator, out);
        EXPECT_EQ(c.pieces, out) << c.text;
    }
}

TEST(StringUtils, PascalToCString) {
    const unsigned char source[] = {5, 'H', 'e', 'l', 'l', 'o', 'X', 'Y'};
    char out[256];
    std::memset(out, '?', sizeof out);
    EXPECT_EQ(out, PascalToCString(out, source));
    EXPECT_STREQ("Hello", out);
    const unsigned char empty[] = {0};
    EXPECT_STREQ("", PascalToCString(out, empty));
}

TEST(StringUtils, SubstituteArgs) {
    EXPECT_EQ("Copy a.txt to b", SubstituteArgs("Copy ^1 to ^2", "a.txt", "b"));
    EXPECT_EQ("b then a", SubstituteArgs("^2 then ^1", "a", "b"));
    EXPECT_EQ("a ^1 b ^2", SubstituteArgs("^1 ^1 ^2 ^2", "a", "b")); // only the first of each
    EXPECT_EQ("nothing here", SubstituteArgs("nothing here", "a", "b"));
    // An argument's own placeholders stay text.
    EXPECT_EQ("^2", SubstituteArgs("^1", "^2", "x"));
    EXPECT_EQ("image a^2b in mailbox m^1", SubstituteArgs("image ^1 in mailbox ^2", "a^2b", "m^1"));
    EXPECT_EQ("m^1 holds a^2b", SubstituteArgs("^2 holds ^1", "a^2b", "m^1"));
}

TEST(StringUtils, CompareNoCase) {
    EXPECT_NE(0, CompareNoCase("ABC", "abc"));
    EXPECT_EQ(-CompareNoCase("ABC", "abc"), CompareNoCase("abc", "ABC"));
    EXPECT_EQ(0, CompareNoCase("same", "same"));
    EXPECT_LT(CompareNoCase("apple", "BANANA"), 0);
    EXPECT_GT(CompareNoCase("Cherry", "banana"), 0);
}

TEST(BaseObject, NameAndIdentity) {
    BaseObject plain;
    NamedObject named;
    EXPECT_EQ("BaseObject", plain.GetClassName());
    EXPECT_EQ("NamedObject", named.GetClassName());
    const BaseObject* asBase = &named;
    EXPECT_EQ("NamedObject", asBase->GetClassName());

    EXPECT_TRUE(named.IsSameObject(asBase));
    EXPECT_EQ(&named, named.GetSelf());
    const NamedObject twin(named);
    EXPECT_FALSE(named.IsSameObject(&twin));
    EXPECT_EQ("NamedObject", twin.GetClassName());
}

TEST(BaseObject, Hashes) {
    EXPECT_EQ(0u, BaseObject::HashString(""));
    // One character serves as first, last and middle: ('A' >> 2) << 28 ^ 'A' << 8 ^ 'A' << 4 ^ 1.
    EXPECT_EQ((0x10u << 28) ^ (0x41u << 8) ^ (0x41u << 4) ^ 1u, BaseObject::HashString("A"));
    std::uint32_t expected = 0;
    const char* text = "abcdefg";
    for (int i = 0; i < 5; ++i) {
        expected ^= static_cast<std::uint32_t>(text[i] >> 2) << (28 - 4 * i);
    }
    expected ^= static_cast<std::uint32_t>('g') << 8;
    expected ^= static_cast<std::uint32_t>('d') << 4;
    expected ^= 7u;
    EXPECT_EQ(expected, BaseObject::HashString(text));
    // Bytes above 0x7F count as negative: the shifts carry the sign bits.
    EXPECT_EQ(0xFFFFE900u ^ 0xFFFFFE90u ^ 0xA0000000u ^ 1u, BaseObject::HashString("\xE9"));

    EXPECT_EQ(0x10101010u, BaseObject::HashFlag(true));
    EXPECT_EQ(0u, BaseObject::HashFlag(false));
}
