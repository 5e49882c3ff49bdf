#pragma once
// The byte stream of the SSL relay: 'X' escapes. "XX" stands for one 'X', "X0" ends the
// stream; any other byte after an 'X' is an error. Every other byte stands for itself.
#include <cstddef>

namespace kivo {

constexpr unsigned char kRelayEscape = 'X';
constexpr unsigned char kRelayEnd = '0';

// Writes data with every 'X' doubled into out, which holds at least 2 * size bytes; returns
// the count written.
size_t relayEscape(const unsigned char* data, size_t size, unsigned char* out);

// Removes the escapes of a stream that arrives in pieces: an 'X' at the end of one piece is
// paired with the first byte of the next.
class RelayUnescaper {
public:
    enum Status { kMore, kEnd, kBadEscape };
    // Unescapes data into out (which may be data itself: the output never outgrows the input,
    // so out needs size bytes at most). *written receives the plain bytes before the end or
    // the error. After kEnd or kBadEscape the stream is over and further input is ignored.
    Status feed(const unsigned char* data, size_t size, unsigned char* out, size_t* written);

private:
    bool pendingEscape_ = false;
    Status status_ = kMore;
};

} // namespace kivo
