#pragma once
// Small text helpers: trimming, replacing, splitting, unquoting, placeholders, comparing.

#include <string>
#include <vector>

namespace CommonCpp {

// White space as the runtime's isspace sees it.
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);

// Every non-overlapping occurrence, left to right. An empty search text changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement);

// The trimmed text strictly between the first and the last delimiter; after the delimiter
// when it occurs once; the trimmed text when it does not occur.
std::string TextBetween(const std::string& text, const std::string& delimiter);

// Trimmed, non-empty pieces between separators; a separator inside the first double-quoted
// section before it does not split. Quotes stay in the pieces.
void Split(const std::string& text, const std::string& separator, std::vector<std::string>& out);

// Copies a length-prefixed string and a terminating zero into out (at least 256 bytes).
char* PascalToCString(char* out, const unsigned char* lengthPrefixed);

// The first "^1" of the text replaced by first and its first "^2" by second; the arguments
// are inserted as they are.
std::string SubstituteArgs(const std::string& text, const std::string& first,
                           const std::string& second);

// The system's case-insensitive order; texts equal but for case are ordered byte-wise.
int CompareNoCase(const char* a, const char* b);

} // namespace CommonCpp
