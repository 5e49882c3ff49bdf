#include "STR_abstract.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace CommonTwain {

STR_abstract::~STR_abstract() = default;

unsigned STR_abstract::GetLength() const {
    // A buffer filled through CharAddress may lack a terminator: never look past its end.
    const char* text = GetBuffer();
    const unsigned capacity = GetCapacity();
    unsigned n = 0;
    while (n < capacity && text[n] != '\0') {
        ++n;
    }
    return n;
}

char* STR_abstract::CharAddress(unsigned index) {
    if (index >= GetCapacity()) {
        throw std::out_of_range("STR_abstract::CharAddress");
    }
    return GetBuffer() + index;
}

char STR_abstract::GetAt(unsigned index) const {
    if (index >= GetCapacity()) {
        throw std::out_of_range("STR_abstract::GetAt");
    }
    return GetBuffer()[index];
}

void STR_abstract::Clear() {
    std::memset(GetBuffer(), 0, GetCapacity());
}

void STR_abstract::Append(const STR_abstract& other) {
    // Read the other's length first: other may be this very value.
    const unsigned otherLength = other.GetLength();
    unsigned length = GetLength();
    char* text = GetBuffer();
    for (unsigned i = 0; i < otherLength && length < GetCapacity() - 1; ++i) {
        text[length++] = other.GetAt(i);
    }
    text[length] = '\0';
}

STR_abstract& STR_abstract::operator+=(const STR_abstract& other) {
    Append(other);
    return *this;
}

void STR_abstract::CopyTo(char* buffer, unsigned size) const {
    if (buffer == nullptr || size == 0) {
        return;
    }
    const unsigned n = std::min(GetLength(), size - 1);
    std::memcpy(buffer, GetBuffer(), n);
    buffer[n] = '\0';
}

void STR_abstract::GetText(char* buffer) const {
    CopyTo(buffer, GetCapacity());
}

void STR_abstract::StoreCount(const char* text, std::size_t count) {
    const std::size_t n = std::min<std::size_t>(count, GetCapacity() - 1);
    char* buffer = GetBuffer();
    std::memmove(buffer, text, n);
    buffer[n] = '\0';
}

void STR_abstract::Assign(const char* text) {
    SetText(text);
}

unsigned STR_abstract::CopyFrom(const char* text) {
    char* buffer = GetBuffer();
    unsigned n = 0;
    if (text != nullptr) {
        while (n < GetCapacity() - 1 && text[n] != '\0') {
            buffer[n] = text[n];
            ++n;
        }
    }
    buffer[n] = '\0';
    return n;
}

int STR_abstract::Compare(const STR_abstract& other) const {
    if (this == &other) {
        return 0;
    }
    const std::string a = ToStdString();
    const std::string b = other.ToStdString();
    int result = 0;
    if (IsCaseSensitive() && other.IsCaseSensitive()) {
        result = std::strcmp(a.c_str(), b.c_str());
    } else {
        result = _stricmp(a.c_str(), b.c_str());
    }
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

std::string STR_abstract::ToStdString() const {
    return std::string(GetBuffer(), GetLength());
}

void STR_abstract::SetText(const char* text) {
    if (text == nullptr) {
        StoreCount("", 0);
        return;
    }
    // strnlen: a text longer than the buffer is never read further than needed.
    StoreCount(text, strnlen(text, GetCapacity()));
}

void STR_abstract::SetStdString(const std::string& text) {
    StoreCount(text.data(), std::strlen(text.c_str()));
}

void STR_abstract::AssignValue(const STR_abstract& other) {
    if (this == &other) {
        return;
    }
    SetCaseSensitive(other.IsCaseSensitive());
    const std::string text = other.ToStdString();
    StoreCount(text.data(), text.size());
}

unsigned STR_abstract::Truncate(unsigned index) {
    if (index >= GetCapacity()) {
        index = GetCapacity() - 1;
    }
    GetBuffer()[index] = '\0';
    return index;
}

void STR_abstract::AppendChar(char c) {
    const unsigned length = GetLength();
    if (length < GetCapacity() - 1) {
        char* text = GetBuffer();
        text[length] = c;
        text[length + 1] = '\0';
    }
}

void STR_abstract::StoreBefore(char c, STR_abstract& target) const {
    const std::string text = ToStdString();
    const std::size_t at = text.find(c);
    const std::string part = at == std::string::npos ? text : text.substr(0, at);
    target.StoreCount(part.data(), part.size());
}

void STR_abstract::StoreAfter(char c, STR_abstract& target) const {
    const std::string text = ToStdString();
    const std::size_t at = text.find(c);
    const std::string part = at == std::string::npos ? std::string() : text.substr(at + 1);
    target.StoreCount(part.data(), part.size());
}

} // namespace CommonTwain
