#pragma once
// A point in time of a job or file on the server: parsed from the server's ctime-style text
// ("Tue Mar 02 14:05:09 2004"), given as the TWAIN date text and as localized texts.

#include "STR_abstract.h"

#include <cstdint>
#include <string>

namespace CommonTwain {

// What the localized texts need of the interface language. This library does not load
// resources: the scan model fills it from the resource loader (string 20156, string 20157 and
// the language index).
struct TwainDateFormats {
    std::string timeFormat; // receives hour, minute, second and, for English, "AM"/"PM"
    std::string dateFormat; // receives three numbers in the language's order
    int languageIndex = 0;  // 0 English (12-hour clock, month/day/year), 1 Japanese (y/m/d)

    // The English texts, also used when a given format does not fit its numbers.
    static TwainDateFormats English();
};

class TwainDateTime {
public:
    TwainDateTime(std::int16_t year, std::int16_t month, std::int16_t day, std::int16_t hour,
                  std::int16_t minute, std::int16_t second, double fraction);
    // Fields the text is too short for are 0; nothing is read past its end.
    explicit TwainDateTime(const std::string& serverText);
    virtual ~TwainDateTime();

    virtual void Set(std::int16_t year, std::int16_t month, std::int16_t day, std::int16_t hour,
                     std::int16_t minute, std::int16_t second, double fraction);
    // "yyyy/mm/dd hh:mm:ss:f.fff", cut to the target's capacity.
    virtual void FormatTwain(STR_abstract& target) const;
    virtual std::string FormatLocalTime(const TwainDateFormats& formats) const;
    virtual std::string FormatLocalDate(const TwainDateFormats& formats) const;

    bool operator==(const TwainDateTime& other) const;
    bool operator!=(const TwainDateTime& other) const { return !(*this == other); }
    bool operator<(const TwainDateTime& other) const;

    std::int16_t GetYear() const { return m_year; }
    std::int16_t GetMonth() const { return m_month; }
    std::int16_t GetDay() const { return m_day; }
    std::int16_t GetHour() const { return m_hour; }
    std::int16_t GetMinute() const { return m_minute; }
    std::int16_t GetSecond() const { return m_second; }
    double GetFraction() const { return m_fraction; }

private:
    std::int16_t m_year = 0;
    std::int16_t m_month = 0;
    std::int16_t m_day = 0;
    std::int16_t m_hour = 0;
    std::int16_t m_minute = 0;
    std::int16_t m_second = 0;
    double m_fraction = 0.0;
};

} // namespace CommonTwain
