#include "Base64Coder.h"

#include <cstring>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const unsigned char kNotInAlphabet = 0xFE;
const unsigned char kPadding = 0xFF;
const uint32_t kGrowStep = 4096;

struct ReverseTable {
    unsigned char value[256];
    ReverseTable() {
        std::memset(value, kNotInAlphabet, sizeof value);
        for (unsigned i = 0; i < 64; ++i) {
            const unsigned char c = static_cast<unsigned char>(kAlphabet[i]);
            value[c] = static_cast<unsigned char>(i);
            value[c + 128] = static_cast<unsigned char>(i);
        }
        value['='] = kPadding;
        value['=' + 128] = kPadding;
    }
};

// One table for the whole process, built on the first decode.
const ReverseTable& Reverse() {
    static const ReverseTable table;
    return table;
}

} // namespace

Base64Coder::Base64Coder() = default;

Base64Coder::~Base64Coder() = default;

void Base64Coder::Reserve(std::unique_ptr<unsigned char[]>& buffer, uint32_t& capacity,
                          uint32_t& length, uint32_t size) {
    if (capacity < size) {
        buffer.reset();
        const uint32_t newCapacity = (size / kGrowStep + 1) * kGrowStep;
        buffer.reset(new unsigned char[newCapacity]);
        capacity = newCapacity;
    }
    if (buffer) {
        std::memset(buffer.get(), 0, capacity);
    }
    length = 0;
}

void Base64Coder::ReserveTextBuffer(uint32_t size) {
    Reserve(m_text, m_textCapacity, m_textLength, size);
}

void Base64Coder::ReserveBinaryBuffer(uint32_t size) {
    Reserve(m_binary, m_binaryCapacity, m_binaryLength, size);
}

const unsigned char* Base64Coder::GetBinary() const {
    return m_binary.get();
}

const char* Base64Coder::GetText() const {
    return reinterpret_cast<const char*>(m_text.get());
}

uint32_t Base64Coder::Encode(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    return EncodeBuffer(reinterpret_cast<const unsigned char*>(text),
                        static_cast<uint32_t>(std::strlen(text)));
}

uint32_t Base64Coder::EncodeBuffer(const unsigned char* bytes, uint32_t count) {
    SetBinary(bytes, count);
    // With the growth rule, twice the input always leaves room for the output and its zero.
    ReserveTextBuffer(2 * count);
    char* const text = reinterpret_cast<char*>(m_text.get());
    uint32_t pos = 0;
    for (; pos + 3 <= m_binaryLength; pos += 3) {
        Group group;
        std::memcpy(group.value, m_binary.get() + pos, 3);
        group.count = 3;
        EncodeQuantum(group, text + m_textLength);
        m_textLength += 4;
    }
    if (pos < m_binaryLength) {
        Group group;
        group.count = m_binaryLength - pos;
        std::memcpy(group.value, m_binary.get() + pos, group.count);
        EncodeQuantum(group, text + m_textLength);
        m_textLength += 4;
    }
    return m_textLength;
}

uint32_t Base64Coder::Decode(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    return DecodeBuffer(text, static_cast<uint32_t>(std::strlen(text)));
}

uint32_t Base64Coder::DecodeBuffer(const char* chars, uint32_t count) {
    const ReverseTable& reverse = Reverse();
    SetTextWithoutBlanks(chars, count);
    ReserveBinaryBuffer(count);
    const unsigned char* const text = m_text.get();
    uint32_t pos = 0;
    for (; pos + 4 <= m_textLength; pos += 4) {
        Group group;
        for (int i = 0; i < 4; ++i) {
            group.value[i] = reverse.value[text[pos + i]];
        }
        // Padding counts only in the last two places; in the first two it acts as 63.
        for (int i = 2; i < 4; ++i) {
            if (group.value[i] == kPadding) {
                group.value[i] = 0;
            }
        }
        group.count = 4;
        DecodeQuantum(group, m_binary.get() + m_binaryLength);
        m_binaryLength += 3;
    }
    if (pos < m_textLength) {
        Group group;
        group.count = m_textLength - pos;
        for (uint32_t i = 0; i < group.count; ++i) {
            const unsigned char v = reverse.value[text[pos + i]];
            group.value[i] = v == kPadding ? 0 : v;
        }
        DecodeQuantum(group, m_binary.get() + m_binaryLength);
        m_binaryLength += group.count;
    }
    return m_binaryLength;
}

void Base64Coder::SetTextWithoutBlanks(const char* chars, uint32_t count) {
    ReserveTextBuffer(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (!IsBlank(chars[i])) {
            m_text[m_textLength++] = static_cast<unsigned char>(chars[i]);
        }
    }
}

void Base64Coder::SetBinary(const unsigned char* bytes, uint32_t count) {
    ReserveBinaryBuffer(count);
    if (count > 0) {
        std::memcpy(m_binary.get(), bytes, count);
    }
    m_binaryLength = count;
}

void Base64Coder::EncodeQuantum(const Group& group, char* out) const {
    unsigned char values[4];
    SplitTriplet(group.value, values);
    for (int i = 0; i < 4; ++i) {
        out[i] = kAlphabet[values[i]];
    }
    if (group.count == 1) {
        out[2] = '=';
        out[3] = '=';
    } else if (group.count == 2) {
        out[3] = '=';
    }
}

void Base64Coder::DecodeQuantum(const Group& group, unsigned char* out) const {
    JoinQuad(group.value, out);
}

void Base64Coder::SplitTriplet(const unsigned char in[3], unsigned char out[4]) const {
    out[0] = static_cast<unsigned char>(in[0] >> 2);
    out[1] = static_cast<unsigned char>(((in[0] << 4) | (in[1] >> 4)) & 63);
    out[2] = static_cast<unsigned char>(((in[1] << 2) | (in[2] >> 6)) & 63);
    out[3] = static_cast<unsigned char>(in[2] & 63);
}

void Base64Coder::JoinQuad(const unsigned char in[4], unsigned char out[3]) const {
    out[0] = static_cast<unsigned char>((in[0] << 2) | ((in[1] >> 4) & 3));
    out[1] = static_cast<unsigned char>((in[1] << 4) | ((in[2] >> 2) & 15));
    out[2] = static_cast<unsigned char>((in[2] << 6) | (in[3] & 63));
}

bool Base64Coder::IsBlank(char c) const {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 7 && u <= 13) || u == 32;
}
