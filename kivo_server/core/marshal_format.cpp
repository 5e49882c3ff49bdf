#include "marshal_format.h"

#include "kivo_assert.h"

#include <cstdio>
#include <cstring>

namespace kivo {

namespace {

bool isModifier(char c) {
    return c == '*' || c == '0' || c == '#' || c == '8';
}
bool isCountLetter(char c) {
    return c == 'i' || c == 'r' || c == 'n' || c == 'l';
}
bool isMarker(char c) {
    return c == '&' || c == '@';
}
bool isValueType(char c) {
    return std::strchr("irnlbvfdsO{", c) != nullptr && c != '\0';
}

[[noreturn]] void badCharacter(const char* format, size_t at, const char* who) {
    std::fprintf(stderr, "- %s: unknown fmt character: %c (%s)[%d] -", who, format[at], format,
                 static_cast<int>(at));
    KIVO_ASSERT(false, "unknown fmt character");
    std::abort();
}

} // namespace

Directive parseDirective(const char* format, size_t& pos, const char* who) {
    if (format[pos] != '%')
        badCharacter(format, pos, who);
    size_t end = pos + 1;
    while (format[end] && format[end] != '%')
        ++end;
    Directive d;
    size_t p = pos + 1;
    for (; p < end && isModifier(format[p]); ++p) {
        switch (format[p]) {
        case '*':
            ++d.stars;
            break;
        case '0':
            d.presence = true;
            break;
        case '#':
            d.hash = true;
            break;
        default:
            d.allocate = true;
            break;
        }
    }
    if (p >= end)
        badCharacter(format, p, who);
    if (p + 1 < end && isCountLetter(format[p]) && isMarker(format[p + 1])) {
        d.countLetter = format[p];
        ++p;
    }
    if (isMarker(format[p])) {
        d.type = format[p];
        d.element.assign(format + p + 1, end - p - 1);
        if (d.element.empty())
            badCharacter(format, p, who);
        if (!d.presence) {
            const size_t zero = d.element.find('0');
            if (zero != std::string::npos)
                d.element.erase(zero, 1);
        }
    } else {
        if (!isValueType(format[p]))
            badCharacter(format, p, who);
        if (p + 1 != end)
            badCharacter(format, p + 1, who);
        d.type = format[p];
    }
    pos = end;
    return d;
}

char elementType(const Directive& d) {
    return d.element.empty() ? 0 : d.element.back();
}

size_t elementSize(const Directive& d, const kivo_offs_t* nestedOffsets) {
    if (d.element.find('*') != std::string::npos)
        return sizeof(void*);
    switch (elementType(d)) {
    case 'b':
    case 'i':
        return 1;
    case 'r':
        return 2;
    case 'n':
    case 'v':
    case 'f':
        return 4;
    case 'd':
    case 'l':
        return 8;
    case 's':
        return sizeof(char*);
    case '{':
        KIVO_ASSERT(nestedOffsets != nullptr, "t_offs!=NULL");
        KIVO_ASSERT(nestedOffsets[0] > 0, "structure size>0");
        return static_cast<size_t>(nestedOffsets[0]);
    default:
        KIVO_ASSERT(false, "array element type without a size");
        return 0;
    }
}

int PointerArgSource::nextInt() {
    KIVO_ASSERT(false, "array element takes a pointer");
    return 0;
}

int64_t PointerArgSource::nextInt64() {
    KIVO_ASSERT(false, "array element takes a pointer");
    return 0;
}

double PointerArgSource::nextDouble() {
    KIVO_ASSERT(false, "array element takes a pointer");
    return 0;
}

const void* followPointers(const void* p, int levels) {
    for (int i = 0; i < levels && p; ++i)
        std::memcpy(&p, p, sizeof(p));
    return p;
}

int64_t readCount(const void* field, char countLetter) {
    switch (countLetter) {
    case 'i': {
        int8_t v;
        std::memcpy(&v, field, 1);
        return v;
    }
    case 'r': {
        int16_t v;
        std::memcpy(&v, field, 2);
        return v;
    }
    case 'l': {
        int64_t v;
        std::memcpy(&v, field, 8);
        return v;
    }
    default: {
        int32_t v;
        std::memcpy(&v, field, 4);
        return v;
    }
    }
}

} // namespace kivo
