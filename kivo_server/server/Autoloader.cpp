// Loads the service modules named in a list file and calls their entry points.
#include "ServerInternal.h"

#include <cstdio>
#include <cstring>

namespace kivo {

namespace {

void* openList(const std::string& name, const std::string& root) {
    const std::string tries[] = {"./../conf/" + name, "./" + name, root + "/system/" + name,
                                 root + "/" + name};
    for (const std::string& path : tries)
        if (void* f = S_FileOpen(path.c_str(), OSA_FILE_READ))
            return f;
    return nullptr;
}

void loadModule(const std::string& line, const std::string& root) {
    const std::string paths[] = {root + "system/kivo_services/kivo_server_" + line + ".dll",
                                 "./kivo_server_" + line + ".dll",
                                 root + "system/kivo_services/../kivo_server_" + line + ".dll"};
    for (const std::string& path : paths)
        if (S_LoadLibrary(path.c_str()))
            break;
    std::string base = line;
    const size_t slash = base.find_last_of('/');
    if (slash != std::string::npos)
        base = base.substr(slash + 1);
    const size_t dot = base.find('.');
    if (dot != std::string::npos)
        base = base.substr(0, dot);
    const std::string registerName = "kivo_" + base + "_register";
    const std::string initializeName = "kivo_" + base + "_initialize";
    auto registerFn = reinterpret_cast<void (*)()>(S_GetProcAddress(nullptr, registerName.c_str()));
    if (!registerFn)
        return;
    {
        Hold hold(server().hooksSem);
        server().loadingService = initializeName;
    }
    if (auto init = reinterpret_cast<void (*)()>(S_GetProcAddress(nullptr, initializeName.c_str())))
        init();
    registerFn();
}

void markAllReady() {
    Server& s = server();
    s.allServicesReady = 1;
    s.allServicesLoaded.give();
    char path[64];
    std::snprintf(path, sizeof path, "/scsi0/system/kivo_ready.%d.flag", s.boundPort);
    if (void* f = S_FileOpen(path, OSA_FILE_WRITE)) {
        char text[32];
        const int n = std::snprintf(text, sizeof text, "%ld", static_cast<long>(nowSeconds()));
        S_FileWrite(f, text, n);
        S_FileClose(f);
    }
}

} // namespace

void autoloaderTask(int kind, int processId) {
    Server& s = server();
    if (kind == 0) {
        s.initSem.take();
        s.initSem.give();
    }
    std::string listName;
    if (kind == 1)
        listName = "system/kivo_ipc.txt" + std::to_string(processId);
    else
        listName = s.settings.servicesFile.empty() ? "kivo_services.txt" : s.settings.servicesFile;

    if (s.settings.callback) {
        s.settings.callback();
        if (kind == 1)
            s.ipcLoaded.give();
        markAllReady();
        return;
    }
    const std::string& root = s.settings.root;
    if (void* f = openList(listName, root)) {
        char line[512];
        while (S_FileGets(f, line, sizeof line)) {
            if (line[0] == '#')
                continue;
            line[std::strcspn(line, "\r")] = 0;
            line[std::strcspn(line, "\n")] = 0;
            if (line[0])
                loadModule(line, root);
        }
        S_FileClose(f);
    }
    if (kind == 1)
        s.ipcLoaded.give();
    else
        markAllReady();
}

} // namespace kivo
