#pragma once
// The client side of the SSL relay, for tests and benchmarks under Wine: an SSL connection
// made with the OpenSSL DLLs loaded by name (SslRelayClient), and a bridge that lets a plain
// protocol client talk through the relay (RelayBridge): bytes to the relay get their 'X'
// doubled, bytes from it are unescaped.
#include "KivoClient.h"

#include <atomic>
#include <string>
#include <thread>

namespace kivotest {

// True when the OpenSSL DLLs can be loaded (by name, from the DLL search path).
bool sslAvailable();

class SslRelayClient {
public:
    SslRelayClient() = default;
    ~SslRelayClient();
    SslRelayClient(const SslRelayClient&) = delete;
    SslRelayClient& operator=(const SslRelayClient&) = delete;

    // TCP connect and SSL handshake; false with the reason in error().
    bool connectTo(int port, int timeoutMs = 10000);
    bool send(const std::string& bytes);
    // Some bytes (up to max); "" on time-out, end of stream or error (see ended()).
    std::string receive(size_t max, int timeoutMs);
    // Everything until the relay closes the connection, or the time runs out.
    std::string receiveAll(int timeoutMs);
    bool ended() const { return ended_; }
    void close();
    const std::string& error() const { return error_; }
    intptr_t socketHandle() const { return sock_; }

private:
    void* ctx_ = nullptr;
    void* ssl_ = nullptr;
    intptr_t sock_ = -1;
    bool ended_ = false;
    std::string error_;
};

class RelayBridge {
public:
    // endWithMarker: when the plain client closes, send the end marker; else just close.
    explicit RelayBridge(bool endWithMarker = true) : endWithMarker_(endWithMarker) {}
    ~RelayBridge();
    RelayBridge(const RelayBridge&) = delete;
    RelayBridge& operator=(const RelayBridge&) = delete;

    // Connects to the relay and sends the start byte; returns the loopback port on which the
    // plain client connects, or -1.
    int start(int relayPort);
    // The relay sent its end marker (and the stream then ended).
    bool sawEndMarker() const { return sawEnd_; }
    // The relay sent an 'X' followed by anything but 'X' or '0'.
    bool sawBadEscape() const { return sawBad_; }
    // Plain bytes that came from the relay.
    size_t bytesFromRelay() const { return fromRelay_; }

private:
    void run(intptr_t listener);

    bool endWithMarker_;
    SslRelayClient ssl_;
    std::thread thread_;
    std::atomic<bool> stop_{false}, finished_{false};
    std::atomic<bool> sawEnd_{false}, sawBad_{false};
    std::atomic<size_t> fromRelay_{0};
};

} // namespace kivotest
