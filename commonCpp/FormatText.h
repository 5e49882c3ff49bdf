#pragma once
// The "#" formatter of error messages and stored integers.
//
// A directive is "#", an optional argument position 1-9, and a letter:
//   S  zero-terminated string        P  length-prefixed string
//   L  signed 32-bit decimal         X  32-bit as 8 upper-case hex digits
//   I  four-character code, most significant byte first, unprintable bytes as "."
// A plain directive takes the argument after the one used last (the first takes argument 1).
// S and P take pointers, L, X and I 32-bit integers; a position used by both kinds is read as
// the kind of its first directive. "#" before any other character is copied with
// that character. The output is cut to outputSize - 1 characters and always terminated.

#include <cstdarg>
#include <cstddef>

namespace CommonCpp {

// Returns the number of characters written, without the terminating zero.
std::size_t FormatText(char* output, std::size_t outputSize, const char* format, ...);
std::size_t FormatTextV(char* output, std::size_t outputSize, const char* format, va_list args);

} // namespace CommonCpp
