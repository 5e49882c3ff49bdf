// quorvel10: connection, server monitor, localisation, attribute defaults, non-blocking
// tickets, authentication, device count, the library heap and unloading.

#include <cstring>
#include <string>

#include "SimEncoding.h"
#include "SimFixtures.h"
#include "SimHeap.h"
#include "SimLogin.h"
#include "Simulator.h"
#include "quorvel_api.h"

using namespace orvexsim;

namespace {

// Looks a key up in a localisation file of the session's language and hands out the text in
// the session's encoding.
int LocalizedText(SimCall& call, QuorvelSessionHandle* handle, const char* context, const char* key,
                  char** text) {
    Simulator::Access state = Simulator::Instance().Lock();
    Session* session = nullptr;
    if (!call.Admit(
            state->FindSession(handle, SessionKind::Locl, &session, QUORVEL_LOCL_INVALID_HANDLE))) {
        return call.Result();
    }
    if (!key || !text) {
        return call.Return(QUORVEL_LOCL_PARMERR);
    }
    if (context && !IsSafeName(context)) {
        return call.Return(QUORVEL_LOCL_UNKNOWN_KEY);
    }
    const std::string server = state->connections[session->connection].server;
    const std::string file =
        context ? "locale\\" + session->language + "\\contexts\\" + context + ".txt"
                : "locale\\" + session->language + "\\strings.txt";
    Pairs pairs;
    if (const int failed = ReadCallFixture(call, ServerFile(server, file), pairs,
                                           QUORVEL_LOCL_UNKNOWN_KEY, QUORVEL_LOCL_INTERNAL_ERROR)) {
        return call.Return(failed);
    }
    const std::string* const value = FindValue(pairs, key);
    if (!value) {
        return call.Return(QUORVEL_LOCL_UNKNOWN_KEY);
    }
    std::string converted;
    if (!ConvertText(*value, CP_UTF8, session->codePage, converted)) {
        call.Note(file + ": the text of " + Quote(key) + " is not UTF-8");
        return call.Return(QUORVEL_LOCL_INTERNAL_ERROR);
    }
    session->issued.push_back(converted);
    *text = const_cast<char*>(session->issued.back().c_str());
    call.OutText("text", *text);
    return call.Return(QUORVEL_OK);
}

} // namespace

extern "C" {

int QUORVEL_CALL INIT_connectToNonStandardServer(const char* address, const char* user,
                                                 const char* password, const char* protocol,
                                                 int32_t option1, int32_t option2, int32_t option3,
                                                 QuorvelServerHandle* server, int32_t) {
    SimCall call("INIT_connectToNonStandardServer");
    call.Text("address", address).Text("user", user).Text("password", password);
    call.Text("protocol", protocol).Int("option1", option1).Int("option2", option2);
    call.Int("option3", option3);
    if (!call.Admit()) {
        return call.Result();
    }
    if (!address || !user || !password || !protocol || !server) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (std::strcmp(protocol, "kivo") != 0) {
        return call.Return(QUORVEL_PROTOCOL_ERROR);
    }
    std::string name;
    if (!ResolveServer(address, name)) {
        return call.Return(QUORVEL_HOST_UNREACHABLE);
    }
    const std::string account = *user ? user : "guest";
    Pairs users;
    std::string error;
    switch (ReadDumpFile(ServerFile(name, "users.txt"), users, error)) {
    case FixtureStatus::Malformed:
        call.Note(error);
        return call.Return(QUORVEL_SYSTEM_ERROR);
    case FixtureStatus::Ok: {
        const std::string* const expected = FindValue(users, account);
        if (!expected || *expected != password) {
            return call.Return(QUORVEL_ACCESS_DENIED);
        }
        break;
    }
    case FixtureStatus::Missing:
        break; // a server without accounts lets everybody in
    }
    Simulator::Access state = Simulator::Instance().Lock();
    if (state->IsDown(name)) {
        return call.Return(QUORVEL_HOST_UNREACHABLE);
    }
    const int id = state->NewId();
    Connection& connection = state->connections[id];
    connection.server = name;
    connection.address = address;
    connection.user = account;
    PackServer(server, id);
    call.OutHandle("server", server);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL INIT_usePipe(QuorvelServerHandle* server, int32_t) {
    SimCall call("INIT_usePipe");
    call.Handle("server", server);
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    connection->usePipe = true;
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL INIT_disconnectFromServer(QuorvelServerHandle* server, int32_t) {
    SimCall call("INIT_disconnectFromServer");
    call.Handle("server", server);
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection, true))) {
        return call.Result();
    }
    state->DropConnection(HandleId(server));
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL INIT_setTimeout(QuorvelServerHandle* server, int32_t seconds, int32_t) {
    SimCall call("INIT_setTimeout");
    call.Handle("server", server).Int("seconds", seconds);
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (seconds < 0) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    connection->timeout = seconds;
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL INIT_monitorServer(QuorvelServerHandle* server, int32_t interval, int32_t flags,
                                    QuorvelNBTicket* ticket) {
    SimCall call("INIT_monitorServer");
    call.Handle("server", server).Int("interval", interval).Int("flags", flags);
    if (!call.Admit()) {
        return call.Result();
    }
    if (interval < 0) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    return RegisterTicket(call, server, TicketKind::Monitor, nullptr, ticket);
}

void QUORVEL_CALL avoid_broken_winsock_select(void) {
    SimCall call("avoid_broken_winsock_select");
}

int QUORVEL_CALL LOCL_openSession(QuorvelServerHandle* server, int32_t flags, const char* language,
                                  const char* encoding, QuorvelSessionHandle* session, int32_t) {
    SimCall call("LOCL_openSession");
    call.Handle("server", server).Int("flags", flags).Text("language", language);
    call.Text("encoding", encoding);
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (!language || !encoding || !session) {
        return call.Return(QUORVEL_LOCL_PARMERR);
    }
    const unsigned int codePage = CodePageOf(encoding);
    if (codePage == 0) {
        return call.Return(QUORVEL_LOCL_INVALID_ENCODING);
    }
    const DWORD attributes = GetFileAttributesA(
        ServerFile(connection->server, std::string("locale\\") + language).c_str());
    if (!IsSafeName(language) || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return call.Return(QUORVEL_LOCL_INVALID_LOCALE);
    }
    const int id = state->NewSession(SessionKind::Locl, HandleId(server));
    Session& added = state->sessions[id];
    added.language = language;
    added.encoding = encoding;
    added.codePage = codePage;
    PackSession(session, id);
    call.OutHandle("session", session);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL LOCL_closeSession(QuorvelSessionHandle* session, int32_t) {
    SimCall call("LOCL_closeSession");
    call.Handle("session", session);
    return RemoveSession(call, session, SessionKind::Locl, QUORVEL_LOCL_INVALID_HANDLE);
}

int QUORVEL_CALL LOCL_getString(QuorvelSessionHandle* session, const char* key, char** text,
                                int32_t) {
    SimCall call("LOCL_getString");
    call.Handle("session", session).Text("key", key);
    if (text) {
        *text = nullptr;
    }
    return LocalizedText(call, session, nullptr, key, text);
}

int QUORVEL_CALL LOCL_getStringWithContext(QuorvelSessionHandle* session, const char* context,
                                           const char* key, char** text, int32_t) {
    SimCall call("LOCL_getStringWithContext");
    call.Handle("session", session).Text("context", context).Text("key", key);
    if (text) {
        *text = nullptr;
    }
    if (!context) {
        return call.Admit() ? call.Return(QUORVEL_LOCL_PARMERR) : call.Result();
    }
    return LocalizedText(call, session, context, key, text);
}

int QUORVEL_CALL LOCL_decodeString(QuorvelSessionHandle* session, const char* fromEncoding,
                                   const char* text, const char* toEncoding, char** converted,
                                   int32_t) {
    SimCall call("LOCL_decodeString");
    call.Handle("session", session).Text("from", fromEncoding).Text("text", text);
    call.Text("to", toEncoding);
    if (converted) {
        *converted = nullptr;
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(
            state->FindSession(session, SessionKind::Locl, &found, QUORVEL_LOCL_INVALID_HANDLE))) {
        return call.Result();
    }
    if (!fromEncoding || !text || !toEncoding || !converted) {
        return call.Return(QUORVEL_LOCL_PARMERR);
    }
    const unsigned int from = CodePageOf(fromEncoding);
    const unsigned int to = CodePageOf(toEncoding);
    if (from == 0 || to == 0) {
        return call.Return(QUORVEL_LOCL_INVALID_ENCODING);
    }
    std::string output;
    if (!ConvertText(text, from, to, output)) {
        return call.Return(QUORVEL_LOCL_INTERNAL_ERROR);
    }
    *converted = SimHeap::Instance().DuplicateString(output);
    if (!*converted) {
        return call.Return(QUORVEL_LOCL_NOMEMERR);
    }
    call.OutText("converted", *converted);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL ATTR_openSession(QuorvelServerHandle* server, QuorvelSessionHandle* session,
                                  int32_t) {
    SimCall call("ATTR_openSession");
    call.Handle("server", server);
    return AddSession(call, server, SessionKind::Attr, session);
}

int QUORVEL_CALL ATTR_closeSession(QuorvelSessionHandle* session, int32_t) {
    SimCall call("ATTR_closeSession");
    call.Handle("session", session);
    return RemoveSession(call, session, SessionKind::Attr);
}

int QUORVEL_CALL ATTR_getDefault(QuorvelSessionHandle* session, int32_t scope, const char* key,
                                 char** value, int32_t) {
    SimCall call("ATTR_getDefault");
    call.Handle("session", session).Int("scope", scope).Text("key", key);
    if (value) {
        *value = nullptr;
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(state->FindSession(session, SessionKind::Attr, &found))) {
        return call.Result();
    }
    if (!key || !value) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (scope != 0) {
        return call.Return(QUORVEL_NO_SUCH_SCOPE);
    }
    Pairs defaults;
    const std::string server = state->connections[found->connection].server;
    if (const int failed = ReadCallFixture(call, ServerFile(server, "defaults.txt"), defaults,
                                           QUORVEL_NO_DEFAULT, QUORVEL_MALFORMED_ATTRIBUTES)) {
        return call.Return(failed);
    }
    const std::string* const text = FindValue(defaults, key);
    if (!text) {
        return call.Return(QUORVEL_NO_DEFAULT);
    }
    found->issued.push_back(*text);
    *value = const_cast<char*>(found->issued.back().c_str());
    call.OutText("value", *value);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL NB_registerCallback(QuorvelNBTicket* ticket, int32_t flags,
                                     QuorvelCallback callback) {
    SimCall call("NB_registerCallback");
    call.Handle("ticket", ticket)
        .Int("flags", flags)
        .Pointer("callback", reinterpret_cast<void*>(callback));
    Simulator::Access state = Simulator::Instance().Lock();
    Ticket* found = nullptr;
    if (!call.Admit(state->FindTicket(ticket, &found))) {
        return call.Result();
    }
    if (!callback) {
        return call.Return(QUORVEL_PARAMETER_MAY_NOT_BE_NULL);
    }
    if (found->kind != TicketKind::Monitor) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (found->cancelled || found->callback) {
        return call.Return(QUORVEL_CANNOT_REUSE_NBTICKET);
    }
    found->callback = callback;
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL NB_cancel(QuorvelNBTicket* ticket) {
    SimCall call("NB_cancel");
    call.Handle("ticket", ticket);
    Simulator::Access state = Simulator::Instance().Lock();
    Ticket* found = nullptr;
    if (!call.Admit(state->FindTicket(ticket, &found))) {
        return call.Result();
    }
    found->cancelled = true;
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL NB_block(QuorvelNBTicket* ticket) {
    SimCall call("NB_block");
    call.Handle("ticket", ticket);
    Simulator& simulator = Simulator::Instance();
    const bool onCallbackThread = simulator.Thread().IsCurrent();
    Simulator::Access state = simulator.Lock();
    Ticket* found = nullptr;
    if (!call.Admit(state->FindTicket(ticket, &found))) {
        return call.Result();
    }
    if (!found->cancelled) {
        return call.Return(QUORVEL_BUSY); // an active registration never completes
    }
    if (!onCallbackThread) {
        const int id = HandleId(ticket);
        state.Wait([&] {
            const auto it = state->tickets.find(id);
            return it == state->tickets.end() || it->second.inFlight == 0;
        });
    }
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL NB_destroy(QuorvelNBTicket* ticket) {
    SimCall call("NB_destroy");
    call.Handle("ticket", ticket);
    Simulator::Access state = Simulator::Instance().Lock();
    Ticket* found = nullptr;
    if (!call.Admit(state->FindTicket(ticket, &found))) {
        return call.Result();
    }
    if (!found->cancelled || found->inFlight > 0) {
        return call.Return(QUORVEL_BUSY);
    }
    state->tickets.erase(HandleId(ticket));
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL NB_waitForProgress(QuorvelNBTicket* ticket, int32_t word1, int32_t word2) {
    SimCall call("NB_waitForProgress");
    call.Handle("ticket", ticket).Int("word1", word1).Int("word2", word2);
    if (!call.Admit()) {
        return call.Result();
    }
    return call.Return(QUORVEL_FUNCTION_NOT_AVAILABLE);
}

int QUORVEL_CALL AUTH_getAuthIDEx(QuorvelServerHandle* server, const char* user, const char* domain,
                                  int32_t kind, int32_t flags, char** id, int32_t* extra, int32_t) {
    return SimAuthGetAuthIDEx(server, user, domain, kind, flags, id, extra);
}

int QUORVEL_CALL DEV_getNumDevices(QuorvelServerHandle* server, int32_t* count, int32_t) {
    SimCall call("DEV_getNumDevices");
    call.Handle("server", server);
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (!count) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    Pairs settings;
    std::string error;
    int devices = 1;
    switch (ReadDumpFile(ServerFile(connection->server, "server.txt"), settings, error)) {
    case FixtureStatus::Malformed:
        call.Note(error);
        return call.Return(QUORVEL_GENERAL_FAILURE);
    case FixtureStatus::Ok:
        if (const std::string* value = FindValue(settings, "DEVICES")) {
            if (!ParseInt(*value, devices) || devices < 0) {
                call.Note("server.txt: DEVICES is not a count");
                return call.Return(QUORVEL_GENERAL_FAILURE);
            }
        }
        break;
    case FixtureStatus::Missing:
        break;
    }
    *count = devices;
    call.OutInt("count", devices);
    return call.Return(QUORVEL_OK);
}

void* QUORVEL_CALL quorvel_malloc(size_t size) {
    int code = 0;
    if (Simulator::Instance().TakeFailure("quorvel_malloc", code)) {
        return nullptr;
    }
    return SimHeap::Instance().Allocate(size);
}

void QUORVEL_CALL quorvel_free(void* block) {
    if (!SimHeap::Instance().Free(block)) {
        SimCall("quorvel_free").Note("not a block of the library heap");
    }
}

void QUORVEL_CALL quorvel_unload(void) {
    SimCall call("quorvel_unload");
    Simulator::Instance().Unload();
}

} // extern "C"
