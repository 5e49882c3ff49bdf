#include "STR_value32.h"
#include "TwainDateTime.h"

#include <gtest/gtest.h>

#include <string>

using namespace CommonTwain;

namespace {

struct Fields {
    int year, month, day, hour, minute, second;
};

Fields FieldsOf(const TwainDateTime& t) {
    return {t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()};
}

bool operator==(const Fields& a, const Fields& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

std::ostream& operator<<(std::ostream& os, const Fields& f) {
    return os << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute << ":"
              << f.second;
}

TwainDateFormats Formats(const char* time, const char* date, int language) {
    TwainDateFormats formats;
    formats.timeFormat = time;
    formats.dateFormat = date;
    formats.languageIndex = language;
    return formats;
}

} // namespace

TEST(TwainDateTime, ParsesTheServersText) {
    struct Case {
        const char* text;
        Fields expected;
    } cases[] = {
        {"Wed Jan 05 08:00:00 2005", {2005, 1, 5, 8, 0, 0}},
        {"Tue Feb 29 23:59:59 2004", {2004, 2, 29, 23, 59, 59}},
        {"Mon Mar 02 14:05:09 2004", {2004, 3, 2, 14, 5, 9}},
        {"Mon Apr  1 00:00:01 2002", {2002, 4, 1, 0, 0, 1}},
        {"Sun May 31 01:02:03 2009", {2009, 5, 31, 1, 2, 3}},
        {"Thu Jun 30 10:11:12 2005", {2005, 6, 30, 10, 11, 12}},
        {"Sat Jul 09 10:11:12 2005", {2005, 7, 9, 10, 11, 12}},
        {"Mon Aug 08 10:11:12 2005", {2005, 8, 8, 10, 11, 12}},
        {"Mon Sep 12 10:11:12 2005", {2005, 9, 12, 10, 11, 12}},
        {"Mon Oct 10 10:11:12 2005", {2005, 10, 10, 10, 11, 12}},
        {"Mon Nov 14 10:11:12 2005", {2005, 11, 14, 10, 11, 12}},
        {"Mon Dec 12 10:11:12 2005", {2005, 12, 12, 10, 11, 12}},
        // Month names in any letter case.
        {"Wed jan 05 08:00:00 2005", {2005, 1, 5, 8, 0, 0}},
        {"Wed JAN 05 08:00:00 2005", {2005, 1, 5, 8, 0, 0}},
        {"Wed aug 05 08:00:00 2005", {2005, 8, 5, 8, 0, 0}},
        // Short texts: what is missing is 0, nothing is read beyond the end.
        {"", {0, 0, 0, 0, 0, 0}},
        {"Wed Ja", {0, 0, 0, 0, 0, 0}},
        {"Wed Jan", {0, 1, 0, 0, 0, 0}},
        {"Wed Jan 05 08", {0, 1, 5, 8, 0, 0}},
        {"Wed Jan 05 08:00:00", {0, 1, 5, 8, 0, 0}},
        {"Wed Jan xx", {0, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const TwainDateTime t{std::string(c.text)};
        EXPECT_EQ(c.expected, FieldsOf(t)) << c.text;
        EXPECT_EQ(0.0, t.GetFraction());
    }
}

TEST(TwainDateTime, TwainTextFitsAStr32) {
    const TwainDateTime t{std::string("Tue Mar 02 14:05:09 2004")};
    STR_value32 text;
    t.FormatTwain(text);
    EXPECT_EQ("2004/03/02 14:05:09:0.000", text.ToStdString());
    TwainDateTime(5, 1, 2, 3, 4, 5, 0.25).FormatTwain(text);
    EXPECT_EQ("0005/01/02 03:04:05:0.250", text.ToStdString());
}

TEST(TwainDateTime, EnglishTimeUsesTheTwelveHourClock) {
    const TwainDateFormats english = TwainDateFormats::English();
    struct Case {
        int hour, minute, second;
        const char* expected;
    } cases[] = {
        {0, 30, 15, "12:30:15 AM"}, {12, 0, 0, "12:00:00 PM"}, {23, 59, 59, "11:59:59 PM"},
        {11, 5, 9, "11:05:09 AM"},  {13, 0, 1, "1:00:01 PM"},
    };
    for (const Case& c : cases) {
        const TwainDateTime t(2005, 1, 2, static_cast<std::int16_t>(c.hour),
                              static_cast<std::int16_t>(c.minute),
                              static_cast<std::int16_t>(c.second), 0.0);
        EXPECT_EQ(c.expected, t.FormatLocalTime(english));
    }
    // Other languages take the 24-hour numbers only.
    const TwainDateTime late(2005, 1, 2, 23, 4, 5, 0.0);
    EXPECT_EQ("23:04:05", late.FormatLocalTime(Formats("%d:%.2d:%.2d", "%d.%d.%d", 4)));
    // A translation that kept the suffix gets an empty one, never a missing argument.
    EXPECT_EQ("23:04:05 ", late.FormatLocalTime(Formats("%d:%.2d:%.2d %.2s", "%d", 3)));
}

TEST(TwainDateTime, DateOrderFollowsTheLanguage) {
    const TwainDateTime t(2005, 3, 14, 0, 0, 0, 0.0);
    EXPECT_EQ("3/14/2005", t.FormatLocalDate(TwainDateFormats::English()));
    EXPECT_EQ("2005/3/14", t.FormatLocalDate(Formats("", "%d/%d/%d", 1)));
    EXPECT_EQ("14.3.2005", t.FormatLocalDate(Formats("", "%d.%d.%d", 4)));
    EXPECT_EQ("14-3-2005", t.FormatLocalDate(Formats("", "%d-%d-%d", 10)));
}

TEST(TwainDateTime, FormatsThatDoNotFitTheirNumbersFallBackToEnglish) {
    const TwainDateTime t(2005, 3, 14, 9, 8, 7, 0.0);
    const char* badFormats[] = {"%s/%d/%d", "%d/%d/%d/%d", "%n", "%*d", "%ld", "100%"};
    for (const char* bad : badFormats) {
        EXPECT_EQ("14/3/2005", t.FormatLocalDate(Formats(bad, bad, 2))) << bad;
        EXPECT_EQ("9:08:07 ", t.FormatLocalTime(Formats(bad, bad, 2))) << bad;
    }
    EXPECT_EQ("100% 14", t.FormatLocalDate(Formats("", "100%% %d", 2)));
}

TEST(TwainDateTime, OrderAndEquality) {
    const TwainDateTime a(2005, 1, 2, 3, 4, 5, 0.0);
    const TwainDateTime b(2005, 1, 2, 3, 4, 6, 0.0);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(a == TwainDateTime(2005, 1, 2, 3, 4, 5, 0.0));
    EXPECT_TRUE(a < TwainDateTime(2005, 1, 2, 3, 4, 5, 0.5));
    EXPECT_TRUE(TwainDateTime(2004, 12, 31, 23, 59, 59, 0.0) < a);
}
