#include "StringUtils.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <utility>

namespace CommonCpp {

namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::string TrimLeft(const std::string& text) {
    std::string::size_type begin = 0;
    while (begin < text.size() && IsSpace(text[begin])) {
        ++begin;
    }
    return text.substr(begin);
}

std::string TrimRight(const std::string& text) {
    std::string::size_type end = text.size();
    while (end > 0 && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string Trim(const std::string& text) {
    return TrimRight(TrimLeft(text));
}

std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement) {
    if (search.empty()) {
        return text;
    }
    std::string result;
    std::string::size_type position = 0;
    while (position < text.size()) {
        const std::string::size_type match = text.find(search, position);
        if (match == std::string::npos) {
            result.append(text, position, std::string::npos);
            break;
        }
        result.append(text, position, match - position);
        result += replacement;
        position = match + search.size();
    }
    return result;
}

std::string TextBetween(const std::string& text, const std::string& delimiter) {
    const std::string trimmed = Trim(text);
    if (delimiter.empty()) {
        return trimmed;
    }
    const std::string::size_type first = trimmed.find(delimiter);
    if (first == std::string::npos) {
        return trimmed;
    }
    const std::string::size_type afterFirst = first + delimiter.size();
    const std::string::size_type last = trimmed.rfind(delimiter);
    if (last < afterFirst) {
        // One occurrence (or two that overlap): what follows it.
        return trimmed.substr(afterFirst);
    }
    return trimmed.substr(afterFirst, last - afterFirst);
}

void Split(const std::string& text, const std::string& separator, std::vector<std::string>& out) {
    out.clear();
    if (separator.empty()) {
        const std::string whole = Trim(text);
        if (!whole.empty()) {
            out.push_back(whole);
        }
        return;
    }
    std::string::size_type position = 0;
    std::string::size_type found = text.find(separator, 0);
    while (found != std::string::npos) {
        const std::string::size_type quote = text.find('"', position);
        if (quote != std::string::npos && quote < found) {
            const std::string::size_type closing = text.find('"', quote + 1);
            // An unclosed quote runs to the end of the text.
            if (closing == std::string::npos || closing >= found) {
                found = closing == std::string::npos ? std::string::npos
                                                     : text.find(separator, closing);
            }
        }
        if (found == std::string::npos) {
            break;
        }
        const std::string piece = Trim(text.substr(position, found - position));
        if (!piece.empty()) {
            out.push_back(piece);
        }
        position = found + separator.size();
        found = text.find(separator, position);
    }
    const std::string rest = position < text.size() ? Trim(text.substr(position)) : std::string();
    if (!rest.empty()) {
        out.push_back(rest);
    }
}

char* PascalToCString(char* out, const unsigned char* lengthPrefixed) {
    const std::size_t length = lengthPrefixed[0];
    std::memcpy(out, lengthPrefixed + 1, length);
    out[length] = '\0';
    return out;
}

std::string SubstituteArgs(const std::string& text, const std::string& first,
                           const std::string& second) {
    // Both places are found in the template: an argument's own "^2" is text, not a place.
    // The later one is replaced first, so that the earlier one's position still holds.
    std::pair<std::string::size_type, const std::string*> places[] = {{text.find("^1"), &first},
                                                                      {text.find("^2"), &second}};
    if (places[0].first < places[1].first) {
        std::swap(places[0], places[1]);
    }
    std::string out = text;
    for (const auto& [at, value] : places) {
        if (at != std::string::npos) {
            out.replace(at, 2, *value);
        }
    }
    return out;
}

int CompareNoCase(const char* a, const char* b) {
    const int folded = lstrcmpiA(a, b);
    if (folded != 0) {
        return folded;
    }
    const int exact = std::strcmp(a, b);
    return exact < 0 ? -1 : (exact > 0 ? 1 : 0);
}

} // namespace CommonCpp
