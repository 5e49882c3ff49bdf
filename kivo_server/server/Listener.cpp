// The server task's loop: it owns the listening socket and every client, reads what clients
// send, hands calls to workers and removes dead clients.
#include "ServerInternal.h"

#include <cstring>
#include <memory>

namespace kivo {

namespace {

bool allowedPeer(const std::string& peer) {
    Server& s = server();
    if (s.settings.allowExternal || peer == "127.0.0.1")
        return true;
    Hold hold(s.global);
    for (const std::string& a : s.settings.allowed)
        if (a == peer)
            return true;
    return false;
}

void acceptClients() {
    Server& s = server();
    // Accept what is waiting; a full select set or the client limit turns the rest away.
    for (int accepted = 0; accepted < 64; ++accepted) {
        sockaddr_in peer{};
        int len = sizeof peer;
        UniqueSocket sock;
        for (int attempt = 0; attempt < 128 && !sock.valid(); ++attempt) {
            sock.reset(accept(s.listenSocket.get(), reinterpret_cast<sockaddr*>(&peer), &len));
            if (!sock.valid() && WSAGetLastError() == WSAEWOULDBLOCK)
                return;
        }
        if (!sock.valid()) {
            errorHook("accept");
            return;
        }
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        const int limit = s.settings.clientLimit;
        if (s.shuttingDown || !allowedPeer(text) || (limit >= 0 && s.clientCount >= limit) ||
            s.clientCount >= kMaxSelectSockets - 2)
            continue; // a rejected socket is closed
        // Neither a read nor a write of the loop or a worker may wait for one client.
        u_long nonBlocking = 1;
        ioctlsocket(sock.get(), FIONBIO, &nonBlocking);
        const int one = 1;
        setsockopt(sock.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one),
                   sizeof one);
        kivo_client* c = new (std::nothrow) kivo_client;
        if (!c) {
            errorHook("malloc");
            continue;
        }
        try {
            c->buffer.resize(kInitialBuffer + 64);
            c->peer = text;
        } catch (const std::bad_alloc&) {
            errorHook("malloc");
            delete c;
            continue;
        }
        c->sock.reset(sock.release());
        c->uid = s.nextUid++;
        markKeepalive(c);
        Hold hold(s.global);
        c->next = s.clients;
        if (s.clients)
            s.clients->prev = c;
        s.clients = c;
        ++s.clientCount;
    }
}

void connectionDropped(kivo_client* c) {
    Server& s = server();
    registryClientDropped(c);
    {
        Hold hold(s.global);
        if (c->prev)
            c->prev->next = c->next;
        else
            s.clients = c->next;
        if (c->next)
            c->next->prev = c->prev;
        --s.clientCount;
    }
    delete c; // closes the socket or pipe and frees the keystreams
}

bool wantsRead(const kivo_client* c) {
    if (c->dead || c->dedicated)
        return false;
    if (c->handshake == kHandshakeAwaitingKey)
        return c->workerCount == 0;
    if (c->handshake != kHandshakeDone || c->version <= 0)
        return false;
    if (c->version < 4 && c->busy)
        return false; // older clients are not read while a call runs
    return mayRead(c);
}

// Replies the client has not taken yet; a dedicated client's own worker sends them.
bool wantsWrite(const kivo_client* c) {
    return !c->dead && !c->dedicated && c->transport == kSocket && c->sock.valid() &&
           c->out.pending() > 0;
}

void serviceClient(kivo_client* c, bool readable) {
    const Settings& st = server().settings;
    if (c->version < 0)
        c->dead = 1;
    if (!c->dead && outputStalled(c))
        c->dead = 1; // it takes none of its replies
    if (c->dead) {
        cancelRunningCall(c);
        return;
    }
    if (c->handshake == kHandshakeAwaitingKey && c->workerCount == 0) {
        if (readable)
            handshakeReadKey(c);
        else if (nowSeconds() - c->keyStamp >= st.keepaliveSeconds)
            c->dead = 1; // a key that never ends
        return;
    }
    if (c->handshake != kHandshakeDone || c->version <= 0)
        return;
    if (readable && (c->version > 3 || c->busy == 0)) {
        const size_t room = makeReadRoom(c);
        const int n =
            room > 0 ? readClient(c, c->buffer.data() + c->held, static_cast<int>(room), -1) : 0;
        if (n < 0) {
            c->dead = 1;
            cancelRunningCall(c);
            return;
        }
        if (n > 0) {
            c->held += static_cast<size_t>(n);
            markKeepalive(c);
            if (c->busy == 1)
                checkPossibleCancel(c, static_cast<size_t>(n));
        }
    }
    if (c->held > 0 && readyForNextCall(c))
        parseCalls(c, nullptr);
    // Clients before version 3 send no keepalive: they are kept however long they are idle.
    if (c->version >= 3 && c->busy == 0 && c->workerCount == 0 && !st.noKeepalive &&
        nowSeconds() - c->keepaliveStamp >= st.keepaliveSeconds) {
        c->keepaliveStamp = nowSeconds();
        if (++c->keepaliveCount > 1)
            c->dead = 1;
    }
}

void reorder() {
    Server& s = server();
    if (!s.reorderWanted.exchange(0) || !s.clients)
        return;
    Hold hold(s.global);
    kivo_client* c = s.clients->next;
    while (c) {
        kivo_client* next = c->next;
        if (c->busy == 0 && c->deferredCount >= s.clients->deferredCount) {
            c->prev->next = c->next;
            if (c->next)
                c->next->prev = c->prev;
            c->prev = nullptr;
            c->next = s.clients;
            s.clients->prev = c;
            s.clients = c;
        }
        c = next;
    }
}

void openNotifySocket() {
    Server& s = server();
    UniqueSocket n(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof a;
    if (!n.valid() || bind(n.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(n.get(), reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        errorHook("notify socket");
        return;
    }
    u_long nonBlocking = 1;
    ioctlsocket(n.get(), FIONBIO, &nonBlocking);
    Hold hold(s.notifySem);
    s.notifySocket.reset(n.release());
    s.notifyAddress = a;
}

void drainNotifySocket() {
    Server& s = server();
    char b[64];
    while (recv(s.notifySocket.get(), b, sizeof b, 0) > 0) {
    }
}

} // namespace

int findBindablePort(int port) {
    Server& s = server();
    for (int attempt = 0; attempt < 1024; ++attempt) {
        UniqueSocket sock(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (!sock.valid()) {
            errorHook("socket");
            return -1;
        }
        setListenSocketOptions(sock.get());
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        a.sin_port = htons(static_cast<u_short>(port));
        if (bind(sock.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            s.listenSocket.reset(sock.release());
            s.boundPort = port;
            return port;
        }
        errorHook("bind");
        sock.reset();
        if (attempt < 8)
            S_TaskDelay(100);
        else
            ++port;
    }
    return -1;
}

void serverLoop() {
    Server& s = server();
    s.allServicesLoaded.take();
    s.allServicesLoaded.give(); // stays available for everyone else who waits on it
    if (listen(s.listenSocket.get(), 512) != 0)
        errorHook("listen");
    u_long nonBlocking = 1;
    ioctlsocket(s.listenSocket.get(), FIONBIO, &nonBlocking);
    openNotifySocket();
    s.loopThread = GetCurrentThreadId();
    std::unique_ptr<fd_set> readSet(new fd_set), writeSet(new fd_set);
    std::vector<kivo_client*> selected;
    for (;;) {
        if (s.shuttingDown && !s.clients)
            break;
        FD_ZERO(readSet.get());
        if (!s.shuttingDown)
            FD_SET(s.listenSocket.get(), readSet.get());
        if (s.notifySocket.valid())
            FD_SET(s.notifySocket.get(), readSet.get());
        FD_ZERO(writeSet.get());
        int inSet = 2, inWriteSet = 0;
        for (kivo_client* c = s.clients; c; c = c->next) {
            if (inSet < kMaxSelectSockets && wantsRead(c)) {
                FD_SET(c->sock.get(), readSet.get());
                ++inSet;
            }
            if (inWriteSet < kMaxSelectSockets && wantsWrite(c)) {
                FD_SET(c->sock.get(), writeSet.get());
                ++inWriteSet;
            }
        }
        timeval tv{1, 0};
        const int n = select(0, readSet.get(), inWriteSet ? writeSet.get() : nullptr, nullptr, &tv);
        if (n < 0) {
            const int e = WSAGetLastError();
            if (e != WSAEINTR) {
                // Find the clients whose sockets went bad.
                for (kivo_client* c = s.clients; c; c = c->next) {
                    if (c->dedicated || !c->sock.valid())
                        continue;
                    fd_set one;
                    FD_ZERO(&one);
                    FD_SET(c->sock.get(), &one);
                    timeval zero{0, 0};
                    if (select(0, &one, nullptr, nullptr, &zero) < 0)
                        c->dead = 1;
                }
            }
            FD_ZERO(readSet.get());
            FD_ZERO(writeSet.get());
        }
        if (s.notifySocket.valid() && FD_ISSET(s.notifySocket.get(), readSet.get()))
            drainNotifySocket();
        for (kivo_client* c = s.clients; inWriteSet && c; c = c->next)
            if (wantsWrite(c) && FD_ISSET(c->sock.get(), writeSet.get()))
                flushOutput(c);
        for (kivo_client* c = s.clients; c;) {
            kivo_client* next = c->next;
            if (!c->dedicated || c->dead) {
                const bool readable =
                    !c->dedicated && c->sock.valid() && FD_ISSET(c->sock.get(), readSet.get());
                serviceClient(c, readable);
            }
            if (c->dead && c->busy != 1 && c->workerCount == 0)
                connectionDropped(c);
            else if (c->dead && c->deadWait < 1023)
                ++c->deadWait;
            c = next;
        }
        reorder();
        if (!s.shuttingDown && FD_ISSET(s.listenSocket.get(), readSet.get()))
            acceptClients();
        for (kivo_client* c = s.clients; c; c = c->next) {
            if (c->handshake != kHandshakeNone || c->workerCount != 0 || c->dead)
                continue;
            kivo_worker* w = claimWorker(false);
            if (!w)
                break; // tried again on the next pass
            c->handshake = kHandshakeSending;
            handOff(w, c, kivo_worker::kHandshake, nullptr, nullptr, 0, 0, false);
            w->start.give();
        }
    }
    s.listenSocket.reset();
    {
        Hold hold(s.notifySem);
        s.notifySocket.reset();
    }
    s.loopExit.give();
}

} // namespace kivo
