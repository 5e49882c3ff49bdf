// Runs the server in this process with the test services (autoloaded from the services file
// beside the program), then the tests as its clients. Arguments: --port N (else a free port),
// --fake.
#include "ConformanceTarget.h"
#include "FreePort.h"
#include "KivoClient.h"
#include "ProcessThreads.h"
#include "kivo_server.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kivotest::ConformanceTarget& t = kivotest::target();
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--port") && i + 1 < argc)
            t.port = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--fake"))
            t.fake = true;
    }
    if (t.port <= 0)
        t.port = kivotest::freeTcpPort();
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));
    SetCurrentDirectoryA(folder.c_str());
    SetEnvironmentVariableA("KIVO_KEEPALIVE_SECONDS", std::to_string(t.keepaliveSeconds).c_str());
    _putenv(("KIVO_KEEPALIVE_SECONDS=" + std::to_string(t.keepaliveSeconds)).c_str());
    kivotest::networkStart();
    const testsupport::ThreadIds threadsBefore = testsupport::threadsOfThisProcess();
    const int r = kivo_server_init_4((folder + "\\").c_str(), t.port, nullptr, -1, 4, -1,
                                     t.fake ? 1 : 0, "kivo_test", "kivo_test_services.txt");
    if (r != 0) {
        std::fprintf(stderr, "server start failed: %d\n", r);
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    kivo_server_shutdown();
    return testsupport::noThreadLeftSince(threadsBefore) ? result : 1;
}
