#include "STR_value255.h"
#include "STR_value32.h"
#include "TW_Fix32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace CommonTwain;

TEST(TW_Fix32, RoundsHalfAwayFromZeroAndConvertsBack) {
    struct Case {
        double value;
        TW_INT16 whole;
        TW_UINT16 frac;
    } cases[] = {
        {0.5, 0, 32768},      {-0.5, -1, 32768},          {300.0, 300, 0},
        {1.0 / 131072, 0, 1}, {-1.0 / 131072, -1, 65535}, {0.0, 0, 0},
        {150.5, 150, 32768},  {-2.25, -3, 49152},
    };
    for (const Case& c : cases) {
        const TW_Fix32 fix(c.value);
        EXPECT_EQ(c.whole, fix.Whole) << c.value;
        EXPECT_EQ(c.frac, fix.Frac) << c.value;
    }
    EXPECT_DOUBLE_EQ(-0.5, TW_Fix32(TW_FIX32{-1, 32768}).ToFloat());
    EXPECT_DOUBLE_EQ(150.5, TW_Fix32(150.5).ToFloat());
}

TEST(TW_Fix32, TraceTextsAndExactEquality) {
    EXPECT_EQ("TW_FIX32(1.5, Whole = 1, Frac = 32768)", Fix32ToString(TW_FIX32{1, 32768}));
    EXPECT_EQ("TW_Fix32(-0.5, Whole = -1, Frac = 32768)", TW_Fix32(-0.5).Dump());
    EXPECT_TRUE(EqualFix32(TW_FIX32{2, 1}, TW_FIX32{2, 1}));
    EXPECT_FALSE(EqualFix32(TW_FIX32{2, 1}, TW_FIX32{2, 2}));
}

TEST(STR_value, StoringKeepsCapacityAndTerminator) {
    const std::string forty(40, 'x');
    STR_value32 s(forty.c_str());
    EXPECT_EQ(31u, s.GetLength());
    EXPECT_EQ(31u, s.CopyFrom(forty.c_str()));
    s.SetText(forty.c_str());
    EXPECT_EQ(std::string(31, 'x'), s.ToStdString());
    s.AppendChar('y');
    EXPECT_EQ(std::string(31, 'x'), s.ToStdString());

    STR_value32 thirty(std::string(30, 'a').c_str());
    thirty.Append(STR_value32("bcd"));
    EXPECT_EQ(std::string(30, 'a') + "b", thirty.ToStdString());

    STR_value255 long255(std::string(300, 'z'));
    EXPECT_EQ(255u, long255.GetLength());
    EXPECT_EQ(256u, long255.GetCapacity());
    long255.SetStdString("");
    EXPECT_EQ("", long255.ToStdString());

    STR_value32 self("ab");
    self += self;
    EXPECT_EQ("abab", self.ToStdString());
}

TEST(STR_value, CopyToBoundsTheCallersBuffer) {
    const STR_value32 twenty("abcdefghijklmnopqrst");
    char buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    twenty.CopyTo(buffer, 8);
    EXPECT_STREQ("abcdefg", buffer);
    EXPECT_EQ('#', buffer[8]);
    buffer[0] = '#';
    twenty.CopyTo(buffer, 0); // nothing, not a wrapped-around size
    EXPECT_EQ('#', buffer[0]);
}

TEST(STR_value, CompareIgnoresCaseUnlessBothAreCaseSensitive) {
    STR_value32 upper("ABC");
    STR_value32 lower("abc");
    EXPECT_EQ(0, upper.Compare(lower));
    upper.SetCaseSensitive(true);
    EXPECT_EQ(0, upper.Compare(lower));
    lower.SetCaseSensitive(true);
    EXPECT_EQ(-1, upper.Compare(lower));
    EXPECT_EQ(1, lower.Compare(upper));
    EXPECT_EQ(0, upper.Compare(upper));
}

TEST(STR_value, BeforeAfterAndTruncate) {
    const STR_value32 name("scan.tif");
    EXPECT_EQ("scan", name.Before('.').ToStdString());
    EXPECT_EQ("tif", name.After('.').ToStdString());
    EXPECT_EQ("", name.After('x').ToStdString());
    EXPECT_EQ("scan.tif", name.Before('x').ToStdString());
    EXPECT_EQ("", STR_value32("scan.").After('.').ToStdString());

    STR_value32 cut("abcdef");
    EXPECT_EQ(3u, cut.Truncate(3));
    EXPECT_EQ("abc", cut.ToStdString());
    EXPECT_EQ(31u, cut.Truncate(500)); // kept inside the buffer
}

TEST(STR_value, DumpQuotesAndCloneKeepsFlag) {
    STR_value255 text("a\"b");
    text.SetCaseSensitive(true);
    EXPECT_EQ("TW_STR255(\"a\\\"b\")", text.Dump());
    EXPECT_EQ("TW_STR32(\"x\")", STR_value32("x").Dump());
    const auto copy = text.Clone();
    EXPECT_TRUE(copy->IsCaseSensitive());
    EXPECT_EQ("a\"b", copy->ToStdString());
}
