// The key agreement that opens a connection, the call framing by protocol version, and the
// cancellation of a running call.
#include "ServerInternal.h"

#include "dhcrypt.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace kivo {

int expectedSlashes(int version) {
    if (version < 3)
        return 2;
    if (version <= 8)
        return 4;
    if (version <= 10)
        return 5;
    if (version <= 12)
        return 6;
    return 7;
}

void markKeepalive(kivo_client* c) {
    c->keepaliveStamp = nowSeconds();
    c->keepaliveCount = 0;
}

namespace {

// The bytes the client's buffer may hold now. A whole call at the front is not added to
// (a deferred client is not read); its input is taken as it arrives.
size_t readLimit(const kivo_client* c) {
    const ParseState& p = c->parse;
    if (!p.parsed)
        return kScanBuffer > c->held ? kScanBuffer : c->held;
    const size_t need = p.headerEnd + static_cast<size_t>(p.inputLength);
    return c->held >= need ? c->held : need + 32;
}

} // namespace

size_t makeReadRoom(kivo_client* c) {
    const size_t limit = readLimit(c);
    if (c->held >= limit)
        return 0;
    if (c->held == c->buffer.size()) {
        const size_t doubled = c->buffer.size() * 2;
        try {
            c->buffer.resize(doubled < limit ? doubled : limit);
        } catch (const std::bad_alloc&) {
            errorHook("realloc");
            return 0; // the old buffer stays; growing is tried again on the next pass
        }
    }
    const size_t end = c->buffer.size() < limit ? c->buffer.size() : limit;
    return end - c->held;
}

bool mayRead(const kivo_client* c) {
    return c->held < readLimit(c);
}

bool readyForNextCall(const kivo_client* c) {
    return c->busy == 0 && !c->canceledCallRunning && c->out.pending() < kOutputHighWater;
}

void handshakeSend(kivo_client* c) {
    const bool fake = server().settings.fake != 0;
    char modulus[32], secret[32], pub[32];
    if (fake) {
        std::strcpy(modulus, "2");
        std::strcpy(secret, "73");
        std::strcpy(pub, "73");
    } else {
        dhcrypt_choose_prime(0, modulus);
        const int64_t us = nowMicros();
        const uint32_t local = 0;
        const uint32_t seed = (static_cast<uint32_t>(us % 1000000) << 16) ^
                              static_cast<uint32_t>(us / 1000000) ^
                              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&local));
        dhcrypt_choose_prime(seed, secret);
        dhcrypt_mod_pow("2", secret, modulus, pub);
    }
    char line[128];
    std::snprintf(line, sizeof line, "%s/%s/%s/", fake ? "1" : "2", modulus, pub);
    c->dhModulus = modulus;
    c->dhSecret = secret;
    c->keyText.clear();
    c->keyStamp = nowSeconds();
    c->handshake = kHandshakeAwaitingKey;
    if (kivoWriteString(c, "kivo : ") < 0 || kivoWriteString(c, line) < 0)
        c->version = -1;
}

void handshakeReadKey(kivo_client* c) {
    // One byte at a time: what follows the key is already under the session key.
    for (bool first = true;; first = false) {
        if (!first) {
            u_long waiting = 0;
            if (ioctlsocket(c->sock.get(), FIONREAD, &waiting) != 0 || waiting == 0)
                return;
        }
        char b;
        const int n = recv(c->sock.get(), &b, 1, 0);
        if (n <= 0) {
            if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
                return;
            c->version = -1;
            c->dead = 1;
            return;
        }
        transportDecrypt(c, &b, 1);
        c->keyStamp = nowSeconds();
        if (b == '/')
            break;
        if (c->keyText.size() + 1 >= static_cast<size_t>(kHandshakeKeyBytes)) {
            c->version = -1; // a key that does not fit its buffer fails the handshake
            c->dead = 1;
            return;
        }
        c->keyText += b;
    }
    char key[32];
    if (server().settings.fake)
        std::strcpy(key, "73");
    else
        dhcrypt_mod_pow(c->keyText.c_str(), c->dhSecret.c_str(), c->dhModulus.c_str(), key);
    c->sessionKey = static_cast<uint32_t>(std::strtoul(key, nullptr, 16));
    c->inScramble = c->outScramble = static_cast<int32_t>(c->sessionKey);
    c->version = 1;
    c->handshake = kHandshakeDone;
    markKeepalive(c);
}

void setClientVersion(kivo_client* c, int version, bool clearEncryption) {
    c->version = version;
    if (version >= 5) {
        fish_state *in = nullptr, *out = nullptr;
        quorvel_server_fish_init(&in, c->sessionKey);
        quorvel_server_fish_init(&out, c->sessionKey);
        {
            Hold hold(c->writeLock);
            quorvel_server_fish_free(c->inStream);
            quorvel_server_fish_free(c->outStream);
            c->inStream = in;
            c->outStream = out;
        }
        c->payloadReach = in ? static_cast<int64_t>(fish_position(in)) : 0;
        if (version >= 10) {
            fish_state* header = nullptr;
            quorvel_server_fish_init(&header, c->sessionKey);
            c->headerCipher.reset(header);
        }
    }
    if (version >= 12)
        c->encrypt = 0;
    if (clearEncryption)
        c->encryptionEnabled = 0;
    if (version >= 6)
        kivoWriteString(c, "sock: ");
}

namespace {

void consume(kivo_client* c, size_t n) {
    if (n > c->held)
        n = c->held;
    std::memmove(c->buffer.data(), c->buffer.data() + n, c->held - n);
    c->held -= n;
    c->parse = ParseState();
    // A large call's buffer is not kept for the rest of the connection.
    if (c->buffer.size() > 65536 && c->held < static_cast<size_t>(kInitialBuffer)) {
        std::vector<char> smaller(c->buffer.begin(), c->buffer.begin() + kInitialBuffer + 64);
        c->buffer.swap(smaller);
    }
}

// Drops n bytes that can hold no marker from the front, keeping the scan positions.
void dropFront(kivo_client* c, size_t n) {
    if (n == 0)
        return;
    std::memmove(c->buffer.data(), c->buffer.data() + n, c->held - n);
    c->held -= n;
    c->parse.scan -= n;
    c->parse.decrypted = c->parse.decrypted > n ? c->parse.decrypted - n : 0;
}

bool parseInt64(const std::string& t, int64_t& out) {
    if (t.empty() || t.size() > 20)
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno || *end)
        return false;
    out = v;
    return true;
}

bool parseInt(const std::string& t, int& out) {
    int64_t v;
    if (!parseInt64(t, v) || v < INT32_MIN || v > INT32_MAX)
        return false;
    out = static_cast<int>(v);
    return true;
}

bool readHeaderFields(kivo_client* c, ParseState& p) {
    std::vector<std::string> fields;
    std::string field;
    for (size_t i = p.markerAt + kCallMarkerLength; i < p.headerEnd; ++i) {
        const char ch = c->buffer[i];
        if (ch == '/') {
            fields.push_back(field);
            field.clear();
        } else {
            field += ch;
        }
    }
    const int v = c->version;
    if (static_cast<int>(fields.size()) != expectedSlashes(v))
        return false;
    size_t k = 0;
    p.name = fields[k++];
    if (p.name.empty())
        return false;
    p.major = p.minor = p.noReturn = 0;
    p.counter = 0;
    p.fingerprint.clear();
    if (v >= 3 && (!parseInt(fields[k++], p.major) || !parseInt(fields[k++], p.minor)))
        return false;
    if (v >= 9 && !parseInt(fields[k++], p.noReturn))
        return false;
    if (!parseInt(fields[k++], p.inputLength))
        return false;
    if (v >= 11 && !parseInt64(fields[k++], p.counter))
        return false;
    if (v >= 13)
        p.fingerprint = fields[k++];
    return p.inputLength >= 0 && p.inputLength <= kMaxInputLength;
}

// The reply of a call the parser answers itself.
void answer(kivo_client* c, int code, bool noReturn) {
    if (code < -6899) {
        kivoReply(c, code, nullptr);
        return;
    }
    if (noReturn)
        return;
    switch (code) {
    case -1:
        kivoReply(c, -3, nullptr);
        break;
    case -2:
        kivoReply(c, -4, nullptr);
        break;
    case -3:
        kivoReply(c, -6, nullptr);
        break;
    case -1106: {
        const std::string text = fingerprintReply();
        kivoReply(c, static_cast<int>(text.size() + 1), text.c_str());
        break;
    }
    default: // settings calls, ping and the code-base query
        kivoReply(c, 0, nullptr);
        break;
    }
}

// A client that breaks the framing cannot be followed any further.
void framingError(kivo_client* c) {
    kivoReply(c, -6, nullptr);
    c->dead = 1;
}

} // namespace

void parseCalls(kivo_client* c, kivo_worker* dedicatedWorker) {
    while (c->held > 0 && readyForNextCall(c) && !c->dead && c->handshake == kHandshakeDone) {
        ParseState& p = c->parse;
        const bool cipher = c->transport == kSocket && c->version >= 10 && c->headerCipher.active();
        unsigned char* b = reinterpret_cast<unsigned char*>(c->buffer.data());
        const unsigned char* marker = reinterpret_cast<const unsigned char*>(kCallMarker);
        if (!p.matched) {
            if (cipher && !c->encryptionEnabled) {
                // Bytes before a marker are sent in the clear: a marker is recognised through
                // the look-ahead before its keystream bytes are taken.
                bool partial = false;
                while (p.scan < c->held) {
                    const size_t avail = c->held - p.scan;
                    size_t k = 0;
                    while (k < avail && k < static_cast<size_t>(kCallMarkerLength) &&
                           (b[p.scan + k] ^ c->headerCipher.peek(k)) == marker[k])
                        ++k;
                    if (k == static_cast<size_t>(kCallMarkerLength)) {
                        for (int i = 0; i < kCallMarkerLength; ++i)
                            b[p.scan + i] ^= c->headerCipher.next();
                        p.matched = true;
                        p.markerAt = p.scan;
                        p.scan += kCallMarkerLength;
                        break;
                    }
                    if (k == avail) {
                        partial = true;
                        break;
                    }
                    ++p.scan;
                }
                if (!p.matched) {
                    dropFront(c, p.scan);
                    (void)partial;
                    return;
                }
            } else {
                while (p.scan < c->held) {
                    if (cipher)
                        b[p.scan] ^= c->headerCipher.next();
                    ++p.scan;
                    if (p.scan >= static_cast<size_t>(kCallMarkerLength) &&
                        std::memcmp(b + p.scan - kCallMarkerLength, marker, kCallMarkerLength) ==
                            0) {
                        p.matched = true;
                        p.markerAt = p.scan - kCallMarkerLength;
                        break;
                    }
                }
                if (!p.matched) {
                    const size_t keep = kCallMarkerLength - 1;
                    dropFront(c, p.scan > keep ? p.scan - keep : 0);
                    return;
                }
            }
            p.slashes = 0;
        }
        if (!p.parsed) {
            const int expected = expectedSlashes(c->version);
            bool nameTooLong = false;
            while (p.slashes < expected && p.scan < c->held) {
                if (cipher)
                    b[p.scan] ^= c->headerCipher.next();
                if (b[p.scan] == '/')
                    ++p.slashes;
                ++p.scan;
                if (p.slashes == 0 && p.scan - p.markerAt > static_cast<size_t>(kMaxNameOffset)) {
                    nameTooLong = true;
                    break;
                }
                if (p.scan - p.markerAt > static_cast<size_t>(kMaxHeaderBytes)) {
                    framingError(c);
                    return;
                }
            }
            if (nameTooLong) {
                // Not a header: its bytes are skipped like any before a marker.
                p.matched = false;
                continue;
            }
            if (p.slashes < expected)
                return;
            p.headerEnd = p.scan;
            if (!readHeaderFields(c, p)) {
                framingError(c);
                return;
            }
            p.parsed = true;
        }
        const size_t need = p.headerEnd + static_cast<size_t>(p.inputLength);
        if (c->held < need)
            return; // the reads make room for the input as it arrives
        DispatchExtra extra;
        const int r = kivoDispatch(c, p, c->buffer.data() + p.headerEnd, p.inputLength,
                                   dedicatedWorker, extra);
        if (r == kDeferred)
            return;
        const bool noReturn = p.noReturn != 0;
        c->payloadReach += p.inputLength;
        consume(c, need);
        if (r == kHandedOff || r == kHandedOffDedicated) {
            if (extra.newlyBound)
                c->worker.load()->start.give();
            return;
        }
        answer(c, r, noReturn);
        if (extra.newVersion >= 0)
            setClientVersion(c, extra.newVersion, extra.clearEncryption);
        markKeepalive(c);
    }
}

bool checkPossibleCancel(kivo_client* c, size_t fresh) {
    kivo_worker* w = c->worker;
    if (!w || c->version < 4)
        return false;
    {
        Hold hold(w->lock);
        if (w->client != c || !w->running || w->canceled || w->noReturn || c->busy != 1)
            return false; // the call ended meanwhile: the bytes are the client's next call
        if (c->transport == kSocket && c->version >= 10 && c->headerCipher.active() &&
            c->encryptionEnabled) {
            unsigned char* b = reinterpret_cast<unsigned char*>(c->buffer.data());
            for (size_t i = c->held - fresh; i < c->held; ++i)
                b[i] ^= c->headerCipher.next();
        }
        c->held -= fresh;
        w->canceled = true;
        c->canceledCallRunning = 1;
        kivoReply(c, -1027, nullptr, kFlushLater);
        c->busy = 0;
    }
    flushOutput(c);
    return true;
}

void cancelRunningCall(kivo_client* c) {
    kivo_worker* w = c->worker;
    if (!w)
        return;
    {
        Hold hold(w->lock);
        if (w->client != c || !w->running || w->canceled || c->busy != 1)
            return;
        w->canceled = true;
        c->canceledCallRunning = 1;
        if (c->transport == kSocket)
            kivoReply(c, -1027, nullptr, kFlushLater);
        c->busy = 0;
    }
    flushOutput(c);
}

} // namespace kivo
