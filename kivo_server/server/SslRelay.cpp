// The SSL relay: an SSL listener on the server port + 10000 whose clients are relayed, with
// the 'X' escapes of the relay stream, to a plain connection to the server's own port.
#include "ServerInternal.h"

#include "OpenSslLibrary.h"
#include "RelayEscape.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace kivo {

namespace {

// OpenSSL control numbers (stable across versions).
constexpr int kBioDoStateMachine = 101;
constexpr int kBioGetFd = 105;
constexpr int kBioSetAccept = 118;
constexpr int kBioSetBindMode = 131;
constexpr long kBindReuseAddress = 0x01;
constexpr long kAcceptSetNonBlocking = 2;
constexpr long kAcceptSetBios = 3;
constexpr long kAcceptSetFamily = 4;
constexpr int kBioFamilyIpv4 = 4;
constexpr int kBioFlagsRead = 0x01;
constexpr int kBioFlagsWrite = 0x02;
constexpr int kBioFlagsShouldRetry = 0x08;

constexpr int kSslReadSize = 131071;
constexpr int kLocalReadSize = 32768;
constexpr int kLocalWritePiece = 65536;
constexpr int kWritePollMs = 3000;
constexpr int kSslPollMs = 50;
constexpr int kAcceptPollMs = 200;
constexpr int kHandshakeTimeoutMs = 30000;
constexpr int kStopWaitMs = 10000;
const unsigned char kEndSequence[] = "X0X0X0X0X0X0X0X0";

struct Relay {
    OpenSslLibrary ssl;
    OpenSslLibrary::Ctx* ctx = nullptr;
    OpenSslLibrary::Bio* accept = nullptr;
    int localPort = 0;
    // Shutdown: the listener's task sees `stopping` within a poll and gives `taskEnded`;
    // `clients` counts the relayed clients whose tasks still run.
    std::atomic<int> stopping{0};
    std::atomic<int> running{0};
    std::atomic<int> clients{0};
    OsaSemaphore taskEnded{0};
};

Relay& relay() {
    static Relay r;
    return r;
}

// One relayed client. The read task owns it; the write task gives `done` when it ends. An SSL
// connection is not safe for two tasks at once, so every call on the chain holds `sslLock`,
// and nobody waits for the network while holding it (the socket is non-blocking). A message
// of the write task goes out whole before another (the end sequence) starts: `writeLock`.
struct RelayClient {
    int number = 0;
    OpenSslLibrary::Bio* chain = nullptr;
    SOCKET sslSocket = INVALID_SOCKET; // the chain's socket, for waiting
    UniqueSocket local;
    OsaSemaphore done{0};
    OsaSemaphore sslLock{1};
    OsaSemaphore writeLock{1};
    std::atomic<int> running{1};
    RelayClient() { ++relay().clients; }
    ~RelayClient() {
        if (chain)
            relay().ssl.freeAll(chain);
        --relay().clients;
    }
};

// Waits until the socket can be read (or written) or the time passes; false on error.
bool waitSocket(SOCKET s, bool forWrite, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    const int r = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &tv);
    return r >= 0;
}

// One call on the chain under the lock; a call that would block waits outside the lock and
// is repeated with the same arguments, as OpenSSL requires. A call that would have to wait
// fails once the relay stops or after timeoutMs (-1: no limit).
template <typename Op> int sslCall(RelayClient& c, Op op, int timeoutMs = -1) {
    const OpenSslLibrary& ssl = relay().ssl;
    for (int waited = 0;; waited += kSslPollMs) {
        int r, flags;
        {
            Hold hold(c.sslLock);
            r = op();
            flags = r > 0 ? 0 : ssl.testFlags(c.chain, kBioFlagsShouldRetry | kBioFlagsWrite);
        }
        if (r > 0 || !(flags & kBioFlagsShouldRetry))
            return r;
        if (relay().stopping || (timeoutMs >= 0 && waited >= timeoutMs))
            return -1;
        if (!waitSocket(c.sslSocket, (flags & kBioFlagsWrite) != 0, kSslPollMs))
            return -1;
    }
}

bool sslWriteAll(RelayClient& c, const unsigned char* data, int size) {
    const OpenSslLibrary& ssl = relay().ssl;
    Hold hold(c.writeLock);
    int sent = 0;
    while (sent < size) {
        const int r = sslCall(c, [&] { return ssl.write(c.chain, data + sent, size - sent); });
        if (r <= 0)
            return false;
        sent += r;
    }
    return true;
}

bool localWriteAll(SOCKET s, const unsigned char* data, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        const int piece = static_cast<int>(std::min<size_t>(size - sent, kLocalWritePiece));
        const int r = send(s, reinterpret_cast<const char*>(data) + sent, piece, 0);
        if (r <= 0)
            return false;
        sent += static_cast<size_t>(r);
    }
    return true;
}

// SSL client to server: the escapes removed. Ends on the end of the stream, the end marker,
// an unknown escape or a failed write to the server; then answers the end sequence, waits for
// the write task and closes both connections.
void clientReadTask(RelayClient* owned) {
    std::unique_ptr<RelayClient> c(owned);
    const OpenSslLibrary& ssl = relay().ssl;
    std::vector<unsigned char> buf(kSslReadSize);
    RelayUnescaper unescaper;
    for (;;) {
        const int n = sslCall(*c, [&] { return ssl.read(c->chain, buf.data(), kSslReadSize); });
        if (n <= 0)
            break;
        size_t plain = 0;
        const RelayUnescaper::Status st =
            unescaper.feed(buf.data(), static_cast<size_t>(n), buf.data(), &plain);
        if (!localWriteAll(c->local.get(), buf.data(), plain) || st != RelayUnescaper::kMore)
            break;
    }
    sslWriteAll(*c, kEndSequence, 16);
    c->running = 0;
    c->done.take();
}

// Server to SSL client: every 'X' doubled. Ends when the server closes, on an error, or when
// the read task clears the running flag.
void clientWriteTask(RelayClient* c) {
    std::vector<unsigned char> in(kLocalReadSize), out(2 * kLocalReadSize);
    const SOCKET s = c->local.get();
    while (c->running) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval tv{kWritePollMs / 1000, 0};
        const int ready = select(0, &set, nullptr, nullptr, &tv);
        if (ready < 0)
            break;
        if (ready == 0)
            continue;
        const int n = recv(s, reinterpret_cast<char*>(in.data()), kLocalReadSize, 0);
        if (n <= 0)
            break;
        const size_t m = relayEscape(in.data(), static_cast<size_t>(n), out.data());
        if (!sslWriteAll(*c, out.data(), static_cast<int>(m)))
            break;
    }
    c->done.give();
}

int clientEntry(intptr_t, intptr_t client, intptr_t reader, intptr_t, intptr_t, intptr_t, intptr_t,
                intptr_t, intptr_t, intptr_t) {
    RelayClient* c = reinterpret_cast<RelayClient*>(client);
    try {
        if (reader)
            clientReadTask(c);
        else
            clientWriteTask(c);
    } catch (...) {
        errorHook("kivo_ssl_client");
    }
    return 0;
}

} // namespace

// The local connection to the server's own port.
SOCKET kivoSslInitSocket(int port) {
    UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s.valid())
        return INVALID_SOCKET;
    const int one = 1, size = 65536;
    setsockopt(s.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
    setsockopt(s.get(), SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&one), sizeof one);
    setsockopt(s.get(), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
    setsockopt(s.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    setsockopt(s.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    int got = 0, len = sizeof got;
    getsockopt(s.get(), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&got), &len);
    getsockopt(s.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&got), &len);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    to.sin_addr.s_addr = inet_addr("127.0.0.1");
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (connect(s.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) == 0)
            return s.release();
        const int e = WSAGetLastError();
        if (e != WSAEINTR && e != WSAEWOULDBLOCK)
            break;
        Sleep(1000);
    }
    errorHook("kivo_ssl_init_socket: connect");
    return INVALID_SOCKET;
}

namespace {

// Starts a relayed client after its first byte "T"; anything else is closed.
void startClient(OpenSslLibrary::Bio* chain, int number) {
    const OpenSslLibrary& ssl = relay().ssl;
    auto c = std::make_unique<RelayClient>();
    c->number = number;
    c->chain = chain;
    int fd = -1;
    ssl.ctrl(chain, kBioGetFd, 0, &fd);
    c->sslSocket = static_cast<SOCKET>(fd);
    u_long nonBlocking = 1;
    ioctlsocket(c->sslSocket, FIONBIO, &nonBlocking);
    // A client that never finishes its handshake holds up the listener for a while only.
    unsigned char first = 0;
    if (sslCall(
            *c, [&] { return ssl.read(chain, &first, 1); }, kHandshakeTimeoutMs) != 1 ||
        first != 'T')
        return;
    c->local.reset(kivoSslInitSocket(relay().localPort));
    if (!c->local.valid())
        return;
    RelayClient* raw = c.get();
    if (spawnServerTask("kivo_ssl_client", 32768, clientEntry, number,
                        reinterpret_cast<intptr_t>(raw), 0) < 0)
        return;
    // From here on the write task uses the record: the read task frees it after waiting.
    c.release();
    if (spawnServerTask("kivo_ssl_client", 32768, clientEntry, number,
                        reinterpret_cast<intptr_t>(raw), 1) < 0) {
        raw->running = 0;
        raw->done.take();
        delete raw;
    }
}

int relayTask(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
              intptr_t, intptr_t) {
    Relay& r = relay();
    try {
        int fd = -1;
        r.ssl.ctrl(r.accept, kBioGetFd, 0, &fd);
        for (int number = 0; !r.stopping;) {
            if (r.ssl.ctrl(r.accept, kBioDoStateMachine, 0, nullptr) <= 0) {
                // The listener does not block: nobody waiting is a retry, anything else ends it.
                if (!(r.ssl.testFlags(r.accept, kBioFlagsShouldRetry) & kBioFlagsShouldRetry)) {
                    r.ssl.printErrors();
                    break;
                }
                waitSocket(static_cast<SOCKET>(fd), false, kAcceptPollMs);
                continue;
            }
            if (OpenSslLibrary::Bio* chain = r.ssl.pop(r.accept))
                startClient(chain, number++);
        }
    } catch (...) {
        errorHook("kivo_ssl");
    }
    r.taskEnded.give();
    return 0;
}

} // namespace

int sslRelayStart(int sslPort, int localPort) {
    Relay& r = relay();
    OpenSslLibrary& ssl = r.ssl;
    if (!ssl.load()) {
        std::fprintf(stderr, "kivo_server: no SSL relay: %s\n", ssl.error());
        return -2;
    }
    r.localPort = localPort;
    ssl.loadErrorStrings();
    ssl.libraryInit();
    int failure = 0;
    r.ctx = ssl.ctxNew(ssl.serverMethod());
    if (!r.ctx || ssl.useCertificateFile(r.ctx, "server.pem") <= 0)
        failure = 1;
    else if (ssl.usePrivateKeyFile(r.ctx, "server.pem") <= 0)
        failure = 2;
    else if (!ssl.checkPrivateKey(r.ctx))
        failure = 3;
    OpenSslLibrary::Bio* sslBio = nullptr;
    if (!failure && !(sslBio = ssl.newSsl(r.ctx, 0)))
        failure = 4;
    char hostPort[32];
    std::snprintf(hostPort, sizeof hostPort, "*:%d", sslPort);
    if (!failure && !(r.accept = ssl.newAccept(hostPort)))
        failure = 5;
    if (failure) {
        ssl.printErrors();
        if (sslBio)
            ssl.freeAll(sslBio);
        if (r.ctx)
            ssl.ctxFree(r.ctx);
        r.ctx = nullptr;
        return failure;
    }
    int family = kBioFamilyIpv4; // clients and the local leg speak IPv4
    ssl.ctrl(r.accept, kBioSetAccept, kAcceptSetFamily, &family);
    // A listener that does not block, so that its task sees the shutdown.
    ssl.ctrl(r.accept, kBioSetAccept, kAcceptSetNonBlocking, const_cast<char*>("a"));
    ssl.ctrl(r.accept, kBioSetBindMode, kBindReuseAddress, nullptr); // as the server's own port
    ssl.ctrl(r.accept, kBioSetAccept, kAcceptSetBios, sslBio);
    // The first state-machine step binds and listens, so the port is ready when start-up ends.
    if (ssl.ctrl(r.accept, kBioDoStateMachine, 0, nullptr) <= 0) {
        ssl.printErrors();
        ssl.freeAll(r.accept);
        r.accept = nullptr;
        return 5;
    }
    if (spawnServerTask("kivo_ssl", 32768, relayTask) < 0)
        return 6;
    r.running = 1;
    return 0;
}

void sslRelayStop() {
    Relay& r = relay();
    if (!r.running.exchange(0))
        return;
    r.stopping = 1;
    r.taskEnded.take();
    r.ssl.freeAll(r.accept); // closes the listening socket
    r.accept = nullptr;
    // Their connections to the server are gone by now; each pair ends within a poll.
    for (int waited = 0; r.clients > 0 && waited < kStopWaitMs; waited += 10)
        Sleep(10);
}

} // namespace kivo
