#pragma once
// Records and shared state of the server: settings, semaphores, the client list, the worker
// pool and the registry. Every translation unit of the DLL includes this header first, so
// that the select set holds as many sockets as the loop serves.
#ifndef FD_SETSIZE
#define FD_SETSIZE 8192
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "kivo_server.h"
#include "Handles.h"
#include "OsaSemaphore.h"
#include "kivo_hash.h"
#include "kivo_osa.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace kivo {

constexpr int kMaxSelectSockets = FD_SETSIZE;
constexpr int kDefaultKeepaliveSeconds = 64;
constexpr int kHandshakeKeyBytes = 2048;
constexpr int kMaxInputLength = 16 * 1024 * 1024;
constexpr int kMaxHeaderBytes = 4096;
constexpr int kMaxNameOffset = 512;
constexpr int kInitialBuffer = 512;
// What a client's buffer may hold while no header is read: room for junk, a marker and a header.
constexpr size_t kScanBuffer = 2 * kMaxHeaderBytes;
// Replies waiting for a client beyond this: its further calls wait until it reads them.
constexpr size_t kOutputHighWater = 256 * 1024;
constexpr int kMaxDeferred = 1048576;
constexpr int32_t kInitialScramble = 0x5B3E8D21;
constexpr int kProtocolMax = 16;
extern const char kCallMarker[]; // "[kivo_call_v2]/"
constexpr int kCallMarkerLength = 15;

enum Transport { kSocket = 0, kPipe = 2 };

struct FunctionRecord;

struct ServiceRecord {
    std::string name;
    int major = 0, minor = 0;
    kivo_logout_fn logout = nullptr;
    std::vector<FunctionRecord*> functions; // owned
    ServiceRecord* next = nullptr;
};

struct FunctionRecord {
    std::string name;
    std::string fingerprint;
    kivo_service_fn function = nullptr;
    int threadSafe = 1;
    std::atomic<int> inUse{0};
    ServiceRecord* service = nullptr;
};

// The header keystream of protocol versions 10 and above, with a look-ahead so that a marker
// can be recognised before its keystream bytes are taken.
class HeaderCipher {
public:
    ~HeaderCipher() { reset(nullptr); }
    void reset(fish_state* fs);
    bool active() const { return fs_ != nullptr; }
    unsigned char next();
    unsigned char peek(size_t i);

private:
    fish_state* fs_ = nullptr;
    std::deque<unsigned char> ahead_;
};

// Parse state of the call at the front of a client's buffer.
struct ParseState {
    size_t scan = 0;      // bytes examined
    size_t decrypted = 0; // bytes taken through the header keystream
    bool matched = false; // marker found at markerAt
    size_t markerAt = 0;
    int slashes = 0;
    bool parsed = false; // header complete and read
    size_t headerEnd = 0;
    int major = 0, minor = 0, noReturn = 0, inputLength = 0;
    int64_t counter = 0;
    std::string name, fingerprint;
};

// A pipe read that stays pending across time-outs, and the bytes it brought.
struct PipeRead {
    OVERLAPPED ov{};
    bool pending = false;
    std::vector<char> data;
    DWORD got = 0;
    DWORD used = 0;
};

enum HandshakeState { kHandshakeNone, kHandshakeSending, kHandshakeAwaitingKey, kHandshakeDone };

// Bytes on their way to a client, in the order they were written. Writers append and never
// wait for the network; one flusher at a time sends what the connection takes.
class OutputQueue {
public:
    bool append(const char* data, size_t n); // false when memory runs out
    size_t pending() const { return pending_; }
    // Milliseconds since the queue last moved, 0 while it is empty.
    int64_t stalledMs() const;
    // Sends through `send` (bytes, count -> sent, 0 when the connection takes nothing now, -1
    // on failure) until the queue is empty or the connection takes no more. -1 on failure, 0
    // when bytes are left, 1 when empty. Another thread's flush in progress counts as 0.
    template <typename Send> int flush(Send&& send);

private:
    bool front(const char** data, size_t* n);
    void taken(size_t n);

    OsaSemaphore lock_{1};
    std::deque<std::vector<char>> chunks_; // a chunk's bytes stay put while others are added
    size_t offset_ = 0;                    // bytes of the front chunk already sent
    std::atomic<size_t> pending_{0};
    std::atomic<int64_t> movedMs_{0};
    std::atomic<int> flushing_{0};
};

template <typename Send> int OutputQueue::flush(Send&& send) {
    for (;;) {
        if (flushing_.exchange(1))
            return 0;
        int result = 1;
        const char* data;
        size_t n;
        while (front(&data, &n)) {
            const int sent = send(data, n);
            if (sent <= 0) {
                result = sent < 0 ? -1 : 0;
                break;
            }
            taken(static_cast<size_t>(sent));
        }
        flushing_ = 0;
        // Bytes appended while this flush ended are sent here: their writer saw it running.
        if (result != 1 || pending_ == 0)
            return result;
    }
}

} // namespace kivo

struct kivo_client {
    kivo_client* prev = nullptr;
    kivo_client* next = nullptr;
    int32_t inScramble = kivo::kInitialScramble;
    int32_t outScramble = kivo::kInitialScramble;
    std::atomic<int> version{0};
    kivo::UniqueSocket sock; // closed once the client moves to its pipe
    int uid = 0;
    std::atomic<int> busy{0}; // 0 idle, 1 call running, 2 reply being sent or no-return call
    // A canceled call whose service still runs on the keystreams: the next call waits.
    std::atomic<int> canceledCallRunning{0};
    std::atomic<int> workerCount{0};
    std::atomic<int> dead{0};
    std::atomic<int> dedicated{0};
    std::atomic<int> handshake{kivo::kHandshakeNone};
    std::string peer;
    std::string applicationName, authenticatedUser, applicationKey;
    int utf8Version = 0;
    std::vector<char> buffer;
    size_t held = 0;
    int deferredCount = 0;
    int deadWait = 0;
    // The furthest input-stream position the client's payloads can have reached: a call's
    // counter beyond it names bytes the client never sent.
    int64_t payloadReach = 0;
    std::vector<intptr_t> secureHandles;
    std::vector<kivo::ServiceRecord*> secureOwners;
    // The dedicated worker, or the one serving the current call.
    std::atomic<kivo_worker*> worker{nullptr};
    uint32_t sessionKey = 0;
    int64_t keepaliveStamp = 0; // seconds
    int keepaliveCount = 0;
    fish_state* inStream = nullptr;
    fish_state* outStream = nullptr;
    kivo::HeaderCipher headerCipher;
    int encrypt = 1;
    int encryptionEnabled = 1;
    std::atomic<int> usePipe{0};
    std::string pipeName;
    kivo::UniqueHandle pipe;
    kivo::UniqueHandle pipeReadEvent;
    kivo::UniqueHandle pipeWriteEvent;
    kivo::PipeRead pipeRead;
    std::atomic<int> transport{kivo::kSocket};
    kivo::ParseState parse;
    // handshake
    std::string dhModulus, dhSecret, keyText;
    int64_t keyStamp = 0;
    kivo::OsaSemaphore writeLock{1}; // one writer at a time, and the keystreams it advances
    kivo::OutputQueue out;           // under writeLock for appends

    ~kivo_client();
};

struct kivo_worker {
    int index = 0;
    bool dedicated = false;
    kivo::OsaSemaphore start{0}, free{1}, lock{1};
    // Call state, under lock.
    kivo_client* client = nullptr;
    kivo::FunctionRecord* function = nullptr;
    char* input = nullptr;
    int inputLength = 0;
    int64_t counter = 0;
    int64_t counterReach = 0; // the client's payloadReach when the call was handed over
    bool canceled = false;
    bool noReturn = false;
    bool running = false;
    // Set by the dispatcher for the next unit.
    enum Unit { kNone, kHandshake, kCall, kDedicatedStart } unit = kNone;
    kivo_worker* next = nullptr;
};

namespace kivo {

struct Settings {
    int port = -1;
    int workers = 12;
    int dedicatedWorkers = 4;
    int clientLimit = -1;
    int fake = 0;
    int ssl = -1;
    std::atomic<int> allowExternal{1};
    std::vector<std::string> allowed;
    kivo_register_fn callback = nullptr;
    std::string servicesFile;
    std::string name;
    std::string root;
    std::atomic<int> debug{0};
    int processId = 0;
    int keepaliveSeconds = kDefaultKeepaliveSeconds;
    bool noKeepalive = false;
};

struct LoginRecord {
    int uid;
    const char* loginName;
    const char* logoutName;
    int handle;
    int extra;
    LoginRecord* next;
};

struct LogoutEntry {
    std::string name;
    int handle;
    int extra;
};

struct ShutdownHook {
    std::string description;
    kivo_shutdown_hook_fn function;
    void* argument;
    int pass;
};

struct FingerprintEntry {
    std::string name, fingerprint;
};

struct Server {
    Settings settings;
    std::atomic<int> initialized{0};
    std::atomic<int> running{0};
    std::atomic<int> shuttingDown{0};
    std::atomic<int> shutdownDone{0};
    int64_t startTime = 0;
    int boundPort = -1;
    int startResult = 0;

    OsaSemaphore initSem{1}, startupSem{1};
    OsaSemaphore global{1}, aux{1}, hooksSem{1}, notifySem{1}, fingerprintSem{1};
    OsaSemaphore logoutQueueSem{1}, logoutSignal{0}, loopExit{0}, aloDone{0};
    OsaSemaphore allServicesLoaded{0}, ipcLoaded{0};
    std::atomic<int> allServicesReady{0};

    UniqueSocket listenSocket;
    UniqueSocket notifySocket; // wakes the loop; under notifySem
    sockaddr_in notifyAddress{};
    std::atomic<DWORD> loopThread{0};

    // Client list (changed by the loop only, under global).
    kivo_client* clients = nullptr;
    int clientCount = 0;
    std::atomic<int> nextUid{0};
    std::atomic<int> reorderWanted{0};
    std::atomic<int> wakeWanted{0}; // a call waits for a free worker or function
    int64_t lastDeferredCount = 0;

    std::vector<kivo_worker*> workers;
    std::atomic<int> dedicatedInUse{0};

    // Registry (under global).
    ServiceRecord* services = nullptr;
    hash_table* functionHash = nullptr;
    LoginRecord* logins = nullptr;
    // Fingerprints (under fingerprintSem).
    std::vector<FingerprintEntry> fingerprints;
    bool fingerprintsChanged = true;
    std::string fingerprintText;
    // Auto-logout queue (under logoutQueueSem).
    std::deque<LogoutEntry> logoutQueue;
    // Hooks (under hooksSem).
    std::vector<ShutdownHook> hooks; // newest last
    std::string loadingService;
    std::atomic<int> pipeCounter{0};
};

Server& server();

// Error hook: failed system calls are named here and otherwise ignored.
void errorHook(const char* what);
int64_t nowSeconds();
int64_t nowMicros();

// Transport (reliable writes, replies, reads).
// Writes are queued on the client and sent without waiting for the network; a caller that
// holds a lock passes kFlushLater and calls flushOutput once it has let go.
enum FlushMode { kFlushNow, kFlushLater };
int sureWrite(kivo_client* c, const char* data, int size, int text, fish_state* stream, SOCKET fd,
              FlushMode mode = kFlushNow);
int kivoReply(kivo_client* c, int length, const char* data, FlushMode mode = kFlushNow);
int kivoWriteString(kivo_client* c, const char* text, FlushMode mode = kFlushNow);
// Sends what the client's queue holds as far as the connection takes it now (a pipe within a
// bounded wait). A failed connection marks the client dead. true when the queue is empty.
bool flushOutput(kivo_client* c);
// Flushes until the queue is empty, waiting for the socket; false when it did not empty in
// timeoutMs or the connection failed.
bool drainOutput(kivo_client* c, int timeoutMs);
// True when the client's replies have not moved for a keepalive period.
bool outputStalled(const kivo_client* c);
void setListenSocketOptions(SOCKET s);
// Reads into buf; the bytes are deciphered by the client's transport. Returns the count read,
// 0 when nothing arrived within timeoutMs (-1: wait for ever), -1 on end of file or error.
int readClient(kivo_client* c, char* buf, int count, int timeoutMs);
void transportDecrypt(kivo_client* c, char* buf, int count);
void closePipe(kivo_client* c);
void wakeLoop();

// Registry internals.
void registryClientDropped(kivo_client* c);
void setConnectionAttribute(kivo_client* c, const char* call, const char* text, int length);
std::string fingerprintReply();
void freeServiceInfo();
FunctionRecord* lookupFunction(const char* name); // caller holds global
void autoLogoutTask();

// Protocol.
int expectedSlashes(int version);
void handshakeSend(kivo_client* c);
// Reads key bytes that arrived; true when the client's state changed.
void handshakeReadKey(kivo_client* c);
// Parses and dispatches buffered calls of an idle client. dedicatedWorker: the worker reading
// a dedicated client itself (null for the loop).
void parseCalls(kivo_client* c, kivo_worker* dedicatedWorker);
bool checkPossibleCancel(kivo_client* c, size_t fresh);
void cancelRunningCall(kivo_client* c);
void setClientVersion(kivo_client* c, int version, bool clearEncryption);
// Makes room in the client's buffer for the next read, up to what it may hold now: the call
// at its front once the header is read (its input allocated as it arrives), else room to find
// a marker and a header. The room; 0 when there is none (a whole call waits to be handled).
size_t makeReadRoom(kivo_client* c);
bool mayRead(const kivo_client* c); // whether makeReadRoom would find room
// Whether the client's next call may be handed on: idle, no canceled call still running on
// the keystreams, and its replies being taken.
bool readyForNextCall(const kivo_client* c);

// Dispatch.
enum DispatchResult {
    kDeferred = 0,
    kHandedOff = 1,
    kHandedOffDedicated = 2,
};
// What the parser does after answering a built-in call.
struct DispatchExtra {
    bool newlyBound = false;
    int newVersion = -1;
    bool clearEncryption = false;
};
int kivoDispatch(kivo_client* c, const ParseState& p, const char* input, int length,
                 kivo_worker* dedicatedWorker, DispatchExtra& extra);

// Workers and the loop.
int workerTask(kivo_worker* w);
bool handOff(kivo_worker* w, kivo_client* c, kivo_worker::Unit unit, FunctionRecord* f,
             const char* input, int length, int64_t counter, bool noReturn);
kivo_worker* claimWorker(bool dedicated);
void runDedicatedSession(kivo_worker* w);
void runCall(kivo_worker* w);
void serverLoop();
int findBindablePort(int port);
void markKeepalive(kivo_client* c);
bool clientListed(kivo_client* c); // caller holds global

// Lifecycle.
int serverStartTask(int processId);
void autoloaderTask(int kind, int processId);

// Discovery and the SSL relay.
void discoveryTask();
// Tasks of the server, each ended by the time shutdown returns: spawned here, and awaited
// (each up to timeoutMs; the caller's own task is not) once they were told to end.
int spawnServerTask(const char* name, int stack, osa_task_entry entry, intptr_t a1 = 0,
                    intptr_t a2 = 0, intptr_t a3 = 0);
void awaitServerTasks(int timeoutMs);
// 0 when the relay listens on sslPort; -2 without OpenSSL, 1 to 6 for the other failures.
int sslRelayStart(int sslPort, int localPort);
// Stops the relay's listener and its clients; returns once their tasks have ended.
void sslRelayStop();
SOCKET kivoSslInitSocket(int port);

} // namespace kivo
