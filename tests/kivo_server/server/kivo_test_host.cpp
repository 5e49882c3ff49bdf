// Hosts the server with the test services for clients outside this process (and outside
// Wine): prints the port it listens on and serves until a line "quit" (or the end) on its
// standard input, or until the named event given with --event is set. --port 0 takes a free
// port; without --port the server takes its automatic port.
//   kivo_test_host [--port N] [--fake] [--keepalive SECONDS] [--services FILE] [--event NAME]
#include "FreePort.h"
#include "kivo_server.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HANDLE stopEvent = nullptr;

DWORD WINAPI readStdin(LPVOID) {
    char line[256];
    while (std::fgets(line, sizeof line, stdin))
        if (std::strncmp(line, "quit", 4) == 0)
            break;
    SetEvent(stopEvent);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int port = -1, fake = 0;
    std::string services = "kivo_test_services.txt", event;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--port" && more)
            port = std::atoi(argv[++i]);
        else if (a == "--fake")
            fake = 1;
        else if (a == "--keepalive" && more)
            _putenv(("KIVO_KEEPALIVE_SECONDS=" + std::string(argv[++i])).c_str());
        else if (a == "--services" && more)
            services = argv[++i];
        else if (a == "--event" && more)
            event = argv[++i];
        else {
            std::fprintf(stderr, "kivo_test_host: unknown argument %s\n", a.c_str());
            return 2;
        }
    }
    if (port == 0)
        port = kivotest::freeTcpPort();
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));
    SetCurrentDirectoryA(folder.c_str()); // the services file and module lie beside the host
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, event.empty() ? nullptr : event.c_str());
    if (!stopEvent)
        return 1;
    const int r = kivo_server_init_4((folder + "\\").c_str(), port, nullptr, -1, 4, -1, fake,
                                     "kivo_test_host", services.c_str());
    if (r != 0) {
        std::fprintf(stderr, "kivo_test_host: the server did not start (%d)\n", r);
        return 1;
    }
    int bound = 0;
    kivo_server_get_hostinfo(nullptr, &bound);
    std::printf("kivo_test_host: listening on port %d\n", bound);
    std::fflush(stdout);
    HANDLE reader = CreateThread(nullptr, 0, readStdin, nullptr, 0, nullptr);
    WaitForSingleObject(stopEvent, INFINITE);
    kivo_server_shutdown();
    std::printf("kivo_test_host: stopped\n");
    std::fflush(stdout);
    if (reader)
        CloseHandle(reader);
    CloseHandle(stopEvent);
    ExitProcess(0); // the stdin reader may still be blocked
}
