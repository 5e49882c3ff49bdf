#include "Base64Coder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string EncodeText(const std::string& text) {
    Base64Coder coder;
    coder.EncodeBuffer(reinterpret_cast<const unsigned char*>(text.data()),
                       static_cast<uint32_t>(text.size()));
    return coder.GetText() ? coder.GetText() : "";
}

// The decoded bytes read as zero-terminated text, as the preferences read a password.
std::string DecodeText(const std::string& text) {
    Base64Coder coder;
    coder.Decode(text.c_str());
    return coder.GetBinary() ? reinterpret_cast<const char*>(coder.GetBinary()) : "";
}

} // namespace

TEST(Base64Coder, EncodesGroupsWithPadding) {
    struct Case {
        const char* plain;
        const char* encoded;
    };
    const Case cases[] = {
        {"M", "TQ=="},
        {"Ma", "TWE="},
        {"Man", "TWFu"},
        {"hunter2", "aHVudGVyMg=="},
        {"\xff\xfe\xfd", "//79"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain);
        Base64Coder coder;
        const std::string plain = c.plain;
        EXPECT_EQ(std::string(c.encoded).size(),
                  coder.EncodeBuffer(reinterpret_cast<const unsigned char*>(plain.data()),
                                     static_cast<uint32_t>(plain.size())));
        EXPECT_STREQ(c.encoded, coder.GetText());
        EXPECT_EQ(plain, DecodeText(c.encoded));
    }
}

TEST(Base64Coder, NothingToEncodeLeavesNoBuffer) {
    Base64Coder coder;
    EXPECT_EQ(0u, coder.Encode(nullptr));
    EXPECT_EQ(nullptr, coder.GetText());
    EXPECT_EQ(0u, coder.Encode(""));
    EXPECT_EQ(nullptr, coder.GetText());
    EXPECT_EQ(0u, coder.Decode(nullptr));
    EXPECT_EQ(nullptr, coder.GetBinary());
}

TEST(Base64Coder, DecodedBytesAreFollowedByZeros) {
    Base64Coder coder;
    EXPECT_EQ(3u, coder.Decode("TWE=")); // 3 per full group, padded or not
    const unsigned char* bytes = coder.GetBinary();
    EXPECT_EQ('M', bytes[0]);
    EXPECT_EQ('a', bytes[1]);
    EXPECT_EQ(0, bytes[2]);
    EXPECT_EQ(0, bytes[3]);
}

TEST(Base64Coder, LenientDecoding) {
    // Blanks are skipped anywhere.
    EXPECT_EQ("Man is", DecodeText(" TW\tFu\r\nIG\vlz\f"));
    // A short tail decodes as if padded with "A".
    EXPECT_EQ("Man ", DecodeText("TWFuIA"));
    // Outside the alphabet acts as "+", "=" early in a group as "/".
    EXPECT_EQ(DecodeText("ab+d"), DecodeText("ab*d"));
    EXPECT_EQ(DecodeText("/bcd"), DecodeText("=bcd"));
    // The high bit is ignored.
    EXPECT_EQ(DecodeText("TWFu"), DecodeText("\xd4W\xc6u"));
}

TEST(Base64Coder, RoundTripsEveryByteValue) {
    std::string all;
    for (int i = 1; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    EXPECT_EQ(all, DecodeText(EncodeText(all)));
    EXPECT_EQ(std::string::npos, EncodeText(all).find_first_of("\r\n"));
}

TEST(Base64Coder, BuffersGrowInStepsAndNeverShrink) {
    struct Case {
        uint32_t request;
        uint32_t capacity;
    };
    for (const Case& c :
         {Case{0, 0}, Case{1, 4096}, Case{4095, 4096}, Case{4096, 8192}, Case{4097, 8192}}) {
        Base64Coder coder;
        coder.ReserveTextBuffer(c.request);
        EXPECT_EQ(c.capacity, coder.GetTextCapacity()) << c.request;
    }
    Base64Coder coder;
    coder.ReserveBinaryBuffer(5000);
    coder.ReserveBinaryBuffer(10);
    EXPECT_EQ(8192u, coder.GetBinaryCapacity());
    // Large input still fits: the text needs less than twice the bytes.
    const std::string big(6000, 'x');
    EXPECT_EQ(8000u, EncodeText(big).size());
    EXPECT_EQ(big, DecodeText(EncodeText(big)));
}
