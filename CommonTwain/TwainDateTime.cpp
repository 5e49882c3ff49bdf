#include "TwainDateTime.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

namespace CommonTwain {

namespace {

constexpr const char* EnglishTimeFormat = "%d:%.2d:%.2d %.2s";
constexpr const char* EnglishDateFormat = "%d/%d/%d";

// Month from the three letters of the ctime text, letter case ignored.
std::int16_t MonthFromLetters(char first, char second, char third) {
    const auto upper = [](char c) { return static_cast<char>(std::toupper((unsigned char)c)); };
    first = upper(first);
    second = upper(second);
    third = upper(third);
    switch (first) {
    case 'A':
        return second == 'P' ? 4 : 8;
    case 'F':
        return 2;
    case 'J':
        if (second == 'A') {
            return 1;
        }
        return third == 'N' ? 6 : 7;
    case 'M':
        return third == 'R' ? 3 : 5;
    case 'N':
        return 11;
    case 'O':
        return 10;
    case 'S':
        return 9;
    default:
        return 12;
    }
}

// Reads "%d %d:%d:%d %d" from text; numbers not present stay 0. Returns how many were read.
int ScanDayAndTime(const char* text, long (&numbers)[5]) {
    const char* p = text;
    int count = 0;
    for (int i = 0; i < 5; ++i) {
        if (i == 2 || i == 3) {
            if (*p != ':') {
                break;
            }
            ++p;
        }
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p) {
            break;
        }
        numbers[i] = value;
        p = end;
        ++count;
    }
    return count;
}

// The conversions of a printf format, each as its conversion letter ('%%' skipped), or
// false when the format holds something other than flags, width, precision and a letter.
bool Conversions(const std::string& format, std::string& letters) {
    letters.clear();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            continue;
        }
        while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr) {
            ++i;
        }
        while (i < format.size() && std::isdigit((unsigned char)format[i])) {
            ++i;
        }
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && std::isdigit((unsigned char)format[i])) {
                ++i;
            }
        }
        if (i >= format.size()) {
            return false;
        }
        letters += format[i];
    }
    return true;
}

// A format from the string table is used only when its conversions take the arguments
// passed: at most as many, an integer conversion where an integer goes, 's' for the text.
bool FitsArguments(const std::string& format, const std::string& argumentKinds) {
    std::string letters;
    if (!Conversions(format, letters) || letters.size() > argumentKinds.size()) {
        return false;
    }
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const bool integer = letters[i] == 'd' || letters[i] == 'i';
        if (argumentKinds[i] == 'd' ? !integer : letters[i] != 's') {
            return false;
        }
    }
    return true;
}

template <typename... Args> std::string Format(const char* format, Args... args) {
    std::vector<char> buffer(64);
    int n = std::snprintf(buffer.data(), buffer.size(), format, args...);
    if (n < 0) {
        return std::string();
    }
    if (static_cast<std::size_t>(n) >= buffer.size()) {
        buffer.resize(static_cast<std::size_t>(n) + 1);
        n = std::snprintf(buffer.data(), buffer.size(), format, args...);
    }
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

} // namespace

TwainDateFormats TwainDateFormats::English() {
    TwainDateFormats formats;
    formats.timeFormat = EnglishTimeFormat;
    formats.dateFormat = EnglishDateFormat;
    formats.languageIndex = 0;
    return formats;
}

TwainDateTime::TwainDateTime(std::int16_t year, std::int16_t month, std::int16_t day,
                             std::int16_t hour, std::int16_t minute, std::int16_t second,
                             double fraction) {
    TwainDateTime::Set(year, month, day, hour, minute, second, fraction);
}

TwainDateTime::TwainDateTime(const std::string& serverText) {
    // "Www Mmm dd hh:mm:ss yyyy": the weekday is not read; the month needs positions 4 to 6.
    if (serverText.size() < 7) {
        return;
    }
    m_month = MonthFromLetters(serverText[4], serverText[5], serverText[6]);
    long numbers[5] = {0, 0, 0, 0, 0};
    ScanDayAndTime(serverText.c_str() + 7, numbers);
    m_day = static_cast<std::int16_t>(numbers[0]);
    m_hour = static_cast<std::int16_t>(numbers[1]);
    m_minute = static_cast<std::int16_t>(numbers[2]);
    m_second = static_cast<std::int16_t>(numbers[3]);
    m_year = static_cast<std::int16_t>(numbers[4]);
}

TwainDateTime::~TwainDateTime() = default;

void TwainDateTime::Set(std::int16_t year, std::int16_t month, std::int16_t day, std::int16_t hour,
                        std::int16_t minute, std::int16_t second, double fraction) {
    m_year = year;
    m_month = month;
    m_day = day;
    m_hour = hour;
    m_minute = minute;
    m_second = second;
    m_fraction = fraction;
}

void TwainDateTime::FormatTwain(STR_abstract& target) const {
    const std::string text =
        Format("%.4d/%.2d/%.2d %.2d:%.2d:%.2d:%.3f", int{m_year}, int{m_month}, int{m_day},
               int{m_hour}, int{m_minute}, int{m_second}, m_fraction);
    target.CopyFrom(text.c_str());
}

std::string TwainDateTime::FormatLocalTime(const TwainDateFormats& formats) const {
    const char* format =
        FitsArguments(formats.timeFormat, "ddds") ? formats.timeFormat.c_str() : EnglishTimeFormat;
    if (formats.languageIndex == 0) {
        int hour = m_hour % 12;
        if (hour == 0) {
            hour = 12;
        }
        return Format(format, hour, int{m_minute}, int{m_second}, m_hour >= 12 ? "PM" : "AM");
    }
    // An empty suffix keeps a format that still names one harmless.
    return Format(format, int{m_hour}, int{m_minute}, int{m_second}, "");
}

std::string TwainDateTime::FormatLocalDate(const TwainDateFormats& formats) const {
    const char* format =
        FitsArguments(formats.dateFormat, "ddd") ? formats.dateFormat.c_str() : EnglishDateFormat;
    switch (formats.languageIndex) {
    case 0:
        return Format(format, int{m_month}, int{m_day}, int{m_year});
    case 1:
        return Format(format, int{m_year}, int{m_month}, int{m_day});
    default:
        return Format(format, int{m_day}, int{m_month}, int{m_year});
    }
}

bool TwainDateTime::operator==(const TwainDateTime& other) const {
    return std::tie(m_year, m_month, m_day, m_hour, m_minute, m_second) ==
               std::tie(other.m_year, other.m_month, other.m_day, other.m_hour, other.m_minute,
                        other.m_second) &&
           m_fraction == other.m_fraction;
}

bool TwainDateTime::operator<(const TwainDateTime& other) const {
    return std::tie(m_year, m_month, m_day, m_hour, m_minute, m_second, m_fraction) <
           std::tie(other.m_year, other.m_month, other.m_day, other.m_hour, other.m_minute,
                    other.m_second, other.m_fraction);
}

} // namespace CommonTwain
