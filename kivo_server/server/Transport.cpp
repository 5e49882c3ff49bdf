// Everything sent to a client goes through one write routine that applies the transform of
// the connection's protocol version and queues the bytes on the client; the queue is sent as
// the connection takes it, never waiting for one client. Reads undo the same transform.
#include "ServerInternal.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace kivo {

namespace {

constexpr int kWritePiece = 65536;
constexpr int kPipeChunk = 65536;
constexpr DWORD kPipeWaitSliceMs = 100;

int64_t nowMs() {
    return nowMicros() / 1000;
}

// Transforms the bytes for the connection and queues them; the caller holds the write lock.
int queueUnlocked(kivo_client* c, const char* data, int size, fish_state* stream) {
    if (size <= 0)
        return 0;
    std::vector<char> copy;
    const char* out = data;
    if (c->transport == kSocket) {
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
    if (!c->out.append(out, static_cast<size_t>(size))) {
        errorHook("sure_write: malloc");
        return -1;
    }
    return size;
}

int finishWrite(kivo_client* c, int result, FlushMode mode) {
    if (result > 0 && mode == kFlushNow)
        flushOutput(c);
    return result;
}

// One overlapped pipe write, waited for in slices: a client that reads nothing holds its
// worker no longer than its life, the server's or the stall period.
int pipeWrite(kivo_client* c, const char* data, int count) {
    OVERLAPPED ov{};
    ov.hEvent = c->pipeWriteEvent.get();
    DWORD written = 0;
    if (WriteFile(c->pipe.get(), data, static_cast<DWORD>(count), &written, &ov))
        return static_cast<int>(written);
    if (GetLastError() != ERROR_IO_PENDING) {
        errorHook("WriteFile");
        return -1;
    }
    const int64_t start = nowMs();
    const int64_t limit = static_cast<int64_t>(server().settings.keepaliveSeconds) * 1000;
    while (WaitForSingleObject(ov.hEvent, kPipeWaitSliceMs) != WAIT_OBJECT_0) {
        if (c->dead || server().shuttingDown || nowMs() - start >= limit) {
            CancelIo(c->pipe.get());
            GetOverlappedResult(c->pipe.get(), &ov, &written, TRUE);
            errorHook("WriteFile: stalled");
            return -1;
        }
    }
    if (!GetOverlappedResult(c->pipe.get(), &ov, &written, FALSE)) {
        errorHook("WriteFile");
        return -1;
    }
    return static_cast<int>(written);
}

int socketSend(SOCKET s, const char* data, size_t n) {
    const int sent = send(s, data, static_cast<int>(n < kWritePiece ? n : kWritePiece), 0);
    if (sent >= 0)
        return sent;
    if (WSAGetLastError() == WSAEWOULDBLOCK)
        return 0;
    errorHook("sure_write: write");
    return -1;
}

} // namespace

bool OutputQueue::append(const char* data, size_t n) {
    if (n == 0)
        return true;
    Hold hold(lock_);
    try {
        chunks_.emplace_back(data, data + n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (pending_ == 0)
        movedMs_ = nowMs();
    pending_ += n;
    return true;
}

int64_t OutputQueue::stalledMs() const {
    return pending_ == 0 ? 0 : nowMs() - movedMs_;
}

bool OutputQueue::front(const char** data, size_t* n) {
    Hold hold(lock_);
    if (chunks_.empty())
        return false;
    *data = chunks_.front().data() + offset_;
    *n = chunks_.front().size() - offset_;
    return true;
}

void OutputQueue::taken(size_t n) {
    Hold hold(lock_);
    offset_ += n;
    if (offset_ == chunks_.front().size()) {
        chunks_.pop_front();
        offset_ = 0;
    }
    pending_ -= n;
    movedMs_ = nowMs();
}

bool flushOutput(kivo_client* c) {
    int r;
    if (c->transport == kPipe) {
        r = c->out.flush([c](const char* data, size_t n) {
            return pipeWrite(c, data, static_cast<int>(n < kWritePiece ? n : kWritePiece));
        });
    } else {
        const SOCKET s = c->sock.get();
        r = c->out.flush([s](const char* data, size_t n) { return socketSend(s, data, n); });
    }
    if (r < 0) {
        c->dead = 1;
        return false;
    }
    // The loop sends the rest once the socket takes more; a dedicated client's worker does.
    if (r == 0 && !c->dedicated && GetCurrentThreadId() != server().loopThread)
        wakeLoop();
    return r == 1;
}

bool drainOutput(kivo_client* c, int timeoutMs) {
    const int64_t end = nowMs() + timeoutMs;
    while (!flushOutput(c)) {
        const int64_t left = end - nowMs();
        if (c->dead || left <= 0)
            return false;
        if (c->transport == kSocket) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(c->sock.get(), &set);
            const long ms = static_cast<long>(left < 100 ? left : 100);
            timeval tv{0, ms * 1000};
            select(0, nullptr, &set, nullptr, &tv);
        } else {
            Sleep(10); // another thread's pipe write is under way
        }
    }
    return true;
}

bool outputStalled(const kivo_client* c) {
    return c->out.stalledMs() >= static_cast<int64_t>(server().settings.keepaliveSeconds) * 1000;
}

int sureWrite(kivo_client* c, const char* data, int size, int /*text*/, fish_state* stream,
              SOCKET fd, FlushMode mode) {
    if (!c) {
        // A descriptor of its own (no connection): written through as it stands.
        int total = 0;
        while (fd != INVALID_SOCKET && total < size) {
            const int piece = size - total < kWritePiece ? size - total : kWritePiece;
            const int r = send(fd, data + total, piece, 0);
            if (r <= 0) {
                errorHook("sure_write: write");
                return r < 0 ? r : -1;
            }
            total += r;
        }
        return fd != INVALID_SOCKET ? total : -1;
    }
    int r;
    {
        Hold hold(c->writeLock);
        r = queueUnlocked(c, data, size, stream);
    }
    return finishWrite(c, r, mode);
}

int kivoWriteString(kivo_client* c, const char* text, FlushMode mode) {
    if (!c)
        return -1;
    return sureWrite(c, text, static_cast<int>(std::strlen(text)), 1, c->outStream, INVALID_SOCKET,
                     mode);
}

int kivoReply(kivo_client* c, int length, const char* data, FlushMode mode) {
    if (!c)
        return 0;
    char header[48];
    const int headerLength = std::snprintf(header, sizeof header, "[kivo_reply_v2]/%d/", length);
    int r;
    {
        Hold hold(c->writeLock);
        if (length < 1 || !data) {
            r = queueUnlocked(c, header, headerLength, c->outStream);
        } else if (headerLength + length < 1024) {
            char joined[1024];
            std::memcpy(joined, header, static_cast<size_t>(headerLength));
            std::memcpy(joined + headerLength, data, static_cast<size_t>(length));
            r = queueUnlocked(c, joined, headerLength + length, c->outStream);
        } else {
            r = queueUnlocked(c, header, headerLength, c->outStream);
            if (r >= 0)
                r = queueUnlocked(c, data, length, c->outStream);
        }
    }
    return finishWrite(c, r, mode);
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
