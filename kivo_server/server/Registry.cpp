// Services and their functions, fingerprints, logins undone when a client drops, secure
// handles, and the per-call services a running function uses.
#include "ServerInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace kivo {

namespace {

void insertFingerprint(Server& s, const char* name, const char* fingerprint) {
    FingerprintEntry e{name ? name : "", fingerprint ? fingerprint : ""};
    // Before the first later entry whose name is not smaller.
    auto at =
        std::find_if(s.fingerprints.begin(), s.fingerprints.end(), [&](const FingerprintEntry& x) {
            return std::strcmp(x.name.c_str(), e.name.c_str()) >= 0;
        });
    s.fingerprints.insert(at, std::move(e));
    s.fingerprintsChanged = true;
}

bool rebuildHash(Server& s) {
    std::vector<const char*> names;
    std::vector<void*> values;
    for (ServiceRecord* svc = s.services; svc; svc = svc->next)
        for (FunctionRecord* f : svc->functions) {
            names.push_back(f->name.c_str());
            values.push_back(f);
        }
    hash_table* h = create_hash(names.data(), values.data(), static_cast<int>(names.size()));
    if (!h)
        return false;
    free_hash(s.functionHash);
    s.functionHash = h;
    return true;
}

// Login records keep the caller's texts; two records name the same login when the texts are
// equal, wherever they are stored.
bool sameText(const char* a, const char* b) {
    return a == b || (a && b && std::strcmp(a, b) == 0);
}

// Queues the progress message of the client's version; false when the version has none.
bool queueProgress(kivo_client* c, float fraction, int value) {
    const int version = c->version;
    if (version < 8)
        return false;
    char payload[64], message[128];
    if (version >= 14) {
        std::snprintf(payload, sizeof payload, "%d/%d/", static_cast<int>(fraction * 1000000),
                      value);
        std::snprintf(message, sizeof message, "[kivo_progress2]/%d/%s",
                      static_cast<int>(std::strlen(payload)), payload);
    } else {
        std::snprintf(payload, sizeof payload, "%8f/%d/", static_cast<double>(fraction), value);
        std::snprintf(message, sizeof message, "[kivo_progress]/%d/%s",
                      static_cast<int>(std::strlen(payload)), payload);
    }
    kivoWriteString(c, message, kFlushLater);
    return true;
}

} // namespace

FunctionRecord* lookupFunction(const char* name) {
    return static_cast<FunctionRecord*>(hash_lookup(name, server().functionHash));
}

bool clientListed(kivo_client* c) {
    for (kivo_client* x = server().clients; x; x = x->next)
        if (x == c)
            return true;
    return false;
}

void registryClientDropped(kivo_client* c) {
    Server& s = server();
    std::vector<LogoutEntry> queued;
    {
        Hold hold(s.global);
        LoginRecord** at = &s.logins;
        while (*at) {
            LoginRecord* r = *at;
            if (r->uid == c->uid) {
                queued.push_back({r->logoutName ? r->logoutName : "", r->handle, r->extra});
                *at = r->next;
                delete r;
            } else {
                at = &r->next;
            }
        }
    }
    for (const LogoutEntry& e : queued)
        kivo_auto_logout(e.name.c_str(), e.handle, e.extra);
}

void setConnectionAttribute(kivo_client* c, const char* call, const char* text, int length) {
    // The input is a text; it need not carry its NUL.
    std::string value(text, text + length);
    value = value.c_str();
    if (std::strcmp(call, "kivo_set_application_name") == 0)
        c->applicationName = value;
    else if (std::strcmp(call, "kivo_set_application_key") == 0)
        c->applicationKey = value;
    else if (std::strcmp(call, "kivo_set_authenticated_user") == 0)
        c->authenticatedUser = value;
    else if (std::strcmp(call, "kivo_set_utf8_connection_version") == 0)
        c->utf8Version = std::atoi(value.c_str());
}

std::string fingerprintReply() {
    Server& s = server();
    Hold hold(s.fingerprintSem);
    if (s.fingerprintsChanged) {
        std::string t = std::to_string(s.fingerprints.size()) + " ";
        for (const FingerprintEntry& e : s.fingerprints)
            t += e.name + " " + e.fingerprint + " ";
        s.fingerprintText = t;
        s.fingerprintsChanged = false;
    }
    return s.fingerprintText; // a copy made under the lock: a registration may change it
}

void freeServiceInfo() {
    Server& s = server();
    Hold hold(s.global);
    while (s.services) {
        ServiceRecord* next = s.services->next;
        for (FunctionRecord* f : s.services->functions)
            delete f;
        delete s.services;
        s.services = next;
    }
    free_hash(s.functionHash);
    s.functionHash = nullptr;
    Hold fp(s.fingerprintSem);
    s.fingerprints.clear();
    s.fingerprintText.clear();
}

void autoLogoutTask() {
    Server& s = server();
    for (;;) {
        s.logoutSignal.take();
        // A give can be lost while the signal is still available: drain everything queued.
        for (;;) {
            LogoutEntry e;
            {
                Hold hold(s.logoutQueueSem);
                if (s.logoutQueue.empty())
                    break;
                e = std::move(s.logoutQueue.front());
                s.logoutQueue.pop_front();
            }
            kivo_logout_fn logout = nullptr;
            {
                Hold hold(s.global);
                if (FunctionRecord* f = lookupFunction(e.name.c_str()))
                    logout = f->service->logout;
            }
            if (logout)
                logout(e.name.c_str(), e.handle, e.extra);
        }
        if (s.shuttingDown && s.shutdownDone) {
            s.aloDone.give();
            return;
        }
    }
}

} // namespace kivo

using namespace kivo;

extern "C" int kivo_register_service(kivo_logout_fn logout, const char** function_names,
                                     kivo_service_fn* functions, const char** fingerprint_names,
                                     const char** fingerprints, const int* thread_safe, int count,
                                     int magic, const char* service_name, int version_major,
                                     int version_minor) {
    if (magic != KIVO_SERVICE_MAGIC)
        return 1;
    if (count < 0 || (count > 0 && (!function_names || !functions)))
        return -1;
    Server& s = server();
    Hold hold(s.global);
    const std::string name = service_name ? service_name : "";
    for (ServiceRecord* svc = s.services; svc; svc = svc->next)
        if (svc->name == name)
            return 1;
    ServiceRecord* svc = nullptr;
    try {
        {
            Hold fp(s.fingerprintSem);
            if (fingerprint_names && fingerprints)
                for (int i = 0; i < count; ++i)
                    insertFingerprint(s, fingerprint_names[i], fingerprints[i]);
        }
        svc = new ServiceRecord;
        svc->name = name;
        svc->major = version_major;
        svc->minor = version_minor;
        svc->logout = logout;
        for (int i = 0; i < count; ++i) {
            FunctionRecord* f = new FunctionRecord;
            svc->functions.push_back(f);
            f->name = function_names[i] ? function_names[i] : "";
            f->fingerprint = fingerprints && fingerprints[i] ? fingerprints[i] : "";
            f->function = functions[i];
            f->threadSafe = thread_safe ? thread_safe[i] : 1;
            f->service = svc;
        }
    } catch (const std::bad_alloc&) {
        errorHook("kivo_register_service: malloc");
        if (svc) {
            for (FunctionRecord* f : svc->functions)
                delete f;
            delete svc;
        }
        return -1;
    }
    svc->next = s.services;
    s.services = svc;
    if (!rebuildHash(s)) {
        // Without a hash of all names the new service would hide the others: take it back.
        s.services = svc->next;
        for (FunctionRecord* f : svc->functions)
            delete f;
        delete svc;
        errorHook("kivo_register_service: create_hash");
        return -1;
    }
    return 0;
}

extern "C" int kivo_login(int uid, const char* login_name, const char* logout_name, int handle,
                          int extra) {
    Server& s = server();
    Hold hold(s.global);
    bool connected = false;
    for (kivo_client* c = s.clients; c; c = c->next)
        if (c->uid == uid && !c->dead)
            connected = true;
    if (!connected) {
        hold.give();
        return kivo_auto_logout(logout_name, handle, extra);
    }
    for (LoginRecord* r = s.logins; r; r = r->next)
        if (r->uid == uid && r->handle == handle && sameText(r->loginName, login_name) &&
            sameText(r->logoutName, logout_name))
            return hold.give();
    LoginRecord* r =
        new (std::nothrow) LoginRecord{uid, login_name, logout_name, handle, extra, s.logins};
    if (!r) {
        errorHook("kivo_login: malloc");
        hold.give();
        return -1;
    }
    s.logins = r;
    return hold.give();
}

extern "C" int kivo_logout(int uid, const char* login_name, const char* /*ignored*/, int handle) {
    Server& s = server();
    Hold hold(s.global);
    for (LoginRecord** at = &s.logins; *at; at = &(*at)->next) {
        LoginRecord* r = *at;
        if (r->uid == uid && r->handle == handle && sameText(r->loginName, login_name)) {
            *at = r->next;
            delete r;
            break;
        }
    }
    return hold.give();
}

extern "C" int kivo_auto_logout(const char* logout_name, int handle, int extra) {
    Server& s = server();
    {
        Hold hold(s.logoutQueueSem);
        try {
            s.logoutQueue.push_back({logout_name ? logout_name : "", handle, extra});
        } catch (const std::bad_alloc&) {
            errorHook("kivo_auto_logout: malloc");
            return -1;
        }
    }
    return s.logoutSignal.give();
}

extern "C" int kivo_secure_handle_set(kivo_client* connection, intptr_t handle) {
    if (!connection)
        return -1;
    Server& s = server();
    Hold hold(s.global);
    kivo_worker* w = connection->worker;
    if (!w || !w->function)
        return -1;
    try {
        connection->secureHandles.push_back(handle);
        connection->secureOwners.push_back(w->function->service);
    } catch (const std::bad_alloc&) {
        connection->secureHandles.resize(connection->secureOwners.size());
        errorHook("kivo_secure_handle_set: malloc");
        return -1;
    }
    return hold.give();
}

extern "C" int kivo_secure_handle_check(kivo_client* connection, intptr_t handle) {
    if (!connection)
        return 0;
    Server& s = server();
    Hold hold(s.global);
    kivo_worker* w = connection->worker;
    if (!w || !w->function)
        return 0;
    for (size_t i = 0; i < connection->secureHandles.size(); ++i)
        if (connection->secureHandles[i] == handle &&
            connection->secureOwners[i] == w->function->service)
            return 1;
    return 0;
}

extern "C" int kivo_check_canceled(kivo_worker* worker) {
    if (!worker)
        return 0;
    Hold hold(worker->lock);
    return worker->canceled ? 1 : 0;
}

extern "C" int kivo_send_progress_report(kivo_worker* worker, float fraction, int value) {
    if (!worker)
        return -1;
    kivo_client* c;
    {
        Hold hold(worker->lock);
        if (worker->canceled)
            return 0;
        c = worker->client;
        {
            Hold global(server().global);
            if (!c || !clientListed(c) || c->dead)
                return -1;
        }
        if (!queueProgress(c, fraction, value))
            return 0;
    }
    // Sent once the lock is let go; queued under it, so that it never follows a cancel's reply.
    flushOutput(c);
    return 0;
}

extern "C" int kivo_status(int already_locked) {
    Server& s = server();
    if (!already_locked)
        s.global.take();
    int services = 0;
    for (ServiceRecord* svc = s.services; svc; svc = svc->next)
        ++services;
    (void)services;
    if (!already_locked)
        s.global.give();
    return 0;
}

extern "C" kivo_client* kivo_worker_client(kivo_worker* worker) {
    if (!worker)
        return nullptr;
    Hold hold(worker->lock);
    return worker->client;
}

extern "C" fish_state* kivo_client_read_stream(kivo_client* connection) {
    return connection ? connection->inStream : nullptr;
}

extern "C" fish_state* kivo_client_write_stream(kivo_client* connection) {
    return connection ? connection->outStream : nullptr;
}
