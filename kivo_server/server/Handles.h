#pragma once
// Owners of a socket and of a Win32 handle: closed when the owner goes or takes another.
#include <winsock2.h>
#include <windows.h>

namespace kivo {

int kivoCloseSocket(SOCKET s);

class UniqueSocket {
public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET s) : s_(s) {}
    ~UniqueSocket() { reset(); }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;

    SOCKET get() const { return s_; }
    bool valid() const { return s_ != INVALID_SOCKET; }
    SOCKET release() {
        const SOCKET s = s_;
        s_ = INVALID_SOCKET;
        return s;
    }
    void reset(SOCKET s = INVALID_SOCKET) {
        if (s_ != INVALID_SOCKET)
            kivoCloseSocket(s_);
        s_ = s;
    }

private:
    SOCKET s_ = INVALID_SOCKET;
};

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    HANDLE release() {
        const HANDLE h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(HANDLE h = nullptr) {
        if (valid())
            CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

} // namespace kivo
