#include "Simulator.h"

#include "SimScans.h"

#include <cstdio>
#include <cstring>

namespace orvexsim {

namespace {

constexpr uint32_t kServerTag = 0x48535651;  // "QVSH"
constexpr uint32_t kSessionTag = 0x53535651; // "QVSS"
constexpr uint32_t kTicketTag = 0x424E5651;  // "QVNB"

int IdIfTagged(const uint32_t* words, uint32_t tag) {
    return words[1] == tag ? static_cast<int>(words[0]) : 0;
}

} // namespace

void PackServer(QuorvelServerHandle* handle, int id) {
    std::memset(handle, 0, sizeof(*handle));
    handle->words[0] = static_cast<uint32_t>(id);
    handle->words[1] = kServerTag;
}

void PackSession(QuorvelSessionHandle* handle, int id) {
    handle->words[0] = static_cast<uint32_t>(id);
    handle->words[1] = kSessionTag;
}

void PackTicket(QuorvelNBTicket* handle, int id) {
    handle->words[0] = static_cast<uint32_t>(id);
    handle->words[1] = kTicketTag;
}

int HandleId(const void* handle) {
    int id = 0;
    std::memcpy(&id, handle, sizeof(id));
    return id;
}

// ---- State ------------------------------------------------------------------------------

int State::FindConnection(const QuorvelServerHandle* handle, Connection** connection,
                          bool evenWhenDown) {
    if (!handle) {
        return QUORVEL_BAD_PARAM;
    }
    const auto found = connections.find(IdIfTagged(handle->words, kServerTag));
    if (found == connections.end()) {
        return QUORVEL_INVALID_HANDLE;
    }
    if (!evenWhenDown && IsDown(found->second.server)) {
        return QUORVEL_CONNECTION_FAILED;
    }
    *connection = &found->second;
    return QUORVEL_OK;
}

int State::FindSession(const QuorvelSessionHandle* handle, SessionKind kind, Session** session,
                       int invalidCode, bool evenWhenDown) {
    if (!handle) {
        return invalidCode == QUORVEL_INVALID_HANDLE ? QUORVEL_BAD_PARAM : QUORVEL_LOCL_PARMERR;
    }
    const auto found = sessions.find(IdIfTagged(handle->words, kSessionTag));
    if (found == sessions.end() || found->second.kind != kind) {
        return invalidCode;
    }
    const auto owner = connections.find(found->second.connection);
    if (owner == connections.end()) {
        return invalidCode;
    }
    if (!evenWhenDown && IsDown(owner->second.server)) {
        return QUORVEL_CONNECTION_FAILED;
    }
    *session = &found->second;
    return QUORVEL_OK;
}

int State::FindTicket(const QuorvelNBTicket* handle, Ticket** ticket) {
    if (!handle) {
        return QUORVEL_BAD_PARAM;
    }
    const auto found = tickets.find(IdIfTagged(handle->words, kTicketTag));
    if (found == tickets.end()) {
        return QUORVEL_INVALID_HANDLE;
    }
    *ticket = &found->second;
    return QUORVEL_OK;
}

bool State::IsLiveTicket(const QuorvelNBTicket* handle) {
    Ticket* ticket = nullptr;
    return FindTicket(handle, &ticket) == QUORVEL_OK;
}

bool State::IsDown(const std::string& server) const {
    const auto found = servers.find(server);
    return found != servers.end() && found->second.down;
}

void State::DropConnection(int id) {
    for (auto it = sessions.begin(); it != sessions.end();) {
        it = it->second.connection == id ? sessions.erase(it) : std::next(it);
    }
    for (auto it = tickets.begin(); it != tickets.end();) {
        it = it->second.connection == id ? tickets.erase(it) : std::next(it);
    }
    connections.erase(id);
}

int State::NewSession(SessionKind kind, int connection) {
    const int id = NewId();
    Session& added = sessions[id];
    added.kind = kind;
    added.connection = connection;
    return id;
}

int State::NewId() {
    return m_nextId++;
}

// ---- Simulator --------------------------------------------------------------------------

Simulator& Simulator::Instance() {
    // Never destroyed: the callback thread may outlive static destruction at process exit.
    static Simulator* const simulator = new Simulator();
    return *simulator;
}

Simulator::Access::Access(Simulator& simulator)
    : m_simulator(simulator), m_lock(simulator.m_stateMutex) {}

void Simulator::Access::Wait(const std::function<bool()>& pred) {
    m_simulator.m_ticketChanged.wait(m_lock, pred);
}

void Simulator::AddFailure(const std::string& function, int code) {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    m_failures[function].push_back(code);
}

bool Simulator::TakeFailure(const std::string& function, int& code) {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    const auto found = m_failures.find(function);
    if (found == m_failures.end() || found->second.empty()) {
        return false;
    }
    code = found->second.front();
    found->second.pop_front();
    return true;
}

void Simulator::Log(const std::string& line) {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    m_log.push_back(line);
}

std::vector<std::string> Simulator::LogLines() const {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    return m_log;
}

void Simulator::ClearLog() {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    m_log.clear();
}

int Simulator::Deliver(TicketKind kind, const std::string& server,
                       const std::function<void(QuorvelCallback, int)>& invoke) {
    std::vector<int> targets;
    {
        Access state = Lock();
        for (auto& [id, ticket] : state->tickets) {
            if (ticket.kind != kind || ticket.cancelled || !ticket.callback) {
                continue;
            }
            const auto owner = state->connections.find(ticket.connection);
            if (owner == state->connections.end() ||
                (!server.empty() && owner->second.server != server)) {
                continue;
            }
            ++ticket.inFlight;
            targets.push_back(id);
        }
    }
    if (targets.empty()) {
        return 0;
    }
    int made = 0;
    m_thread.Run([&] {
        for (const int id : targets) {
            QuorvelCallback callback = nullptr;
            {
                Access state = Lock();
                const auto found = state->tickets.find(id);
                if (found != state->tickets.end() && !found->second.cancelled) {
                    callback = found->second.callback;
                }
            }
            if (callback) {
                invoke(callback, id);
                ++made;
            }
            Access state = Lock();
            const auto found = state->tickets.find(id);
            if (found != state->tickets.end()) {
                --found->second.inFlight;
            }
            m_ticketChanged.notify_all();
        }
    });
    return made;
}

void Simulator::Unload() {
    // Before the callback thread goes: a scan under way delivers its events through it.
    StopScans();
    {
        Access state = Lock();
        state->sessions.clear();
        state->tickets.clear();
        state->connections.clear();
        m_ticketChanged.notify_all();
    }
    m_thread.Stop();
}

void Simulator::Reset() {
    Unload();
    {
        Access state = Lock();
        state->servers.clear();
    }
    const std::lock_guard<std::mutex> lock(m_logMutex);
    m_log.clear();
    m_failures.clear();
}

// ---- SimCall ----------------------------------------------------------------------------

std::string Quote(const char* text) {
    if (!text) {
        return "null";
    }
    std::string quoted = "\"";
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            quoted += escaped;
        } else {
            quoted += static_cast<char>(c);
        }
    }
    return quoted + "\"";
}

std::string QuoteNames(const CorpLdapAttrNames* names) {
    if (!names) {
        return "null";
    }
    std::string text = "[";
    for (int32_t i = 0; names->names && i < names->count; ++i) {
        text += (i ? " " : "") + Quote(names->names[i]);
    }
    return text + "]";
}

SimCall::SimCall(const char* function) : m_function(function) {}

SimCall::~SimCall() {
    std::string line = m_function + m_args;
    if (m_hasResult) {
        line += " -> " + std::to_string(m_result);
    }
    Simulator::Instance().Log(line + m_outs);
}

SimCall& SimCall::Text(const char* name, const char* text) {
    return Raw(name, Quote(text));
}

SimCall& SimCall::Int(const char* name, long long value) {
    return Raw(name, std::to_string(value));
}

SimCall& SimCall::Handle(const char* name, const void* handle) {
    return Raw(name, handle ? "#" + std::to_string(HandleId(handle)) : "null");
}

SimCall& SimCall::Pointer(const char* name, const void* pointer) {
    return Raw(name, pointer ? "set" : "null");
}

SimCall& SimCall::Raw(const char* name, const std::string& value) {
    m_args += std::string(" ") + name + "=" + value;
    return *this;
}

bool SimCall::Admit(int lookup) {
    int code = 0;
    if (Simulator::Instance().TakeFailure(m_function, code)) {
        Return(code);
        return false;
    }
    if (lookup != QUORVEL_OK) {
        Return(lookup);
        return false;
    }
    return true;
}

int SimCall::Return(int code) {
    m_hasResult = true;
    m_result = code;
    return code;
}

SimCall& SimCall::OutText(const char* name, const char* text) {
    m_outs += std::string(" ") + name + "=" + Quote(text);
    return *this;
}

SimCall& SimCall::OutInt(const char* name, long long value) {
    m_outs += std::string(" ") + name + "=" + std::to_string(value);
    return *this;
}

SimCall& SimCall::OutHandle(const char* name, const void* handle) {
    m_outs += std::string(" ") + name + "=#" + std::to_string(HandleId(handle));
    return *this;
}

int ReadCallFixture(SimCall& call, const std::string& path, Pairs& pairs, int missingCode,
                    int malformedCode, const char* missingNote) {
    std::string error;
    switch (ReadDumpFile(path, pairs, error)) {
    case FixtureStatus::Missing:
        if (missingNote) {
            call.Note(missingNote);
        }
        return missingCode;
    case FixtureStatus::Malformed:
        call.Note(error);
        return malformedCode;
    case FixtureStatus::Ok:
        break;
    }
    return QUORVEL_OK;
}

SimCall& SimCall::Note(const std::string& text) {
    m_outs += " [" + text + "]";
    return *this;
}

int RegisterTicket(SimCall& call, QuorvelServerHandle* server, TicketKind kind,
                   QuorvelCallback callback, QuorvelNBTicket* ticket) {
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    const int found = state->FindConnection(server, &connection);
    if (found != QUORVEL_OK) {
        return call.Return(found);
    }
    if (!ticket) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (state->IsLiveTicket(ticket)) {
        return call.Return(QUORVEL_CANNOT_REUSE_NBTICKET);
    }
    const int id = state->NewId();
    Ticket& added = state->tickets[id];
    added.kind = kind;
    added.connection = HandleId(server);
    added.callback = callback;
    PackTicket(ticket, id);
    call.OutHandle("ticket", ticket);
    return call.Return(QUORVEL_OK);
}

int AddSession(SimCall& call, QuorvelServerHandle* server, SessionKind kind,
               QuorvelSessionHandle* session) {
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (!session) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    PackSession(session, state->NewSession(kind, HandleId(server)));
    call.OutHandle("session", session);
    return call.Return(QUORVEL_OK);
}

int RemoveSession(SimCall& call, QuorvelSessionHandle* session, SessionKind kind, int invalidCode) {
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(state->FindSession(session, kind, &found, invalidCode, true))) {
        return call.Result();
    }
    state->sessions.erase(HandleId(session));
    return call.Return(QUORVEL_OK);
}

int ServerOf(const QuorvelServerHandle* server, std::string& name) {
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    const int found = state->FindConnection(server, &connection);
    if (found == QUORVEL_OK) {
        name = connection->server;
    }
    return found;
}

int ServerOf(const QuorvelSessionHandle* session, SessionKind kind, std::string& name) {
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    const int result = state->FindSession(session, kind, &found);
    if (result == QUORVEL_OK) {
        name = state->connections[found->connection].server;
    }
    return result;
}

} // namespace orvexsim
