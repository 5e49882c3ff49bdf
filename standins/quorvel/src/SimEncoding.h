#pragma once
// Text encodings of the localisation calls. Fixture texts are UTF-8; a session hands them out
// in the encoding it was opened with.

#include <string>

namespace orvexsim {

// Code page of an encoding name the server knows ("ISO8859_1", "SJIS", "GBK", "UTF8",
// "UTF8NOBOM"); 0 for any other name.
unsigned int CodePageOf(const std::string& encoding);

// Converts between code pages. False when the text is not valid in the source code page.
// Characters the target cannot hold become "?".
bool ConvertText(const std::string& text, unsigned int fromCodePage, unsigned int toCodePage,
                 std::string& converted);

} // namespace orvexsim
