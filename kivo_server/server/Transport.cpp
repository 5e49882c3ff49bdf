// Everything sent to a client goes through one write routine that applies the transform of
// the connection's protocol version; reads undo the same transform.
#include "ServerInternal.h"

#include <cstdio>
#include <cstring>

namespace kivo {

namespace {

constexpr int kWritePiece = 65536;
constexpr int kPipeChunk = 65536;

int writePiece(kivo_client* c, const char* data, int n, SOCKET fd) {
    if (fd != INVALID_SOCKET)
        return send(fd, data, n, 0);
    if (c->transport == kPipe)
        return pipeWrite(c, data, n);
    return send(c->sock.get(), data, n, 0);
}

// The write itself; the caller holds the connection's write lock.
int writeUnlocked(kivo_client* c, const char* data, int size, fish_state* stream, SOCKET fd) {
    if (size <= 0)
        return 0;
    std::vector<char> copy;
    const char* out = data;
    const bool socketConnection = c && c->transport == kSocket && fd == INVALID_SOCKET;
    if (socketConnection) {
        if (stream) {
            if (c->version < 10) {
                copy.assign(data, data + size);
                fish_crypt(stream, reinterpret_cast<unsigned char*>(copy.data()), size);
                out = copy.data();
            }
        } else {
            copy.assign(data, data + size);
            kivo_scramble(reinterpret_cast<unsigned char*>(copy.data()), size, &c->outScramble);
            out = copy.data();
        }
    }
    int total = 0;
    while (total < size) {
        const int piece = size - total < kWritePiece ? size - total : kWritePiece;
        const int r = writePiece(c, out + total, piece, fd);
        if (r < 0) {
            errorHook("sure_write: write");
            return r;
        }
        if (r == 0) // a pipe or socket that takes nothing is as good as closed
            return -1;
        total += r;
    }
    return total;
}

} // namespace

int sureWrite(kivo_client* c, const char* data, int size, int /*text*/, fish_state* stream,
              SOCKET fd) {
    if (!c)
        return fd != INVALID_SOCKET ? writeUnlocked(nullptr, data, size, nullptr, fd) : -1;
    Hold hold(c->writeLock);
    return writeUnlocked(c, data, size, stream, fd);
}

int kivoWriteString(kivo_client* c, const char* text) {
    if (!c)
        return -1;
    return sureWrite(c, text, static_cast<int>(std::strlen(text)), 1, c->outStream, INVALID_SOCKET);
}

int kivoReply(kivo_client* c, int length, const char* data) {
    if (!c)
        return 0;
    char header[48];
    const int headerLength = std::snprintf(header, sizeof header, "[kivo_reply_v2]/%d/", length);
    Hold hold(c->writeLock);
    if (length < 1 || !data)
        return writeUnlocked(c, header, headerLength, c->outStream, INVALID_SOCKET);
    if (headerLength + length < 1024) {
        char joined[1024];
        std::memcpy(joined, header, static_cast<size_t>(headerLength));
        std::memcpy(joined + headerLength, data, static_cast<size_t>(length));
        return writeUnlocked(c, joined, headerLength + length, c->outStream, INVALID_SOCKET);
    }
    const int r = writeUnlocked(c, header, headerLength, c->outStream, INVALID_SOCKET);
    if (r < 0)
        return r;
    return writeUnlocked(c, data, length, c->outStream, INVALID_SOCKET);
}

int kivoCloseSocket(SOCKET s) {
    const int r = closesocket(s);
    if (r != 0)
        errorHook("closesocket");
    return r;
}

void setListenSocketOptions(SOCKET s) {
    const int one = 1, size = 65536;
    const char* on = reinterpret_cast<const char*>(&one);
    const char* sz = reinterpret_cast<const char*>(&size);
    if (setsockopt(s, SOL_SOCKET, SO_REUSEADDR, on, sizeof one) != 0) {
        errorHook("setsockopt (0)");
        KIVO_ASSERT(false, "setsockopt (0)");
    }
    if (setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, on, sizeof one) != 0) {
        errorHook("setsockopt (1)");
        KIVO_ASSERT(false, "setsockopt (1)");
    }
    if (setsockopt(s, IPPROTO_TCP, TCP_NODELAY, on, sizeof one) != 0)
        errorHook("setsockopt: cannot disable nagle algo");
    if (setsockopt(s, SOL_SOCKET, SO_SNDBUF, sz, sizeof size) != 0) {
        errorHook("setsockopt (2)");
        KIVO_ASSERT(false, "setsockopt (2)");
    }
    if (setsockopt(s, SOL_SOCKET, SO_RCVBUF, sz, sizeof size) != 0) {
        errorHook("setsockopt (3)");
        KIVO_ASSERT(false, "setsockopt (3)");
    }
    int value = 0, len = sizeof value;
    if (getsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&value), &len) != 0) {
        errorHook("getsockopt (1)");
        KIVO_ASSERT(false, "getsockopt (1)");
    }
    len = sizeof value;
    if (getsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&value), &len) != 0) {
        errorHook("getsockopt (2)");
        KIVO_ASSERT(false, "getsockopt (2)");
    }
}

int pipeWrite(kivo_client* c, const char* data, int count) {
    OVERLAPPED ov{};
    ov.hEvent = c->pipeWriteEvent.get();
    DWORD written = 0;
    if (!WriteFile(c->pipe.get(), data, static_cast<DWORD>(count), &written, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING ||
            !GetOverlappedResult(c->pipe.get(), &ov, &written, TRUE)) {
            errorHook("WriteFile");
            return -1;
        }
    }
    return static_cast<int>(written);
}

void transportDecrypt(kivo_client* c, char* buf, int count) {
    if (c->transport != kSocket || count <= 0)
        return;
    const int v = c->version;
    unsigned char* b = reinterpret_cast<unsigned char*>(buf);
    if (v >= 10)
        return;
    if (v >= 5 && c->inStream)
        fish_crypt(c->inStream, b, count);
    else
        kivo_scramble(b, count, &c->inScramble);
}

namespace {

int pipeRead(kivo_client* c, char* buf, int count, int timeoutMs) {
    // One read stays pending across time-outs; the bytes it brings may outlast one call.
    PipeRead& r = c->pipeRead;
    for (;;) {
        if (r.used < r.got) {
            const DWORD left = r.got - r.used;
            const int n = static_cast<int>(left) < count ? static_cast<int>(left) : count;
            std::memcpy(buf, r.data.data() + r.used, static_cast<size_t>(n));
            r.used += static_cast<DWORD>(n);
            return n;
        }
        if (!r.pending) {
            r.ov = OVERLAPPED{};
            r.ov.hEvent = c->pipeReadEvent.get();
            r.got = r.used = 0;
            r.data.resize(kPipeChunk);
            DWORD n = 0;
            if (ReadFile(c->pipe.get(), r.data.data(), kPipeChunk, &n, &r.ov)) {
                r.got = n;
            } else {
                const DWORD e = GetLastError();
                if (e == ERROR_IO_PENDING) {
                    r.pending = true;
                } else if (e == ERROR_MORE_DATA) {
                    GetOverlappedResult(c->pipe.get(), &r.ov, &n, FALSE);
                    r.got = n;
                } else {
                    errorHook("ReadFile");
                    return -1;
                }
            }
        }
        if (r.pending) {
            const DWORD wait = WaitForSingleObject(
                c->pipeReadEvent.get(), timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
            if (wait == WAIT_TIMEOUT)
                return 0;
            DWORD n = 0;
            r.pending = false;
            if (!GetOverlappedResult(c->pipe.get(), &r.ov, &n, FALSE) &&
                GetLastError() != ERROR_MORE_DATA) {
                errorHook("ReadFile");
                return -1;
            }
            r.got = n;
        }
        if (r.got == 0)
            return -1;
    }
}

} // namespace

void closePipe(kivo_client* c) {
    if (!c->pipe.valid())
        return;
    if (c->pipeRead.pending) {
        CancelIo(c->pipe.get());
        DWORD n = 0;
        GetOverlappedResult(c->pipe.get(), &c->pipeRead.ov, &n, TRUE);
        c->pipeRead.pending = false;
    }
    c->pipe.reset();
}

int readClient(kivo_client* c, char* buf, int count, int timeoutMs) {
    if (count <= 0)
        return 0;
    if (c->transport == kPipe)
        return pipeRead(c, buf, count, timeoutMs);
    if (timeoutMs >= 0) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(c->sock.get(), &set);
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        const int s = select(0, &set, nullptr, nullptr, &tv);
        if (s == 0)
            return 0;
        if (s < 0) {
            errorHook("select");
            return -1;
        }
    }
    const int n = recv(c->sock.get(), buf, count, 0);
    if (n == 0)
        return -1;
    if (n < 0) {
        if (WSAGetLastError() == WSAEWOULDBLOCK)
            return 0;
        return -1;
    }
    transportDecrypt(c, buf, n);
    return n;
}

void wakeLoop() {
    Server& s = server();
    Hold hold(s.notifySem);
    if (s.notifySocket.valid()) {
        const char b = 0;
        sendto(s.notifySocket.get(), &b, 1, 0, reinterpret_cast<const sockaddr*>(&s.notifyAddress),
               sizeof s.notifyAddress);
    }
}

} // namespace kivo
