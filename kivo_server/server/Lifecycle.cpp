// Start-up, the control functions a host calls, and shutdown with its hooks.
#include "ServerInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kivo {

namespace {

// A task told to end does so within a poll of its loop; longer means a service holds it.
constexpr int kTaskEndMs = 10000;

// Tasks run on threads of the operating-system layer: nothing may leave them as an exception.
template <typename F> int guarded(const char* task, F&& body) {
    try {
        return body();
    } catch (...) {
        errorHook(task);
        return -1;
    }
}

int taskEntry(intptr_t a1, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
              intptr_t, intptr_t) {
    return guarded("kivo", [&] { return serverStartTask(static_cast<int>(a1)); });
}

int workerEntry(intptr_t a1, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
                intptr_t, intptr_t) {
    return guarded("kivow", [&] { return workerTask(reinterpret_cast<kivo_worker*>(a1)); });
}

int aloEntry(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
             intptr_t, intptr_t) {
    return guarded("kivo_alo", [] {
        autoLogoutTask();
        return 0;
    });
}

int autoloaderEntry(intptr_t kind, intptr_t pid, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
                    intptr_t, intptr_t, intptr_t) {
    return guarded("kivo_autoloader", [&] {
        autoloaderTask(static_cast<int>(kind), static_cast<int>(pid));
        return 0;
    });
}

int discoveryEntry(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
                   intptr_t, intptr_t) {
    return guarded("kivo_discovery", [] {
        discoveryTask();
        return 0;
    });
}

int shutdownEntry(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
                  intptr_t, intptr_t) {
    return guarded("kivo_shutdown", [] { return kivo_server_shutdown(); });
}

// Ends a failed start: the host learns why instead of waiting or seeing success.
int failStart(int code) {
    Server& s = server();
    s.startResult = code;
    s.startupSem.give();
    return code;
}

int commonInit(const char* root, int port, kivo_register_fn callback, int workers, int dedicated,
               int clients, int fake, const char* name, const char* servicesFile, int rootFlag,
               int ssl) {
    Server& s = server();
    if (s.initialized.exchange(1))
        return KIVO_ERR_ALREADY_INITIALIZED;
    s.startTime = nowSeconds();
    Settings& st = s.settings;
    st.name = name ? name : "kivo_server";
    if (port > 0)
        st.port = port;
    if (workers >= 0)
        st.workers = workers;
    if (dedicated >= 0)
        st.dedicatedWorkers = dedicated;
    if (clients >= 0)
        st.clientLimit = clients;
    if (fake > 0)
        st.fake = 1;
    st.ssl = ssl >= 0 ? ssl : (st.port == KIVO_DEFAULT_PORT || st.port == -1 ? 1 : 0);
    if (root) {
        st.root = root;
        s_setSystemRoot_2(root, rootFlag);
    } else {
        if (rootFlag == 0)
            s_setSystemRoot_2(nullptr, rootFlag);
        st.root = S_SystemRoot();
    }
    st.callback = callback;
    if (servicesFile)
        st.servicesFile = servicesFile;
    if (const char* k = std::getenv("KIVO_KEEPALIVE_SECONDS")) {
        const int seconds = std::atoi(k);
        if (seconds > 0)
            st.keepaliveSeconds = seconds;
    }
    st.noKeepalive = std::getenv("KIVO_NO_KEEPALIVE") != nullptr;
    const int r = kivo_init_ex(callback ? 1 : 0);
    s.initSem.give(); // lets the published-services autoloader start
    return r;
}

} // namespace

int serverStartTask(int processId) {
    Server& s = server();
    s.settings.processId = processId;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 0), &wsa) != 0) {
        errorHook("WSAStartup");
        return failStart(KIVO_ERR_WINSOCK);
    }
    const int wanted = s.settings.port > 0
                           ? s.settings.port
                           : (processId == 1 ? KIVO_ALTERNATIVE_PORT : KIVO_DEFAULT_PORT);
    if (findBindablePort(wanted) < 0)
        return failStart(KIVO_ERR_NO_PORT);

    if (spawnServerTask("kivo_alo", 16384, aloEntry) < 0)
        return failStart(KIVO_ERR_START);
    s.initSem.take();

    const int total = s.settings.workers + s.settings.dedicatedWorkers;
    for (int i = 0; i < total; ++i) {
        kivo_worker* w = new kivo_worker;
        w->index = i;
        w->dedicated = i >= s.settings.workers;
        if (!w->free.tryTake()) {
            std::fprintf(stderr, "FATAL ERROR! worker mutex could not be taken after it was "
                                 "created!\n");
            return failStart(KIVO_ERR_START);
        }
        w->free.give();
        s.workers.push_back(w);
        char name[32];
        std::snprintf(name, sizeof name, "kivow%d", i);
        if (spawnServerTask(name, 16384, workerEntry, reinterpret_cast<intptr_t>(w)) < 0)
            return failStart(KIVO_ERR_START);
    }
    if (s.settings.ssl) {
        const int relay = sslRelayStart(s.boundPort + 10000, s.boundPort);
        if (relay > 0)
            std::fprintf(stderr, "kivo_server: no SSL relay on port %d (failure %d)\n",
                         s.boundPort + 10000, relay);
    }
    S_TaskDelay(200);
    spawnServerTask("kivo_autoloader", 8192, autoloaderEntry, 1, processId);
    if (processId == 0) {
        spawnServerTask("kivo_autoloader", 8192, autoloaderEntry, 0, processId);
        if (s.boundPort == KIVO_DEFAULT_PORT)
            spawnServerTask("kivo_discovery", 16384, discoveryEntry);
    }
    s.ipcLoaded.take();
    s.startResult = 0;
    s.startupSem.give();
    s.running = 1;
    serverLoop();
    return 0;
}

} // namespace kivo

using namespace kivo;

extern "C" int kivo_server_init(const char* root, int port, kivo_register_fn callback) {
    return commonInit(root, port, callback, -1, -1, -1, -1, nullptr, nullptr, 1, -1);
}

extern "C" int kivo_server_auto_init(const char* root, int port, const char* services_file) {
    return commonInit(root, port, nullptr, -1, -1, -1, -1, nullptr, services_file, 1, -1);
}

extern "C" int kivo_server_init_2(const char* root, int port, kivo_register_fn callback,
                                  int workers, int dedicated, int clients) {
    return commonInit(root, port, callback, workers, dedicated, clients, -1, nullptr, nullptr, 1,
                      -1);
}

extern "C" int kivo_server_init_3(const char* root, int port, kivo_register_fn callback,
                                  int workers, int dedicated, int clients, int fake) {
    return commonInit(root, port, callback, workers, dedicated, clients, fake, nullptr, nullptr, 1,
                      -1);
}

extern "C" int kivo_server_init_4(const char* root, int port, kivo_register_fn callback,
                                  int workers, int dedicated, int clients, int fake,
                                  const char* name, const char* services_file) {
    return commonInit(root, port, callback, workers, dedicated, clients, fake, name, services_file,
                      1, -1);
}

extern "C" int kivo_server_init_5(const char* root, int port, kivo_register_fn callback,
                                  int workers, int dedicated, int clients, int fake,
                                  const char* name, const char* services_file, int root_flag) {
    return commonInit(root, port, callback, workers, dedicated, clients, fake, name, services_file,
                      root_flag, -1);
}

extern "C" int kivo_server_init_6(const char* root, int port, kivo_register_fn callback,
                                  int workers, int dedicated, int clients, int fake,
                                  const char* name, const char* services_file, int root_flag,
                                  int ssl) {
    return commonInit(root, port, callback, workers, dedicated, clients, fake, name, services_file,
                      root_flag, ssl);
}

extern "C" int kivo_init(void) {
    return kivo_server_init("/scsi0/", -1, nullptr) == 0 ? 1 : 0;
}

extern "C" int kivo_init_ex(int process_id) {
    if (process_id != 0 && process_id != 1)
        return KIVO_ERR_BAD_PROCESS_ID;
    Server& s = server();
    s.startupSem.take();
    if (spawnServerTask("kivo", 16384, taskEntry, process_id) < 0) {
        s.startupSem.give();
        return KIVO_ERR_START;
    }
    s.startupSem.take(); // given by the server task once it listens, or when it failed
    s.startupSem.give();
    return s.startResult;
}

extern "C" int kivo_server_is_initialized(void) {
    return server().initialized ? 1 : 0;
}

extern "C" int kivo_server_shutdown(void) {
    Server& s = server();
    if (!s.initialized || s.shuttingDown.exchange(1))
        return 0;
    if (!s.running)
        return 0; // a failed start left nothing running
    {
        Hold hold(s.global);
        for (kivo_client* c = s.clients; c; c = c->next)
            c->dead = 1;
    }
    wakeLoop();
    s.loopExit.take();
    sslRelayStop(); // after the loop: the relay's connections to the server are closed

    {
        Hold hold(s.hooksSem);
        int highest = 0;
        for (const ShutdownHook& h : s.hooks)
            highest = std::max(highest, h.pass);
        for (int pass = 0; pass <= highest; ++pass)
            for (auto h = s.hooks.rbegin(); h != s.hooks.rend(); ++h)
                if (h->pass == pass && h->function)
                    h->function(h->argument);
        s.hooks.clear();
    }

    for (kivo_worker* w : s.workers)
        w->free.take();
    for (kivo_worker* w : s.workers)
        w->start.give();
    for (kivo_worker* w : s.workers)
        w->free.take();
    for (kivo_worker* w : s.workers) {
        KIVO_ASSERT(w->input == nullptr, "worker->input==NULL");
        delete w;
    }
    s.workers.clear();

    s.shutdownDone = 1;
    s.logoutSignal.give();
    s.aloDone.take();
    awaitServerTasks(kTaskEndMs);
    freeServiceInfo();
    osa_brain_shutdown();
    WSACleanup();
    return 0;
}

extern "C" int kivo_server_trigger_shutdown(void) {
    return taskSpawn("kivo_shutdown", 100, 1, 8192, shutdownEntry, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

extern "C" int kivo_server_add_shutdown_hook_3(kivo_shutdown_hook_fn function, void* argument,
                                               int pass, const char* description) {
    Server& s = server();
    Hold hold(s.hooksSem);
    char text[1024];
    std::snprintf(text, sizeof text, "[%s (current loading service is/was %s)]",
                  description ? description : "(null)",
                  s.loadingService.empty() ? "(null)" : s.loadingService.c_str());
    s.hooks.push_back({text, function, argument, pass});
    return 0;
}

extern "C" int kivo_server_add_shutdown_hook(kivo_shutdown_hook_fn function, void* argument) {
    return kivo_server_add_shutdown_hook_3(function, argument, 0, nullptr);
}

extern "C" int kivo_server_add_shutdown_hook_2(kivo_shutdown_hook_fn function, void* argument,
                                               int /*unused*/) {
    return kivo_server_add_shutdown_hook_3(function, argument, 0, nullptr);
}

extern "C" int kivo_server_take_aux_mutex(void) {
    Server& s = server();
    KIVO_ASSERT(s.initialized, "kivo_server_aux_mutex!=NULL");
    return s.aux.take();
}

extern "C" int kivo_server_give_aux_mutex(void) {
    Server& s = server();
    KIVO_ASSERT(s.initialized, "kivo_server_aux_mutex!=NULL");
    return s.aux.give();
}

extern "C" int kivo_server_allow_external_connections(int flag) {
    server().settings.allowExternal = flag;
    return 0;
}

extern "C" int kivo_server_allow_specific_ipaddr(const char* address) {
    if (!address)
        return 0;
    Server& s = server();
    Hold hold(s.global);
    s.settings.allowed.push_back(address);
    return 0;
}

extern "C" int kivo_server_get_hostinfo(int* a, int* port) {
    if (a)
        *a = 0;
    if (port)
        *port = server().boundPort;
    return 0;
}

extern "C" int kivo_server_trigger_sleep(void) {
    return 0;
}

extern "C" const char* kivo_server_lpc_test(void) {
    return "the vodka is strong, but the meat is rotten";
}

extern "C" void kivo_indirect_kivo_debug_S_Free(void* p) {
    std::free(p);
}

extern "C" int kivo_server_get_kivo_service_list(char*** list, int* count,
                                                 kivo_allocator_fn allocator) {
    Server& s = server();
    Hold hold(s.global);
    int n = 0;
    for (ServiceRecord* svc = s.services; svc; svc = svc->next)
        ++n;
    if (count)
        *count = n;
    if (!list || !allocator)
        return 0;
    *list = static_cast<char**>(allocator(static_cast<size_t>(n), sizeof(char*)));
    if (!*list)
        return 0;
    int i = 0;
    for (ServiceRecord* svc = s.services; svc; svc = svc->next, ++i) {
        char* copy = static_cast<char*>(allocator(svc->name.size() + 1, 1));
        if (copy)
            std::memcpy(copy, svc->name.c_str(), svc->name.size() + 1);
        (*list)[i] = copy;
    }
    return 0;
}
