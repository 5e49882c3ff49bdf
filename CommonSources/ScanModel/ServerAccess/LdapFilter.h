#pragma once
// Directory search filters built from user text.

#include <string>

// A text as an RFC 4515 filter value: "*", "(", ")", "\" and NUL become \2a, \28, \29, \5c and
// \00, so that no text can change the filter it is put in.
std::string EscapeLdapFilterValue(const std::string& text);
