#include "LdapFilter.h"

std::string EscapeLdapFilterValue(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '*':
            escaped += "\\2a";
            break;
        case '(':
            escaped += "\\28";
            break;
        case ')':
            escaped += "\\29";
            break;
        case '\\':
            escaped += "\\5c";
            break;
        case '\0':
            escaped += "\\00";
            break;
        default:
            escaped += c;
            break;
        }
    }
    return escaped;
}
