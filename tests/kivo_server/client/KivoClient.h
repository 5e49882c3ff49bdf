#pragma once
// A client of the RPC protocol, written for the tests from the protocol's description: the
// key agreement, the transforms of every protocol version, call framing, replies, progress
// messages and cancellation. Builds for Windows (Winsock, named pipes) and natively for
// POSIX sockets.
#include "fish.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kivotest {

using Bytes = std::vector<unsigned char>;

struct Message {
    enum Kind { kNone, kReply, kProgress, kProgress2 } kind = kNone;
    int code = 0;  // the reply's result
    Bytes payload; // the reply payload, or the progress text
};

struct CallOptions {
    int major = 1, minor = 0, noReturn = 0;
    std::string fingerprint = "match";
    int64_t counter = -1; // -1: the position of the payload in the client's stream
};

bool networkStart();

class KivoClient {
public:
    KivoClient() = default;
    ~KivoClient();
    KivoClient(const KivoClient&) = delete;
    KivoClient& operator=(const KivoClient&) = delete;

    bool connectTo(int port, int timeoutMs = 10000);
    // The key agreement; false when the server's lines do not come or do not parse.
    bool handshake();
    // Back to the state of a fresh connection, for a new key agreement on it.
    void restartAgreement();
    bool fakeAgreement() const { return fake_; }
    uint32_t sessionKey() const { return key_; }

    // Sets the protocol version through the server's built-in call; true when the reply and,
    // from version 6 on, the marker "sock: " came as they should.
    bool setVersion(int version, bool unencrypted = false);
    int version() const { return version_; }
    // The encrypt switch handed to service functions (the client follows the server's rule).
    int encrypt() const { return encrypt_; }
    void setEncrypt(int e) { encrypt_ = e; }

    // Stream the payload writer and reader use (client to server, server to client).
    fish_state* payloadOut() const { return out_; }
    fish_state* payloadIn() const { return in_; }
    int64_t payloadPosition() const;

    bool sendCall(const std::string& name, const Bytes& payload, const CallOptions& o = {});
    // The bytes of a call as they go on the wire (the transport's transform applied).
    Bytes frameCall(const std::string& name, const Bytes& payload, const CallOptions& o = {});
    // The next message; kNone on time-out or a broken connection.
    Message readMessage(int timeoutMs = 10000);
    // Reads messages until a reply; progress messages are kept in progress.
    Message call(const std::string& name, const Bytes& payload, const CallOptions& o = {},
                 std::vector<Message>* progress = nullptr, int timeoutMs = 10000);

    // Bytes through the transport of the current version (keepalive spaces, cancels, junk).
    bool sendTransformed(const Bytes& bytes);
    bool sendRaw(const Bytes& bytes);
    // Sends raw bytes for as long as the connection takes them: returns the count sent when
    // all went or when nothing more went for stallMs (the bytes after it are not sent).
    size_t sendUntilStalled(const Bytes& bytes, int stallMs);
    // Exactly n bytes through the transport; false on time-out or end of file.
    bool readTransformed(unsigned char* out, size_t n, int timeoutMs);
    // True when the server closed the connection within the time.
    bool closedByServer(int timeoutMs);
    // The same without taking what the server sent (which would let a stalled connection
    // move): true once the server reset the connection within the time. Bytes sent to find
    // out leave the connection unusable.
    bool resetByServer(int timeoutMs);
    void close();

#ifdef _WIN32
    // Moves the connection to the named pipe the server gave.
    bool openPipe(const std::string& name);
    bool onPipe() const {
        return pipe_ != nullptr;
    }
#endif

private:
    int readRawSome(unsigned char* out, size_t n, int timeoutMs);
    void transformOut(Bytes& b, bool header);
    void transformIn(unsigned char* b, size_t n);

    intptr_t sock_ = -1;
    int rcvTimeout_ = 0;
#ifdef _WIN32
    void* pipe_ = nullptr;
#endif
    int version_ = 0;
    bool fake_ = false;
    uint32_t key_ = 0;
    int32_t outScramble_ = 0x5B3E8D21, inScramble_ = 0x5B3E8D21;
    fish_state* out_ = nullptr;
    fish_state* in_ = nullptr;
    fish_state* header_ = nullptr;
    int encrypt_ = 1;
    bool encryptionEnabled_ = true;
    Bytes pending_; // bytes read but not yet used
};

} // namespace kivotest
