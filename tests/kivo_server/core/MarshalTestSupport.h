#pragma once
// Byte helpers for the payload tests: hex literals, writing through both the size count and
// the writer (checking that they agree and that nothing is written past the count).
#include "kivo_marshal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes hex(const std::string& text) {
    Bytes b;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        b.push_back(static_cast<unsigned char>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return b;
}

inline Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Writes in list mode (base null) or struct mode (base given, the offsets table first).
template <typename... A>
Bytes writePayload(int version, int encrypt, fish_state* stream, const char* format,
                   const void* base, A... args) {
    const int count = kivo_tally(version, format, base, args...);
    std::vector<char> out(static_cast<size_t>(count) + 16, '\xCC');
    const int written = kivo_sprintf1(version, encrypt, stream, out.data(), format, base, args...);
    EXPECT_EQ(count, written) << format;
    for (size_t i = static_cast<size_t>(written); i < out.size(); ++i)
        EXPECT_EQ('\xCC', out[i]) << format << ": written past the count";
    return Bytes(out.begin(), out.begin() + written);
}

template <typename... A> Bytes writeList(int version, const char* format, A... args) {
    return writePayload(version, 0, nullptr, format, nullptr, args...);
}

// A payload the reader's export may read, for the life of the scope (the server registers
// each call's input the same way).
struct RegisteredPayload {
    const char* data;
    RegisteredPayload(const Bytes& b, size_t length)
        : data(reinterpret_cast<const char*>(b.data())) {
        kivo_payload_register(data, static_cast<int>(length));
    }
    explicit RegisteredPayload(const Bytes& b) : RegisteredPayload(b, b.size()) {}
    ~RegisteredPayload() { kivo_payload_unregister(data); }
    RegisteredPayload(const RegisteredPayload&) = delete;
    RegisteredPayload& operator=(const RegisteredPayload&) = delete;
};

// Owns the allocations of one reader call.
struct Allocs {
    kivo_alloc* head = nullptr;
    ~Allocs() { kivo_server_kivo_sscanf_free_allocs(head); }
    int count() const {
        int n = 0;
        for (kivo_alloc* a = head; a; a = a->next)
            ++n;
        return n;
    }
};

// A stream and its twin from the same seed, to predict the keystream bytes a call uses.
struct StreamPair {
    fish_state* used = nullptr;
    fish_state* twin = nullptr;
    explicit StreamPair(uint32_t seed) {
        quorvel_server_fish_init(&used, seed);
        quorvel_server_fish_init(&twin, seed);
    }
    ~StreamPair() {
        quorvel_server_fish_free(used);
        quorvel_server_fish_free(twin);
    }
    Bytes keystream(size_t n) {
        Bytes k(n);
        for (auto& b : k)
            b = fish_next_byte(twin);
        return k;
    }
};

inline Bytes xorWith(Bytes a, const Bytes& k) {
    for (size_t i = 0; i < a.size(); ++i)
        a[i] ^= k[i];
    return a;
}
