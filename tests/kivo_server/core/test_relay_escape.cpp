// The relay's escapes: doubling, and undoing it across arbitrary piece boundaries.
#include "RelayEscape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using kivo::RelayUnescaper;
using namespace std::string_literals;

struct Outcome {
    std::string plain;
    RelayUnescaper::Status status;
};

// Feeds the wire in pieces of the given size (0: all at once), unescaping in place.
Outcome unescape(const std::string& wire, size_t piece) {
    RelayUnescaper u;
    Outcome o{"", RelayUnescaper::kMore};
    if (piece == 0)
        piece = wire.size() ? wire.size() : 1;
    for (size_t at = 0; at < wire.size(); at += piece) {
        std::vector<unsigned char> buf(wire.begin() + static_cast<long>(at),
                                       wire.begin() +
                                           static_cast<long>(std::min(wire.size(), at + piece)));
        size_t n = 99999;
        o.status = u.feed(buf.data(), buf.size(), buf.data(), &n);
        EXPECT_LE(n, buf.size()) << "unescaped more than it was given";
        o.plain.append(buf.begin(), buf.begin() + static_cast<long>(n));
        if (o.status != RelayUnescaper::kMore)
            break;
    }
    return o;
}

TEST(RelayEscape, EscapingDoublesEveryXAndNothingElse) {
    const std::string plain = "XaXXbX\0X0"s;
    std::vector<unsigned char> out(2 * plain.size());
    const size_t n = kivo::relayEscape(reinterpret_cast<const unsigned char*>(plain.data()),
                                       plain.size(), out.data());
    EXPECT_EQ("XXaXXXXbXX\0XX0"s, std::string(out.begin(), out.begin() + static_cast<long>(n)));
}

TEST(RelayEscape, UnescapingInEveryPieceSize) {
    const struct {
        const char* wire;
        const char* plain;
        RelayUnescaper::Status status;
    } cases[] = {
        {"abc", "abc", RelayUnescaper::kMore},
        {"XXaXXXXb", "XaXXb", RelayUnescaper::kMore},
        {"aXX", "aX", RelayUnescaper::kMore},
        {"abX0cd", "ab", RelayUnescaper::kEnd}, // nothing after the end is delivered
        {"XXX0XX", "X", RelayUnescaper::kEnd},  // the end right after an escaped X
        {"abXzcd", "ab", RelayUnescaper::kBadEscape},
        {"aX", "a", RelayUnescaper::kMore}, // a lone X waits for its pair
        {"X\nXX", "", RelayUnescaper::kBadEscape},
    };
    for (const auto& c : cases)
        for (size_t piece : {0, 1, 2, 3}) {
            const Outcome o = unescape(c.wire, piece);
            EXPECT_EQ(c.plain, o.plain) << c.wire << " in pieces of " << piece;
            EXPECT_EQ(c.status, o.status) << c.wire << " in pieces of " << piece;
        }
}

TEST(RelayEscape, RoundTripOfEveryByteValue) {
    std::string plain;
    for (int i = 0; i < 4096; ++i)
        plain += static_cast<char>((i * 7 + i / 256) & 0xFF);
    plain += "XXXX";
    std::vector<unsigned char> wire(2 * plain.size());
    const size_t n = kivo::relayEscape(reinterpret_cast<const unsigned char*>(plain.data()),
                                       plain.size(), wire.data());
    for (size_t piece : {0, 1, 5, 4097}) {
        const Outcome o =
            unescape(std::string(wire.begin(), wire.begin() + static_cast<long>(n)), piece);
        EXPECT_EQ(RelayUnescaper::kMore, o.status);
        EXPECT_EQ(plain, o.plain) << "pieces of " << piece;
    }
}

} // namespace
