#include "FormatText.h"

#include <cstdint>

namespace CommonCpp {

namespace {

constexpr int MaxArguments = 9;

bool IsPointerLetter(char c) {
    return c == 'S' || c == 'P';
}

bool IsDirectiveLetter(char c) {
    return c == 'S' || c == 'P' || c == 'L' || c == 'X' || c == 'I';
}

class BoundedWriter {
public:
    BoundedWriter(char* output, std::size_t size) : m_output(output), m_size(size) {}

    void Put(char c) {
        if (m_output != nullptr && m_length + 1 < m_size) {
            m_output[m_length++] = c;
        }
    }
    void Put(const char* text, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            Put(text[i]);
        }
    }
    std::size_t Finish() {
        if (m_output != nullptr && m_size > 0) {
            m_output[m_length] = '\0';
        }
        return m_length;
    }

private:
    char* m_output;
    std::size_t m_size;
    std::size_t m_length = 0;
};

// Walks the format once; calls copy(c) for literal characters and
// directive(argumentPosition, letter) for each directive.
template <typename Copy, typename Directive>
void Walk(const char* format, Copy copy, Directive directive) {
    int next = 1;
    const char* p = format;
    while (*p != '\0') {
        if (*p != '#') {
            copy(*p++);
            continue;
        }
        const char* q = p + 1;
        int position = 0;
        if (*q >= '1' && *q <= '9') {
            position = *q - '0';
            ++q;
        }
        if (IsDirectiveLetter(*q)) {
            if (position == 0) {
                position = next;
            }
            next = position + 1;
            directive(position, *q);
            p = q + 1;
            continue;
        }
        // Not a directive: "#" and the character after it are copied as they are.
        copy('#');
        ++p;
        if (*p != '\0') {
            copy(*p++);
        }
    }
}

void PutDecimal(BoundedWriter& out, std::int32_t value) {
    char digits[12];
    int count = 0;
    // Work in the negative range so that the smallest value needs no special case.
    std::int64_t v = value;
    const bool negative = v < 0;
    if (!negative) {
        v = -v;
    }
    do {
        digits[count++] = static_cast<char>('0' - (v % 10));
        v /= 10;
    } while (v != 0);
    if (negative) {
        out.Put('-');
    }
    while (count > 0) {
        out.Put(digits[--count]);
    }
}

void PutHex(BoundedWriter& out, std::uint32_t value) {
    static const char hex[] = "0123456789ABCDEF";
    for (int shift = 28; shift >= 0; shift -= 4) {
        out.Put(hex[(value >> shift) & 0xF]);
    }
}

void PutFourCharCode(BoundedWriter& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned byte = (value >> shift) & 0xFF;
        out.Put(byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.');
    }
}

} // namespace

std::size_t FormatTextV(char* output, std::size_t outputSize, const char* format, va_list args) {
    BoundedWriter out(output, outputSize);
    if (format == nullptr) {
        return out.Finish();
    }

    // Each argument is read by the kind its first directive gives it: S and P take pointers,
    // the others 32-bit integers. A position no directive names is skipped as one slot.
    enum class Kind { Unused, Number, Pointer };
    Kind kinds[MaxArguments] = {};
    int used = 0;
    Walk(
        format, [](char) {},
        [&used, &kinds](int position, char letter) {
            if (position > MaxArguments) {
                return;
            }
            if (kinds[position - 1] == Kind::Unused) {
                kinds[position - 1] = IsPointerLetter(letter) ? Kind::Pointer : Kind::Number;
            }
            if (position > used) {
                used = position;
            }
        });

    struct Argument {
        std::uint32_t number = 0;
        const void* pointer = nullptr;
    };
    Argument values[MaxArguments];
    for (int i = 0; i < used; ++i) {
        switch (kinds[i]) {
        case Kind::Pointer:
            values[i].pointer = va_arg(args, const void*);
            break;
        case Kind::Number:
            values[i].number = va_arg(args, std::uint32_t);
            break;
        case Kind::Unused:
            (void)va_arg(args, std::uintptr_t);
            break;
        }
    }

    Walk(
        format, [&out](char c) { out.Put(c); },
        [&out, &values](int position, char letter) {
            if (position > MaxArguments) {
                // Beyond the nine arguments there is nothing to take: keep the text visible.
                out.Put('#');
                out.Put(letter);
                return;
            }
            const Argument& argument = values[position - 1];
            const std::uint32_t value = argument.number;
            switch (letter) {
            case 'S': {
                const auto* text = static_cast<const char*>(argument.pointer);
                if (text != nullptr) {
                    while (*text != '\0') {
                        out.Put(*text++);
                    }
                }
                break;
            }
            case 'P': {
                const auto* text = static_cast<const unsigned char*>(argument.pointer);
                if (text != nullptr) {
                    out.Put(reinterpret_cast<const char*>(text + 1), text[0]);
                }
                break;
            }
            case 'L':
                PutDecimal(out, static_cast<std::int32_t>(value));
                break;
            case 'X':
                PutHex(out, value);
                break;
            case 'I':
                PutFourCharCode(out, value);
                break;
            default:
                break;
            }
        });
    return out.Finish();
}

std::size_t FormatText(char* output, std::size_t outputSize, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::size_t length = FormatTextV(output, outputSize, format, args);
    va_end(args);
    return length;
}

} // namespace CommonCpp
