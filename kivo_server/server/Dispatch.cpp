// What a parsed call does: a registered function runs on a worker, a built-in name is
// answered by the server itself.
#include "ServerInternal.h"

#include <cstdlib>
#include <cstring>

namespace kivo {

namespace {

bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

void noteNoWorker(kivo_client* c) {
    Server& s = server();
    s.reorderWanted = 1;
    s.wakeWanted = 1;
    const int64_t now = nowSeconds();
    if (now - s.lastDeferredCount >= 5) {
        if (c->deferredCount < kMaxDeferred)
            ++c->deferredCount;
        s.lastDeferredCount = now;
    }
}

// Binds a free dedicated worker to the client; false when all are bound.
bool bindDedicated(kivo_client* c) {
    kivo_worker* w = claimWorker(true);
    if (!w)
        return false;
    c->dedicated = 1;
    return handOff(w, c, kivo_worker::kDedicatedStart, nullptr, nullptr, 0, 0, false);
}

int builtIn(kivo_client* c, const ParseState& p, const char* input, int length,
            kivo_worker* dedicatedWorker, DispatchExtra& extra) {
    Server& s = server();
    const std::string& name = p.name;
    if (startsWith(name, "kivo_set_client_version_")) {
        const std::string suffix = name.substr(std::strlen("kivo_set_client_version_"));
        int v = -1;
        bool clear = false;
        char* end = nullptr;
        const long n = std::strtol(suffix.c_str(), &end, 10);
        if (!suffix.empty() && end != suffix.c_str()) {
            if (*end == 0 && n >= 2 && n <= kProtocolMax)
                v = static_cast<int>(n);
            else if (std::strcmp(end, "u") == 0 && n >= 13 && n <= kProtocolMax)
                v = static_cast<int>(n), clear = true;
        }
        if (v < 0)
            v = c->version < 2 ? kProtocolMax : c->version.load();
        extra.newVersion = v;
        extra.clearEncryption = clear;
        return -102800 - v;
    }
    if (name == "kivo_dedicated_thread") {
        if (c->dedicated || !bindDedicated(c))
            return -7249;
        extra.newlyBound = true;
        return kHandedOffDedicated;
    }
    if (name == "kivo_use_pipe" || name == "kivo_use_pipe2") {
        if (c->dedicated && c->worker.load()) {
            c->usePipe = 1;
            return kHandedOff; // the dedicated worker itself moves to the pipe
        }
        if (!bindDedicated(c))
            return -7249;
        c->usePipe = 1;
        extra.newlyBound = true;
        return kHandedOffDedicated;
    }
    (void)dedicatedWorker;
    if (name == "kivo_ping")
        return -1109;
    if (name == "kivo_set_authenticated_user") {
        setConnectionAttribute(c, name.c_str(), input, length);
        return -1110;
    }
    if (name == "kivo_set_application_name") {
        setConnectionAttribute(c, name.c_str(), input, length);
        return -1105;
    }
    if (name == "kivo_set_application_key") {
        setConnectionAttribute(c, name.c_str(), input, length);
        return -1104;
    }
    if (name == "kivo_set_utf8_connection_version") {
        setConnectionAttribute(c, name.c_str(), input, length);
        return -1103;
    }
    if (name == "kivo_get_fingerprints")
        return -1106;
    if (name == "query_brevic_codebase")
        return -1108;
    if (name == "are_all_services_ready")
        return s.allServicesReady ? -7246 : -7245;
    if (name == "kivo_encrypt" || name == "kivo_unencrypt") {
        if (c->version >= 10)
            c->encrypt = name == "kivo_encrypt" ? 1 : 0;
        return -7251;
    }
    if (name == "kivo_handshake") {
        // A new key agreement, as on a fresh connection; the loop hands it to a worker.
        {
            Hold hold(c->writeLock);
            quorvel_server_fish_free(c->inStream);
            quorvel_server_fish_free(c->outStream);
            c->inStream = c->outStream = nullptr;
        }
        c->headerCipher.reset(nullptr);
        c->version = 0;
        c->inScramble = c->outScramble = kInitialScramble;
        c->handshake = kHandshakeNone;
        return kHandedOff;
    }
    if (startsWith(name, "kivo_set_server_debug_")) {
        const int previous = s.settings.debug.exchange(
            std::atoi(name.c_str() + std::strlen("kivo_set_server_debug_")));
        return -6900 - previous;
    }
    return -1;
}

} // namespace

kivo_worker* claimWorker(bool dedicated) {
    for (kivo_worker* w : server().workers)
        if (w->dedicated == dedicated && w->free.tryTake())
            return w;
    return nullptr;
}

bool handOff(kivo_worker* w, kivo_client* c, kivo_worker::Unit unit, FunctionRecord* f,
             const char* input, int length, int64_t counter, bool noReturn) {
    char* copy = nullptr;
    if (unit == kivo_worker::kCall) {
        copy = static_cast<char*>(std::malloc(length > 0 ? static_cast<size_t>(length) : 1));
        if (!copy) {
            errorHook("malloc");
            if (!c->dedicated)
                w->free.give();
            return false;
        }
        if (length > 0)
            std::memcpy(copy, input, static_cast<size_t>(length));
        kivo_payload_register(copy, length); // the bound of the service's reads
    }
    ++c->workerCount;
    c->worker = w;
    {
        Hold hold(w->lock);
        w->client = c;
        w->function = f;
        w->input = copy;
        w->inputLength = length;
        w->counter = counter;
        w->counterReach = c->payloadReach;
        w->noReturn = noReturn;
        w->canceled = false;
        w->running = unit == kivo_worker::kCall;
        w->unit = unit;
    }
    if (unit == kivo_worker::kCall)
        c->busy = noReturn ? 2 : 1;
    return true;
}

int kivoDispatch(kivo_client* c, const ParseState& p, const char* input, int length,
                 kivo_worker* dedicatedWorker, DispatchExtra& extra) {
    FunctionRecord* f;
    {
        Hold hold(server().global);
        f = lookupFunction(p.name.c_str());
    }
    if (!f)
        return builtIn(c, p, input, length, dedicatedWorker, extra);
    const int v = c->version;
    if (v > 2 && f->service->major != p.major &&
        p.name.find("query_api_version") == std::string::npos)
        return -2;
    if (v >= 13 && p.fingerprint != "match" && p.fingerprint != "none" &&
        p.fingerprint != f->fingerprint)
        return -2;
    // A function that is not thread-safe is claimed in one step: two dispatchers (the loop and
    // a dedicated worker) cannot both find it unused.
    if (f->threadSafe) {
        ++f->inUse;
    } else {
        int unused = 0;
        if (!f->inUse.compare_exchange_strong(unused, 1)) {
            server().wakeWanted = 1;
            return kDeferred;
        }
    }
    kivo_worker* w = dedicatedWorker;
    if (!w) {
        w = claimWorker(false);
        if (!w) {
            --f->inUse;
            noteNoWorker(c);
            return kDeferred;
        }
    }
    if (!handOff(w, c, kivo_worker::kCall, f, input, length, p.counter, p.noReturn != 0)) {
        --f->inUse;
        return -3;
    }
    if (!dedicatedWorker)
        w->start.give();
    return c->dedicated ? kHandedOffDedicated : kHandedOff;
}

} // namespace kivo
