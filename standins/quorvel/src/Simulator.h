#pragma once
// The one simulated Orvex server behind all four libraries: connections, sessions and tickets
// handed to clients, the per-server state, the call log, injected failures and the library's
// callback thread. Lives in quorvel10; the other libraries reach it through SimBridge.h.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "CallbackThread.h"
#include "SimFixtures.h"
#include "SimJobs.h"
#include "quorvel_api.h"

namespace orvexsim {

enum class SessionKind { Scan, Locl, Attr, Book, Ldap };
enum class TicketKind { Event, Alert, Monitor };

struct Connection {
    std::string server; // fixture folder, lower case
    std::string address;
    std::string user;
    int timeout = 0;
    bool usePipe = false;
};

struct Session {
    SessionKind kind = SessionKind::Scan;
    int connection = 0;
    std::string language;
    std::string encoding;
    unsigned int codePage = 0;
    // Texts handed to the client; they stay in place until the session closes.
    std::deque<std::string> issued;
};

struct Ticket {
    TicketKind kind = TicketKind::Event;
    int connection = 0;
    QuorvelCallback callback = nullptr;
    bool cancelled = false;
    int inFlight = 0; // callbacks queued or running
};

// What the simulation keeps per server folder between connections. Later calls (jobs held in
// mailboxes, scans started by clients) keep their state here.
struct ServerState {
    bool down = false;
    // Jobs clients deleted (SCAN_deleteJob*); the fixture folders stay as they are.
    std::set<int> deletedJobs;
    // Jobs that scans started by clients filed (SimScans.h), with the pages scanned so far.
    std::vector<SimJob> scannedJobs;
    // The id of the next scanned job; 0 until the first scan.
    int nextScanJob = 0;
};

// Everything a call may change; used only while Simulator::Lock is held.
struct State {
    std::map<int, Connection> connections;
    std::map<int, Session> sessions;
    std::map<int, Ticket> tickets;
    std::map<std::string, ServerState> servers;

    // 0 with the connection, or BAD_PARAM (null), INVALID_HANDLE, CONNECTION_FAILED (server
    // down, unless evenWhenDown).
    int FindConnection(const QuorvelServerHandle* handle, Connection** connection,
                       bool evenWhenDown = false);
    // The same for a session of one kind; invalidCode answers a handle that is not one.
    int FindSession(const QuorvelSessionHandle* handle, SessionKind kind, Session** session,
                    int invalidCode = QUORVEL_INVALID_HANDLE, bool evenWhenDown = false);
    int FindTicket(const QuorvelNBTicket* handle, Ticket** ticket);
    // A ticket that still names a live registration may not be filled again.
    bool IsLiveTicket(const QuorvelNBTicket* handle);
    bool IsDown(const std::string& server) const;
    // A new session of the connection; its id.
    int NewSession(SessionKind kind, int connection);
    // Removes a connection with its sessions and tickets.
    void DropConnection(int id);
    int NewId();

private:
    int m_nextId = 1;
};

// Handle words: the first word holds the id, the second a tag of the handle kind.
void PackServer(QuorvelServerHandle* handle, int id);
void PackSession(QuorvelSessionHandle* handle, int id);
void PackTicket(QuorvelNBTicket* handle, int id);
int HandleId(const void* handle);

class Simulator {
public:
    static Simulator& Instance();

    class Access {
    public:
        explicit Access(Simulator& simulator);
        State* operator->() { return &m_simulator.m_state; }
        State& operator*() { return m_simulator.m_state; }
        // Waits, lock released meanwhile, until a delivery changes a ticket and pred holds.
        void Wait(const std::function<bool()>& pred);

    private:
        Simulator& m_simulator;
        std::unique_lock<std::mutex> m_lock;
    };

    Access Lock() { return Access(*this); }

    // Injected failures.
    void AddFailure(const std::string& function, int code);
    bool TakeFailure(const std::string& function, int& code);

    // Call log.
    void Log(const std::string& line);
    std::vector<std::string> LogLines() const;
    void ClearLog();

    // Runs invoke(callback, ticket) on the library's thread for every active ticket of this kind
    // (of connections to server, or of all when server is empty); returns the callbacks made.
    int Deliver(TicketKind kind, const std::string& server,
                const std::function<void(QuorvelCallback, int)>& invoke);
    CallbackThread& Thread() { return m_thread; }

    // quorvel_unload: every connection, session and ticket goes; the thread ends.
    void Unload();
    // Unload, and the log, failures and server marks go too.
    void Reset();

private:
    Simulator() = default;

    std::mutex m_stateMutex;
    std::condition_variable m_ticketChanged;
    State m_state;

    mutable std::mutex m_logMutex;
    std::vector<std::string> m_log;
    std::map<std::string, std::deque<int>> m_failures;

    CallbackThread m_thread;
};

// One library call: collects its key arguments, answers an injected failure, and writes the
// log line "NAME args -> result outs" when it goes out of scope.
class SimCall {
public:
    explicit SimCall(const char* function);
    ~SimCall();
    SimCall(const SimCall&) = delete;
    SimCall& operator=(const SimCall&) = delete;

    SimCall& Text(const char* name, const char* text);
    SimCall& Int(const char* name, long long value);
    SimCall& Handle(const char* name, const void* handle);
    SimCall& Pointer(const char* name, const void* pointer);
    SimCall& Raw(const char* name, const std::string& value);

    // How every call starts: an injected failure, else a failed handle look-up (lookup, a
    // Find... answer), ends the call. False then, with that answer as Result().
    bool Admit(int lookup = QUORVEL_OK);
    int Return(int code);
    int Result() const { return m_result; }
    // Written after the result.
    SimCall& OutText(const char* name, const char* text);
    SimCall& OutInt(const char* name, long long value);
    SimCall& OutHandle(const char* name, const void* handle);
    // A remark for the reader of the log, such as a malformed fixture.
    SimCall& Note(const std::string& text);

    const std::string& Function() const { return m_function; }

private:
    std::string m_function;
    std::string m_args;
    std::string m_outs;
    bool m_hasResult = false;
    int m_result = 0;
};

// Reads a fixture file of the server for a call: QUORVEL_OK with pairs filled, else the
// answer: missingCode when there is no such file (missingNote noted, if any), malformedCode
// with the reason noted when it does not parse.
int ReadCallFixture(SimCall& call, const std::string& path, Pairs& pairs, int missingCode,
                    int malformedCode, const char* missingNote = nullptr);

// Registers a ticket on the connection of server and fills ticket; the answer of the call.
int RegisterTicket(SimCall& call, QuorvelServerHandle* server, TicketKind kind,
                   QuorvelCallback callback, QuorvelNBTicket* ticket);
// Opens a session of this kind on the connection of server and fills session; the answer of
// the call.
int AddSession(SimCall& call, QuorvelServerHandle* server, SessionKind kind,
               QuorvelSessionHandle* session);
// Closes a session of this kind, also of a server that is down; the answer of the call.
int RemoveSession(SimCall& call, QuorvelSessionHandle* session, SessionKind kind,
                  int invalidCode = QUORVEL_INVALID_HANDLE);
// The server folder of a live connection, or of a session of this kind, else the look-up's
// failure.
int ServerOf(const QuorvelServerHandle* server, std::string& name);
int ServerOf(const QuorvelSessionHandle* session, SessionKind kind, std::string& name);

// The log form of a text: quoted, with \", \\ and \xNN for other bytes outside 0x20-0x7E.
std::string Quote(const char* text);
// The log form of a list of attribute names: ["cn" "mail"], or null.
std::string QuoteNames(const CorpLdapAttrNames* names);

} // namespace orvexsim
