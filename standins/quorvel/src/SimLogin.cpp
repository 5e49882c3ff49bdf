#include "SimLogin.h"

#include <cctype>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "SimAddressBooks.h"
#include "SimFixtures.h"
#include "Simulator.h"

namespace orvexsim {

namespace {

constexpr int32_t kScopeBase = 0;
constexpr int32_t kScopeOneLevel = 1;
constexpr int32_t kScopeSubtree = 2;
constexpr int32_t kAuthIdKind = 5;

// A search result laid out as the library hands it out; it stays the session's.
struct LdapEntryRecord {
    CorpLdapEntry entry = {};
    std::vector<CorpLdapAttr> attrs;
    std::vector<std::vector<CorpLdapValue>> values;
    std::vector<std::unique_ptr<char[]>> blocks;
};

struct LdapResult {
    std::vector<std::unique_ptr<LdapEntryRecord>> records;
    std::vector<CorpLdapEntry*> pointers;
    CorpLdapEntryList list = {};
};

struct LdapState {
    bool bound = false;
    std::unique_ptr<LdapResult> result;
};

// Taken after the simulator's lock. Ids are never reused, so entries of dropped connections
// and sessions are only pruned, never mistaken for new ones.
std::mutex g_loginMutex;
std::map<int, std::string> g_directoryUsers;      // connection -> account that authenticated
std::map<int, LdapState> g_ldap;                  // directory session -> its state
std::map<int, std::deque<std::string>> g_authIds; // connection -> ids handed out

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

template <typename Map> void PruneGone(Map& map, const std::map<int, Connection>& live) {
    for (auto it = map.begin(); it != map.end();) {
        it = live.count(it->first) ? std::next(it) : map.erase(it);
    }
}

void Prune(State& state) {
    PruneGone(g_directoryUsers, state.connections);
    PruneGone(g_authIds, state.connections);
    for (auto it = g_ldap.begin(); it != g_ldap.end();) {
        it = state.sessions.count(it->first) ? std::next(it) : g_ldap.erase(it);
    }
}

int FindLdapSession(State& state, const QuorvelLdapSession* handle, Session** session,
                    bool evenWhenDown = false) {
    if (!handle) {
        return QUORVEL_BAD_PARAM;
    }
    QuorvelSessionHandle asSession = {};
    std::memcpy(asSession.words, handle->words, sizeof(asSession.words));
    return state.FindSession(&asSession, SessionKind::Ldap, session, QUORVEL_INVALID_HANDLE,
                             evenWhenDown);
}

int ReadDirectory(SimCall& call, const std::string& server, BookEntries& entries) {
    return ReadBookEntries(call, server, "directory.txt", entries);
}

const BookAttribute* FindAttribute(const BookEntry& entry, const std::string& name) {
    const BookAttribute* found = nullptr;
    for (const BookAttribute& attribute : entry.attributes) {
        if (Lower(attribute.name) == Lower(name)) {
            found = &attribute;
        }
    }
    return found;
}

// The directory's root entry, read by a base-object search.
int RootEntry(SimCall& call, const std::string& server, BookEntry& root) {
    root = BookEntry{"", {{"objectClass", {"top"}}}};
    Pairs settings;
    std::string error;
    switch (ReadDumpFile(ServerFile(server, "server.txt"), settings, error)) {
    case FixtureStatus::Malformed:
        call.Note(error);
        return QUORVEL_GENERAL_FAILURE;
    case FixtureStatus::Ok:
        if (const std::string* context = FindValue(settings, "NAMING_CONTEXT")) {
            root.attributes.push_back({"defaultNamingContext", {*context}});
        }
        break;
    case FixtureStatus::Missing:
        break;
    }
    return QUORVEL_OK;
}

char* Keep(LdapEntryRecord& record, const std::string& text, bool terminated) {
    const size_t size = text.size() + (terminated ? 1 : 0);
    record.blocks.push_back(std::make_unique<char[]>(size ? size : 1));
    char* const block = record.blocks.back().get();
    std::memcpy(block, text.data(), text.size());
    if (terminated) {
        block[text.size()] = '\0';
    }
    return block;
}

// The attributes asked for, in the order asked, as far as the entry has them; all of them
// when none are named. Values get exactly their length in bytes, with no terminator.
std::unique_ptr<LdapEntryRecord> MakeRecord(const BookEntry& entry,
                                            const CorpLdapAttrNames* names) {
    std::vector<const BookAttribute*> chosen;
    if (names && names->names && names->count > 0) {
        for (int32_t i = 0; i < names->count; ++i) {
            if (names->names[i]) {
                if (const BookAttribute* attribute = FindAttribute(entry, names->names[i])) {
                    chosen.push_back(attribute);
                }
            }
        }
    } else {
        for (const BookAttribute& attribute : entry.attributes) {
            chosen.push_back(&attribute);
        }
    }
    auto record = std::make_unique<LdapEntryRecord>();
    record->attrs.resize(chosen.size());
    record->values.resize(chosen.size());
    for (size_t a = 0; a < chosen.size(); ++a) {
        const BookAttribute& from = *chosen[a];
        std::vector<CorpLdapValue>& values = record->values[a];
        values.resize(from.values.size());
        for (size_t v = 0; v < from.values.size(); ++v) {
            values[v].data = Keep(*record, from.values[v], false);
            values[v].length = static_cast<int32_t>(from.values[v].size());
        }
        CorpLdapAttr& attr = record->attrs[a];
        attr.name = Keep(*record, from.name, true);
        attr.values = values.empty() ? nullptr : values.data();
        attr.count = static_cast<int32_t>(values.size());
    }
    record->entry.attrs = record->attrs.empty() ? nullptr : record->attrs.data();
    record->entry.count = static_cast<int32_t>(record->attrs.size());
    return record;
}

std::unique_ptr<LdapResult> MakeResult(const BookEntries& found, const CorpLdapAttrNames* names) {
    auto result = std::make_unique<LdapResult>();
    for (const BookEntry& entry : found) {
        result->records.push_back(MakeRecord(entry, names));
        result->pointers.push_back(&result->records.back()->entry);
    }
    result->list.entries = result->pointers.empty() ? nullptr : result->pointers.data();
    result->list.count = static_cast<int32_t>(result->pointers.size());
    return result;
}

bool IsAccount(const BookEntry& entry, const std::string& user) {
    const BookAttribute* const name = FindAttribute(entry, "sAMAccountName");
    return name && FindAttribute(entry, "userPassword") && !name->values.empty() &&
           Lower(name->values.front()) == Lower(user);
}

} // namespace

int QUORVEL_CALL SimCorpLdapOpenSession(QuorvelServerHandle* server, QuorvelLdapSession* session,
                                        int32_t, int32_t, int32_t) {
    SimCall call("CORP_ldapOpenSession");
    call.Handle("server", server);
    if (session) {
        std::memset(session, 0, sizeof(*session));
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (!session) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    BookEntries entries;
    const int directory = ReadDirectory(call, connection->server, entries);
    if (directory != QUORVEL_OK) {
        return call.Return(directory);
    }
    const int id = state->NewSession(SessionKind::Ldap, HandleId(server));
    {
        const std::lock_guard<std::mutex> lock(g_loginMutex);
        Prune(*state);
        g_ldap[id] = LdapState();
    }
    QuorvelSessionHandle packed = {};
    PackSession(&packed, id);
    std::memcpy(session->words, packed.words, sizeof(session->words));
    call.OutHandle("session", session);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL SimCorpAuthenticate(QuorvelServerHandle* server, int32_t, int32_t,
                                     const char* user, const char* password, int32_t, int32_t) {
    SimCall call("CORP_Authenticate");
    call.Handle("server", server).Text("user", user).Text("password", password);
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (!user || !password) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    BookEntries entries;
    const int directory = ReadDirectory(call, connection->server, entries);
    if (directory != QUORVEL_OK) {
        return call.Return(directory);
    }
    const int connectionId = HandleId(server);
    const std::lock_guard<std::mutex> lock(g_loginMutex);
    Prune(*state);
    for (const BookEntry& entry : entries) {
        if (IsAccount(entry, user) && entry.First("userPassword") == password) {
            g_directoryUsers[connectionId] = entry.First("sAMAccountName");
            return call.Return(QUORVEL_OK);
        }
    }
    g_directoryUsers.erase(connectionId);
    return call.Return(QUORVEL_ACCESS_DENIED);
}

int QUORVEL_CALL SimCorpLdapBindEx(QuorvelLdapSession* session, int32_t, int32_t, int32_t, int32_t,
                                   int32_t) {
    SimCall call("CORP_ldapBindEx");
    call.Handle("session", session);
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(FindLdapSession(*state, session, &found))) {
        return call.Result();
    }
    const std::lock_guard<std::mutex> lock(g_loginMutex);
    const auto account = g_directoryUsers.find(found->connection);
    if (account == g_directoryUsers.end()) {
        call.Note("not authenticated");
        return call.Return(QUORVEL_ACCESS_DENIED);
    }
    g_ldap[HandleId(session)].bound = true;
    call.OutText("account", account->second.c_str());
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL SimCorpLdapSearch(QuorvelLdapSession* session, int32_t, int32_t scope,
                                   const char* filter, CorpLdapAttrNames* attributes,
                                   int32_t sizeLimit, int32_t timeLimit, int32_t) {
    SimCall call("CORP_ldapSearch");
    call.Handle("session", session).Int("scope", scope).Text("filter", filter);
    call.Raw("names", QuoteNames(attributes))
        .Int("sizeLimit", sizeLimit)
        .Int("timeLimit", timeLimit);
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(FindLdapSession(*state, session, &found))) {
        return call.Result();
    }
    if (!filter || (scope != kScopeBase && scope != kScopeOneLevel && scope != kScopeSubtree)) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    DirectoryFilter parsed;
    std::string reason;
    if (!parsed.Parse(filter, reason)) {
        call.Note("filter: " + reason);
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const int id = HandleId(session);
    bool bound = false;
    {
        const std::lock_guard<std::mutex> lock(g_loginMutex);
        bound = g_ldap[id].bound;
    }
    const std::string server = state->connections[found->connection].server;
    BookEntries candidates;
    if (scope == kScopeBase) {
        BookEntry root;
        const int read = RootEntry(call, server, root);
        if (read != QUORVEL_OK) {
            return call.Return(read);
        }
        candidates.push_back(root);
    } else if (!bound) {
        call.Note("not bound");
        return call.Return(QUORVEL_ACCESS_DENIED);
    } else {
        const int read = ReadDirectory(call, server, candidates);
        if (read != QUORVEL_OK) {
            return call.Return(read);
        }
    }
    BookEntries matches;
    for (const BookEntry& entry : candidates) {
        if (sizeLimit > 0 && matches.size() >= static_cast<size_t>(sizeLimit)) {
            break;
        }
        if (parsed.Matches(entry)) {
            matches.push_back(entry);
        }
    }
    {
        const std::lock_guard<std::mutex> lock(g_loginMutex);
        g_ldap[id].result = MakeResult(matches, attributes);
    }
    call.OutInt("entries", static_cast<long long>(matches.size()));
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL SimCorpLdapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                                           CorpLdapEntryList** entries, int32_t flags, int32_t) {
    SimCall call("CORP_ldapGetEntryListEx");
    call.Handle("session", session).Int("flags", flags);
    if (count) {
        *count = 0;
    }
    if (entries) {
        *entries = nullptr;
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(FindLdapSession(*state, session, &found))) {
        return call.Result();
    }
    if (!count || !entries) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const std::lock_guard<std::mutex> lock(g_loginMutex);
    LdapState& ldap = g_ldap[HandleId(session)];
    if (!ldap.result) {
        call.Note("no search");
        return call.Return(QUORVEL_BAD_PARAM);
    }
    *entries = &ldap.result->list;
    *count = ldap.result->list.count;
    call.OutInt("count", *count);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL SimCorpLdapCloseSession(QuorvelLdapSession* session, int32_t) {
    SimCall call("CORP_ldapCloseSession");
    call.Handle("session", session);
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    if (!call.Admit(FindLdapSession(*state, session, &found, true))) {
        return call.Result();
    }
    const int id = HandleId(session);
    state->sessions.erase(id);
    const std::lock_guard<std::mutex> lock(g_loginMutex);
    g_ldap.erase(id);
    return call.Return(QUORVEL_OK);
}

int SimAuthGetAuthIDEx(QuorvelServerHandle* server, const char* user, const char* domain,
                       int32_t kind, int32_t flags, char** id, int32_t* extra) {
    SimCall call("AUTH_getAuthIDEx");
    call.Handle("server", server).Text("user", user).Text("domain", domain).Int("kind", kind);
    call.Int("flags", flags);
    if (id) {
        *id = nullptr;
    }
    if (extra) {
        *extra = 0;
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    if (!call.Admit(state->FindConnection(server, &connection))) {
        return call.Result();
    }
    if (!user || !domain || !id || kind != kAuthIdKind) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    Pairs accounts;
    if (const int failed =
            ReadCallFixture(call, ServerFile(connection->server, "authids.txt"), accounts,
                            QUORVEL_FUNCTION_NOT_AVAILABLE, QUORVEL_GENERAL_FAILURE,
                            "no authids.txt")) {
        return call.Return(failed);
    }
    const std::string wanted = Lower(std::string(domain) + "\\" + user);
    for (const auto& account : accounts) {
        if (Lower(account.first) != wanted) {
            continue;
        }
        const std::lock_guard<std::mutex> lock(g_loginMutex);
        Prune(*state);
        std::deque<std::string>& issued = g_authIds[HandleId(server)];
        issued.push_back(account.second);
        *id = const_cast<char*>(issued.back().c_str());
        call.OutText("id", *id);
        return call.Return(QUORVEL_OK);
    }
    return call.Return(QUORVEL_ITEM_NOT_FOUND);
}

} // namespace orvexsim
