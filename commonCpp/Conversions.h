#pragma once
// Numbers and booleans as text, and strings quoted for printing.

#include <cstdint>
#include <string>

namespace CommonCpp {

std::string FormatInt(int value);                // "%d"
std::string IntToString(int value);              // "%d"
std::string ShortToString(std::int16_t value);   // "%d"
std::string UShortToString(std::uint16_t value); // "%d"
std::string LongToString(long value);            // "%ld"
std::string ULongToString(unsigned long value);  // "%lu"
std::string FormatDouble(double value);          // "%f"
std::string DoubleToString(double value);        // "%g"
std::string BoolToString(bool value);            // "true" / "false"

// The text in double quotes; '"' and '\' escaped with a backslash, other unprintable bytes
// as "\0x" and two hexadecimal digits.
std::string QuoteString(const std::string& text);

} // namespace CommonCpp
