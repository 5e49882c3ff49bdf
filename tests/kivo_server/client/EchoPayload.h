#pragma once
// The test services' echo payload, written and read the way a client does: every directive,
// with floating values enciphered on the way out and taken in the clear on the way back when
// the call's encryption applies (the server's writer sends them in the clear, its reader
// deciphers them).
#include "KivoClient.h"
#include "kivo_marshal.h"

#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace kivotest {

struct EchoInner {
    int32_t n;
    char* s;
};
const kivo_offs_t kEchoInnerOffsets[] = {sizeof(EchoInner), offsetof(EchoInner, n),
                                         offsetof(EchoInner, s)};
const char kEchoFormat[] = "%i%r%n%l%b%v%8s%08s%0n%O%#n%n%08n@i%r%08r@n%&r%0*8{";

struct EchoValues {
    int8_t i = -5;
    int16_t r = 1234;
    int32_t n = -100000;
    int64_t l = 0x123456789ALL;
    unsigned char b = 1;
    uint32_t v = 0xA1B2C3D4u;
    std::string s = "hello";
    std::string s2 = "second";
    bool s2Null = false;
    int32_t present = 77;
    int32_t pointerSet = 1; // the %O value: non-zero travels as 9
    int32_t hidden = 0x0BADF00D;
    std::vector<unsigned char> block{1, 2, 3};
    std::vector<int32_t> cells{10, 11, 20, 21}; // rows of two
    int16_t shorts[3] = {7, -8, 9};
    bool innerNull = false;
    int32_t innerN = 42;
    std::string innerS = "inner";
    float f = 1.25f;
    double d = -3.5;
};

inline bool encrypting(const KivoClient& c) {
    return c.encrypt() && c.payloadOut() && c.version() > 9;
}

// The payload and the stream position it starts at (the call counter of versions 11 on).
inline Bytes echoPayload(KivoClient& c, const EchoValues& x, int64_t* counter = nullptr) {
    if (counter)
        *counter = c.payloadPosition();
    EchoInner inner{x.innerN, const_cast<char*>(x.innerS.c_str())};
    const int32_t count = static_cast<int32_t>(x.block.size());
    const int rows = static_cast<int>(x.cells.size() / 2);
    const int v = c.version();
    auto write = [&](char* dest) {
        return kivo_sprintf1(v, c.encrypt(), c.payloadOut(), dest, kEchoFormat, nullptr, x.i, x.r,
                             x.n, x.l, x.b, x.v, x.s.c_str(), x.s2Null ? nullptr : x.s2.c_str(),
                             x.present, x.pointerSet, x.hidden, count, x.block.data(), 1, count,
                             rows, x.cells.data(), 2, rows, 2, x.shorts, 1, 3,
                             x.innerNull ? nullptr : &inner, "%n%s", kEchoInnerOffsets);
    };
    const int size =
        kivo_tally(v, kEchoFormat, nullptr, x.i, x.r, x.n, x.l, x.b, x.v, x.s.c_str(),
                   x.s2Null ? nullptr : x.s2.c_str(), x.present, x.pointerSet, x.hidden, count,
                   x.block.data(), 1, count, rows, x.cells.data(), 2, rows, 2, x.shorts, 1, 3,
                   x.innerNull ? nullptr : &inner, "%n%s", kEchoInnerOffsets);
    Bytes out(static_cast<size_t>(size));
    write(reinterpret_cast<char*>(out.data()));
    if (v >= 7) {
        Bytes fd(12);
        kivo_sprintf1(v, 0, nullptr, reinterpret_cast<char*>(fd.data()), "%f%d", nullptr,
                      static_cast<double>(x.f), x.d);
        if (encrypting(c))
            fish_crypt(c.payloadOut(), fd.data(), 12);
        out.insert(out.end(), fd.begin(), fd.end());
    }
    return out;
}

// Reads the echo's reply; the bytes consumed, or a negative reader code.
inline int readEcho(KivoClient& c, Bytes payload, EchoValues& x) {
    int8_t i;
    int16_t r, rows, shorts[3];
    int16_t* shortsAt = shorts;
    int32_t n, present, pointerValue = 1, pointerFlag, hidden, count;
    int64_t l;
    unsigned char b;
    uint32_t v;
    char *s, *s2;
    unsigned char* block;
    int32_t* cells;
    EchoInner* inner;
    kivo_alloc* allocs = nullptr;
    const int version = c.version();
    char* in = reinterpret_cast<char*>(payload.data());
    const int got = kivo_sscanf1(&allocs, version, c.encrypt(), c.payloadIn(), 0, in,
                                 static_cast<int>(payload.size()), kEchoFormat, nullptr, &i, &r, &n,
                                 &l, &b, &v, &s, &s2, &present, &pointerValue, &pointerFlag,
                                 &hidden, &count, &block, 1, &count, &rows, &cells, 2, &rows, 2,
                                 &shortsAt, 1, 3, &inner, "%n%s", kEchoInnerOffsets);
    if (got < 0) {
        kivo_server_kivo_sscanf_free_allocs(allocs);
        return got;
    }
    x.i = i;
    x.r = r;
    x.n = n;
    x.l = l;
    x.b = b;
    x.v = v;
    x.s = s ? s : "";
    x.s2Null = !s2;
    x.s2 = s2 ? s2 : "";
    x.present = present;
    x.pointerSet = pointerFlag ? 0 : 1;
    x.hidden = hidden;
    x.block.assign(block, block ? block + count : block);
    x.cells.assign(cells, cells ? cells + 2 * rows : cells);
    std::memcpy(x.shorts, shorts, sizeof shorts);
    x.innerNull = !inner;
    if (inner) {
        x.innerN = inner->n;
        x.innerS = inner->s ? inner->s : "";
    }
    kivo_server_kivo_sscanf_free_allocs(allocs);
    if (version < 7) {
        // The floating values come as 64-byte text fields.
        if (payload.size() < static_cast<size_t>(got) + 128)
            return -1;
        x.f = static_cast<float>(std::atof(reinterpret_cast<char*>(payload.data()) + got));
        x.d = std::atof(reinterpret_cast<char*>(payload.data()) + got + 64);
        return got + 128;
    }
    float f;
    double d;
    const int tail = kivo_sscanf1(nullptr, version, 0, nullptr, 0, in + got,
                                  static_cast<int>(payload.size()) - got, "%f%d", nullptr, &f, &d);
    if (tail < 0)
        return tail;
    x.f = f;
    x.d = d;
    return got + tail;
}

// Random values for every field, strings and arrays of random length.
inline EchoValues randomEcho(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto text = [&](int max) {
        std::string s(static_cast<size_t>(pick(0, max)), ' ');
        for (char& ch : s)
            ch = static_cast<char>(pick(1, 255)); // any byte but the terminating NUL
        return s;
    };
    EchoValues x;
    x.i = static_cast<int8_t>(pick(-128, 127));
    x.r = static_cast<int16_t>(pick(-32768, 32767));
    x.n = static_cast<int32_t>(rng());
    x.l = static_cast<int64_t>((uint64_t{rng()} << 32) ^ rng());
    x.b = static_cast<unsigned char>(pick(0, 1));
    x.v = rng();
    x.s = text(300);
    x.s2Null = pick(0, 3) == 0;
    x.s2 = text(50);
    x.present = static_cast<int32_t>(rng());
    x.pointerSet = pick(0, 1);
    x.hidden = static_cast<int32_t>(rng());
    x.block.resize(static_cast<size_t>(pick(0, 1000)));
    for (unsigned char& b : x.block)
        b = static_cast<unsigned char>(rng());
    x.cells.resize(2 * static_cast<size_t>(pick(0, 20)));
    for (int32_t& v : x.cells)
        v = static_cast<int32_t>(rng());
    for (int16_t& v : x.shorts)
        v = static_cast<int16_t>(rng());
    x.innerNull = pick(0, 3) == 0;
    x.innerN = static_cast<int32_t>(rng());
    x.innerS = text(100);
    x.f = static_cast<float>(pick(-100000, 100000)) / 64.0f;
    x.d = static_cast<double>(static_cast<int32_t>(rng())) / 1024.0;
    return x;
}

// Whether an echo carried back exactly what was sent (floating values from version 7 on).
inline bool sameEcho(const EchoValues& a, const EchoValues& b, int version) {
    bool same = a.i == b.i && a.r == b.r && a.n == b.n && a.l == b.l && a.b == b.b && a.v == b.v &&
                a.s == b.s && a.s2Null == b.s2Null && (a.s2Null || a.s2 == b.s2) &&
                a.present == b.present && (a.pointerSet ? 1 : 0) == b.pointerSet &&
                a.hidden == b.hidden && a.block == b.block && a.cells == b.cells &&
                a.innerNull == b.innerNull &&
                (a.innerNull || (a.innerN == b.innerN && a.innerS == b.innerS));
    for (int k = 0; k < 3; ++k)
        same = same && a.shorts[k] == b.shorts[k];
    if (version >= 7)
        same = same && a.f == b.f && a.d == b.d;
    return same;
}

} // namespace kivotest
