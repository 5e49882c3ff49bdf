#include "Conversions.h"

#include "PrintfLike.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace CommonCpp {

namespace {

// printf into a string of whatever length the value needs ("%f" of 1e300 has 300 digits).
std::string Printf(const char* format, ...) COMMONCPP_PRINTF_LIKE(1, 2);

std::string Printf(const char* format, ...) {
    char small[64];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (needed < 0) {
        va_end(again);
        return result;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        result.assign(small, static_cast<std::size_t>(needed));
    } else {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        result.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(again);
    return result;
}

} // namespace

std::string FormatInt(int value) {
    return Printf("%d", value);
}

std::string IntToString(int value) {
    return Printf("%d", value);
}

std::string ShortToString(std::int16_t value) {
    return Printf("%d", static_cast<int>(value));
}

std::string UShortToString(std::uint16_t value) {
    return Printf("%d", static_cast<int>(value));
}

std::string LongToString(long value) {
    return Printf("%ld", value);
}

std::string ULongToString(unsigned long value) {
    return Printf("%lu", value);
}

std::string FormatDouble(double value) {
    return Printf("%f", value);
}

std::string DoubleToString(double value) {
    return Printf("%g", value);
}

std::string BoolToString(bool value) {
    return value ? "true" : "false";
}

std::string QuoteString(const std::string& text) {
    std::string result = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            result += "\\\"";
        } else if (c == '\\') {
            result += "\\\\";
        } else if (!std::isprint(byte)) {
            result += Printf("\\0x%02x", static_cast<unsigned>(byte));
        } else {
            result += c;
        }
    }
    result += '"';
    return result;
}

} // namespace CommonCpp
