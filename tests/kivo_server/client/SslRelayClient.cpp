#include "SslRelayClient.h"

#include "RelayEscape.h"

#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <vector>

namespace kivotest {

namespace {

constexpr int kWantRead = 2, kWantWrite = 3;

struct Api {
    int (*initSsl)(uint64_t, const void*) = nullptr;
    const void* (*clientMethod)() = nullptr;
    void* (*ctxNew)(const void*) = nullptr;
    void (*ctxFree)(void*) = nullptr;
    void* (*sslNew)(void*) = nullptr;
    void (*sslFree)(void*) = nullptr;
    int (*setFd)(void*, int) = nullptr;
    int (*connect)(void*) = nullptr;
    int (*read)(void*, void*, int) = nullptr;
    int (*write)(void*, const void*, int) = nullptr;
    int (*pending)(const void*) = nullptr;
    int (*getError)(const void*, int) = nullptr;
    int (*shutdown)(void*) = nullptr;
    bool ok = false;
};

template <typename F> void find(HMODULE m, F& f, const char* name, bool& ok) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    ok = ok && f;
}

const Api& api() {
    static const Api a = [] {
        Api x;
#ifdef _WIN64
        HMODULE m = LoadLibraryA("libssl-3-x64.dll");
#else
        HMODULE m = LoadLibraryA("libssl-3.dll");
#endif
        if (!m)
            return x;
        bool ok = true;
        find(m, x.initSsl, "OPENSSL_init_ssl", ok);
        find(m, x.clientMethod, "TLS_client_method", ok);
        find(m, x.ctxNew, "SSL_CTX_new", ok);
        find(m, x.ctxFree, "SSL_CTX_free", ok);
        find(m, x.sslNew, "SSL_new", ok);
        find(m, x.sslFree, "SSL_free", ok);
        find(m, x.setFd, "SSL_set_fd", ok);
        find(m, x.connect, "SSL_connect", ok);
        find(m, x.read, "SSL_read", ok);
        find(m, x.write, "SSL_write", ok);
        find(m, x.pending, "SSL_pending", ok);
        find(m, x.getError, "SSL_get_error", ok);
        find(m, x.shutdown, "SSL_shutdown", ok);
        x.ok = ok && x.initSsl(0, nullptr) == 1;
        return x;
    }();
    return a;
}

bool readable(intptr_t s, int timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(s), &set);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
}

bool sendAll(SOCKET s, const unsigned char* data, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        const int r = ::send(s, reinterpret_cast<const char*>(data) + sent,
                             static_cast<int>(std::min<size_t>(size - sent, 65536)), 0);
        if (r <= 0)
            return false;
        sent += static_cast<size_t>(r);
    }
    return true;
}

} // namespace

bool sslAvailable() {
    return api().ok;
}

SslRelayClient::~SslRelayClient() {
    close();
}

bool SslRelayClient::connectTo(int port, int timeoutMs) {
    close();
    const Api& a = api();
    if (!a.ok) {
        error_ = "the OpenSSL DLLs are not available";
        return false;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        error_ = "connect failed: " + std::to_string(WSAGetLastError());
        closesocket(s);
        return false;
    }
    const int one = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    const DWORD timeout = static_cast<DWORD>(timeoutMs);
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    sock_ = static_cast<intptr_t>(s);
    ctx_ = a.ctxNew(a.clientMethod());
    ssl_ = ctx_ ? a.sslNew(ctx_) : nullptr;
    if (!ssl_ || a.setFd(ssl_, static_cast<int>(s)) != 1 || a.connect(ssl_) != 1) {
        error_ = "SSL handshake failed";
        close();
        return false;
    }
    const DWORD forever = 0;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&forever), sizeof forever);
    ended_ = false;
    return true;
}

bool SslRelayClient::send(const std::string& bytes) {
    const Api& a = api();
    size_t sent = 0;
    while (ssl_ && sent < bytes.size()) {
        const int r = a.write(ssl_, bytes.data() + sent, static_cast<int>(bytes.size() - sent));
        if (r <= 0)
            return false;
        sent += static_cast<size_t>(r);
    }
    return ssl_ != nullptr;
}

std::string SslRelayClient::receive(size_t max, int timeoutMs) {
    const Api& a = api();
    if (!ssl_ || ended_)
        return {};
    if (a.pending(ssl_) <= 0 && !readable(sock_, timeoutMs))
        return {};
    std::string buf(max, '\0');
    for (;;) {
        const int r = a.read(ssl_, &buf[0], static_cast<int>(max));
        if (r > 0) {
            buf.resize(static_cast<size_t>(r));
            return buf;
        }
        const int e = a.getError(ssl_, r);
        if (e == kWantRead || e == kWantWrite)
            continue;
        ended_ = true;
        return {};
    }
}

std::string SslRelayClient::receiveAll(int timeoutMs) {
    std::string all;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!ended_ && std::chrono::steady_clock::now() < end)
        all += receive(65536, 100);
    return all;
}

void SslRelayClient::close() {
    const Api& a = api();
    if (ssl_) {
        a.shutdown(ssl_);
        a.sslFree(ssl_);
    }
    if (ctx_)
        a.ctxFree(ctx_);
    ssl_ = ctx_ = nullptr;
    if (sock_ != -1)
        closesocket(static_cast<SOCKET>(sock_));
    sock_ = -1;
}

RelayBridge::~RelayBridge() {
    // Let the bridge finish its side first (the end marker and the relay's answer).
    for (int i = 0; i < 500 && thread_.joinable() && !finished_; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

int RelayBridge::start(int relayPort) {
    if (!ssl_.connectTo(relayPort) || !ssl_.send("T"))
        return -1;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof at;
    if (bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        closesocket(listener);
        return -1;
    }
    thread_ = std::thread([this, listener] { run(static_cast<intptr_t>(listener)); });
    return ntohs(at.sin_port);
}

// One thread serves both directions, so the SSL connection is only ever used by it.
void RelayBridge::run(intptr_t listenerHandle) {
    const SOCKET listener = static_cast<SOCKET>(listenerHandle);
    SOCKET plain = INVALID_SOCKET;
    while (!stop_ && plain == INVALID_SOCKET)
        if (readable(listenerHandle, 50))
            plain = accept(listener, nullptr, nullptr);
    closesocket(listener);
    if (plain == INVALID_SOCKET) {
        finished_ = true;
        return;
    }
    const int one = 1;
    setsockopt(plain, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    kivo::RelayUnescaper unescaper;
    std::vector<unsigned char> in(65536), out(2 * 65536);
    bool plainOpen = true;
    while (!stop_ && !ssl_.ended()) {
        const std::string got = ssl_.receive(65536, plainOpen ? 5 : 50);
        if (!got.empty()) {
            std::vector<unsigned char> bytes(got.begin(), got.end());
            size_t n = 0;
            const auto st = unescaper.feed(bytes.data(), bytes.size(), bytes.data(), &n);
            fromRelay_ += n;
            if (plainOpen && !sendAll(plain, bytes.data(), n))
                plainOpen = false;
            if (st == kivo::RelayUnescaper::kEnd)
                sawEnd_ = true;
            if (st == kivo::RelayUnescaper::kBadEscape)
                sawBad_ = true;
            if (st != kivo::RelayUnescaper::kMore && plainOpen) {
                shutdown(plain, SD_BOTH);
                plainOpen = false;
            }
        }
        if (!plainOpen || !readable(static_cast<intptr_t>(plain), 0))
            continue;
        const int r =
            recv(plain, reinterpret_cast<char*>(in.data()), static_cast<int>(in.size()), 0);
        if (r <= 0) {
            plainOpen = false;
            if (!endWithMarker_)
                break;
            ssl_.send("X0");
            continue;
        }
        const size_t m = kivo::relayEscape(in.data(), static_cast<size_t>(r), out.data());
        if (!ssl_.send(std::string(out.begin(), out.begin() + static_cast<long>(m))))
            break;
    }
    closesocket(plain);
    ssl_.close();
    finished_ = true;
}

} // namespace kivotest
