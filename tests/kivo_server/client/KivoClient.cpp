#include "KivoClient.h"

#include "dhcrypt.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace kivotest {

namespace {

const char kMarker[] = "[kivo_call_v2]/";

int expectedFields(int version) {
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

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void pauseMs(int ms) {
#ifdef _WIN32
    Sleep(static_cast<DWORD>(ms));
#else
    usleep(static_cast<useconds_t>(ms) * 1000);
#endif
}

void closeSocket(intptr_t s) {
#ifdef _WIN32
    closesocket(static_cast<SOCKET>(s));
#else
    ::close(static_cast<int>(s));
#endif
}

} // namespace

bool networkStart() {
#ifdef _WIN32
    WSADATA wsa;
    return WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
#else
    return true;
#endif
}

KivoClient::~KivoClient() {
    close();
}

void KivoClient::close() {
    if (sock_ != -1)
        closeSocket(sock_);
    sock_ = -1;
#ifdef _WIN32
    if (pipe_)
        CloseHandle(pipe_);
    pipe_ = nullptr;
#endif
    quorvel_server_fish_free(out_);
    quorvel_server_fish_free(in_);
    quorvel_server_fish_free(header_);
    out_ = in_ = header_ = nullptr;
    pending_.clear();
}

bool KivoClient::connectTo(int port, int timeoutMs) {
    close();
    version_ = 0;
    outScramble_ = inScramble_ = 0x5B3E8D21;
    encrypt_ = 1;
    encryptionEnabled_ = true;
    const int64_t end = nowMs() + timeoutMs;
    for (;;) {
#ifdef _WIN32
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET)
            return false;
#else
        int s = socket(AF_INET, SOCK_STREAM, 0);
        if (s < 0)
            return false;
#endif
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<unsigned short>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            const int one = 1;
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one),
                       sizeof one);
            sock_ = static_cast<intptr_t>(s);
            rcvTimeout_ = 0;
            return true;
        }
        closeSocket(static_cast<intptr_t>(s));
        if (nowMs() >= end)
            return false;
        pauseMs(50);
    }
}

int KivoClient::readRawSome(unsigned char* out, size_t n, int timeoutMs) {
#ifdef _WIN32
    if (pipe_) {
        const int64_t end = nowMs() + timeoutMs;
        for (;;) {
            DWORD avail = 0;
            if (!PeekNamedPipe(pipe_, nullptr, 0, nullptr, &avail, nullptr))
                return -1;
            if (avail > 0) {
                DWORD got = 0;
                if (!ReadFile(pipe_, out, static_cast<DWORD>(n < avail ? n : avail), &got, nullptr))
                    return -1;
                return static_cast<int>(got);
            }
            if (nowMs() >= end)
                return 0;
            Sleep(1);
        }
    }
    // A blocking read with a receive time-out: one system call per read, like a plain
    // ping-pong.
    if (timeoutMs <= 0)
        timeoutMs = 1;
    if (timeoutMs != rcvTimeout_) {
        const DWORD ms = static_cast<DWORD>(timeoutMs);
        setsockopt(static_cast<SOCKET>(sock_), SOL_SOCKET, SO_RCVTIMEO,
                   reinterpret_cast<const char*>(&ms), sizeof ms);
        rcvTimeout_ = timeoutMs;
    }
    const int got =
        recv(static_cast<SOCKET>(sock_), reinterpret_cast<char*>(out), static_cast<int>(n), 0);
    if (got < 0 && WSAGetLastError() == WSAETIMEDOUT)
        return 0;
#else
    if (timeoutMs <= 0)
        timeoutMs = 1;
    if (timeoutMs != rcvTimeout_) {
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        setsockopt(static_cast<int>(sock_), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        rcvTimeout_ = timeoutMs;
    }
    const int got = static_cast<int>(recv(static_cast<int>(sock_), out, n, 0));
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return 0;
#endif
    return got <= 0 ? -1 : got;
}

void KivoClient::transformIn(unsigned char* b, size_t n) {
#ifdef _WIN32
    if (pipe_)
        return;
#endif
    if (version_ >= 10)
        return;
    if (version_ >= 5 && in_)
        fish_crypt(in_, b, static_cast<long>(n));
    else
        kivo_scramble(b, static_cast<long>(n), &inScramble_);
}

void KivoClient::transformOut(Bytes& b, bool header) {
#ifdef _WIN32
    if (pipe_)
        return;
#endif
    if (version_ >= 10) {
        if (header && header_)
            fish_crypt(header_, b.data(), static_cast<long>(b.size()));
        return;
    }
    if (version_ >= 5 && out_)
        fish_crypt(out_, b.data(), static_cast<long>(b.size()));
    else
        kivo_scramble(b.data(), static_cast<long>(b.size()), &outScramble_);
}

bool KivoClient::readTransformed(unsigned char* out, size_t n, int timeoutMs) {
    const int64_t end = nowMs() + timeoutMs;
    while (pending_.size() < n) {
        unsigned char buf[65536];
        const int64_t left = end - nowMs();
        const int got = readRawSome(buf, sizeof buf, left > 0 ? static_cast<int>(left) : 0);
        if (got <= 0)
            return false;
        pending_.insert(pending_.end(), buf, buf + got);
    }
    std::memcpy(out, pending_.data(), n);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(n));
    transformIn(out, n);
    return true;
}

bool KivoClient::sendRaw(const Bytes& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
#ifdef _WIN32
        if (pipe_) {
            DWORD n = 0;
            if (!WriteFile(pipe_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n,
                           nullptr))
                return false;
            done += n;
            continue;
        }
        const int n =
            send(static_cast<SOCKET>(sock_), reinterpret_cast<const char*>(bytes.data()) + done,
                 static_cast<int>(bytes.size() - done), 0);
#else
        const int n = static_cast<int>(
            send(static_cast<int>(sock_), bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL));
#endif
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

size_t KivoClient::sendUntilStalled(const Bytes& bytes, int stallMs) {
#ifdef _WIN32
    const SOCKET s = static_cast<SOCKET>(sock_);
    u_long on = 1, off = 0;
    ioctlsocket(s, FIONBIO, &on);
#else
    const int s = static_cast<int>(sock_);
#endif
    size_t done = 0;
    while (done < bytes.size()) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval tv{stallMs / 1000, (stallMs % 1000) * 1000};
        if (select(static_cast<int>(s) + 1, nullptr, &set, nullptr, &tv) <= 0)
            break;
        const size_t piece = bytes.size() - done < 65536 ? bytes.size() - done : 65536;
#ifdef _WIN32
        const int n =
            send(s, reinterpret_cast<const char*>(bytes.data()) + done, static_cast<int>(piece), 0);
#else
        const int n =
            static_cast<int>(send(s, bytes.data() + done, piece, MSG_NOSIGNAL | MSG_DONTWAIT));
#endif
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
#ifdef _WIN32
    ioctlsocket(s, FIONBIO, &off);
#endif
    return done;
}

bool KivoClient::sendTransformed(const Bytes& bytes) {
    Bytes b = bytes;
    transformOut(b, encryptionEnabled_);
    return sendRaw(b);
}

void KivoClient::restartAgreement() {
    quorvel_server_fish_free(out_);
    quorvel_server_fish_free(in_);
    quorvel_server_fish_free(header_);
    out_ = in_ = header_ = nullptr;
    version_ = 0;
    outScramble_ = inScramble_ = 0x5B3E8D21;
    encrypt_ = 1;
    encryptionEnabled_ = true;
}

bool KivoClient::handshake() {
    unsigned char hello[7];
    if (!readTransformed(hello, 7, 10000) || std::memcmp(hello, "kivo : ", 7) != 0)
        return false;
    std::string fields[3];
    for (int f = 0; f < 3;) {
        unsigned char c;
        if (!readTransformed(&c, 1, 10000))
            return false;
        if (c == '/')
            ++f;
        else if (fields[f].size() < 64)
            fields[f] += static_cast<char>(c);
        else
            return false;
    }
    fake_ = fields[0] == "1" && fields[1] == "2";
    std::string mine = "73";
    char key[32] = "73";
    if (!fake_) {
        char secret[32], pub[32];
        dhcrypt_choose_prime(static_cast<uint32_t>(nowMs()) * 2654435761u, secret);
        dhcrypt_mod_pow(fields[0].c_str(), secret, fields[1].c_str(), pub);
        mine = pub;
        dhcrypt_mod_pow(fields[2].c_str(), secret, fields[1].c_str(), key);
    }
    mine += '/';
    if (!sendTransformed(Bytes(mine.begin(), mine.end())))
        return false;
    key_ = static_cast<uint32_t>(std::strtoul(key, nullptr, 16));
    inScramble_ = outScramble_ = static_cast<int32_t>(key_);
    version_ = 1;
    return true;
}

bool KivoClient::setVersion(int version, bool unencrypted) {
    const std::string name =
        "kivo_set_client_version_" + std::to_string(version) + (unencrypted ? "u" : "");
    const Message m = call(name, Bytes());
    if (m.kind != Message::kReply || m.code != -102800 - version)
        return false;
    version_ = version;
    if (version >= 5) {
        quorvel_server_fish_free(out_);
        quorvel_server_fish_free(in_);
        quorvel_server_fish_init(&out_, key_);
        quorvel_server_fish_init(&in_, key_);
        if (version >= 10) {
            quorvel_server_fish_free(header_);
            quorvel_server_fish_init(&header_, key_);
        }
    }
    if (version >= 12)
        encrypt_ = 0;
    if (unencrypted)
        encryptionEnabled_ = false;
    if (version >= 6) {
        unsigned char sock[6];
        if (!readTransformed(sock, 6, 10000) || std::memcmp(sock, "sock: ", 6) != 0)
            return false;
    }
    return true;
}

int64_t KivoClient::payloadPosition() const {
    return out_ ? static_cast<int64_t>(fish_position(out_)) : 0;
}

bool KivoClient::sendCall(const std::string& name, const Bytes& payload, const CallOptions& o) {
    return sendRaw(frameCall(name, payload, o));
}

Bytes KivoClient::frameCall(const std::string& name, const Bytes& payload, const CallOptions& o) {
    std::string h = kMarker + name + "/";
    const int fields = expectedFields(version_);
    if (version_ >= 3)
        h += std::to_string(o.major) + "/" + std::to_string(o.minor) + "/";
    if (version_ >= 9)
        h += std::to_string(o.noReturn) + "/";
    h += std::to_string(payload.size()) + "/";
    if (version_ >= 11) {
        const int64_t counter = o.counter >= 0 ? o.counter : payloadPosition();
        h += std::to_string(counter) + "/";
    }
    if (version_ >= 13)
        h += o.fingerprint + "/";
    (void)fields;
    Bytes header(h.begin(), h.end());
    bool onPipe = false;
#ifdef _WIN32
    onPipe = pipe_ != nullptr;
#endif
    if (version_ >= 10 && !onPipe) {
        transformOut(header, true);
        header.insert(header.end(), payload.begin(), payload.end());
        return header;
    }
    header.insert(header.end(), payload.begin(), payload.end());
    transformOut(header, false);
    return header;
}

Message KivoClient::readMessage(int timeoutMs) {
    Message m;
    unsigned char c = 0;
    do {
        if (!readTransformed(&c, 1, timeoutMs))
            return m;
    } while (c != '[');
    std::string tag;
    while (tag.size() < 32) {
        if (!readTransformed(&c, 1, timeoutMs))
            return m;
        if (c == ']')
            break;
        tag += static_cast<char>(c);
    }
    if (!readTransformed(&c, 1, timeoutMs) || c != '/')
        return m;
    std::string number;
    while (number.size() < 16) {
        if (!readTransformed(&c, 1, timeoutMs))
            return m;
        if (c == '/')
            break;
        number += static_cast<char>(c);
    }
    const int value = std::atoi(number.c_str());
    size_t bytes = 0;
    if (tag == "kivo_reply_v2") {
        m.code = value;
        bytes = value > 0 ? static_cast<size_t>(value) : 0;
    } else if (tag == "kivo_progress" || tag == "kivo_progress2") {
        bytes = value > 0 ? static_cast<size_t>(value) : 0;
    } else {
        return m;
    }
    m.payload.resize(bytes);
    if (bytes && !readTransformed(m.payload.data(), bytes, timeoutMs))
        return Message();
    m.kind = tag == "kivo_reply_v2"   ? Message::kReply
             : tag == "kivo_progress" ? Message::kProgress
                                      : Message::kProgress2;
    return m;
}

Message KivoClient::call(const std::string& name, const Bytes& payload, const CallOptions& o,
                         std::vector<Message>* progress, int timeoutMs) {
    if (!sendCall(name, payload, o))
        return Message();
    for (;;) {
        Message m = readMessage(timeoutMs);
        if (m.kind == Message::kReply || m.kind == Message::kNone)
            return m;
        if (progress)
            progress->push_back(m);
    }
}

bool KivoClient::closedByServer(int timeoutMs) {
    const int64_t end = nowMs() + timeoutMs;
    for (;;) {
        unsigned char buf[4096];
        const int64_t left = end - nowMs();
        if (left <= 0)
            return false;
        const int got = readRawSome(buf, sizeof buf, static_cast<int>(left));
        if (got < 0)
            return true;
    }
}

bool KivoClient::resetByServer(int timeoutMs) {
    // A reset connection refuses a send at once; a full one only would block.
#ifdef _WIN32
    const SOCKET s = static_cast<SOCKET>(sock_);
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
#else
    const int s = static_cast<int>(sock_);
#endif
    const int64_t end = nowMs() + timeoutMs;
    for (;;) {
        const char space = ' ';
#ifdef _WIN32
        if (send(s, &space, 1, 0) < 0 && WSAGetLastError() != WSAEWOULDBLOCK)
            return true;
#else
        if (send(s, &space, 1, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN &&
            errno != EWOULDBLOCK)
            return true;
#endif
        if (nowMs() >= end)
            return false;
        pauseMs(100);
    }
}

#ifdef _WIN32
bool KivoClient::openPipe(const std::string& name) {
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 100 && h == INVALID_HANDLE_VALUE; ++i) {
        h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE)
            Sleep(20);
    }
    if (h == INVALID_HANDLE_VALUE)
        return false;
    closeSocket(sock_);
    sock_ = -1;
    pipe_ = h;
    pending_.clear();
    return true;
}
#endif

} // namespace kivotest
