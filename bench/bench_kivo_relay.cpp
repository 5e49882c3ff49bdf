// Throughput of 1 MiB through the SSL relay next to the plain TCP path, in the same run: an
// echo call of the test services carrying a 1 MiB block (1 MiB to the server, 1 MiB back),
// once over a plain connection to the server's port and once through the relay (SSL, the
// relay's escapes, and its local connection to the same port). Runs the server in this
// process on the automatic port (8021, relay 18021) in the folder "relay" beside the program,
// where the build puts the relay's certificate; the OpenSSL DLLs must be on the DLL search
// path (WINEPATH). Argument: calls per path (default 10).
#include "EchoPayload.h"
#include "KivoClient.h"
#include "SslRelayClient.h"
#include "kivo_server.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kServerPort = 8021;
constexpr int kRelayPort = 18021;
constexpr size_t kBlock = 1 << 20;

// Seconds per echo of the 1 MiB block (best and median of n), or a negative value on failure.
struct Timing {
    double best = -1, median = -1;
};

Timing echoes(kivotest::KivoClient& c, int n) {
    kivotest::EchoValues x;
    x.block.resize(kBlock);
    for (size_t i = 0; i < kBlock; ++i)
        x.block[i] = static_cast<unsigned char>(i * 131 + i / 4096); // 'X' among the rest
    std::vector<double> seconds;
    for (int i = 0; i < n; ++i) {
        kivotest::CallOptions o;
        const auto t0 = Clock::now();
        const kivotest::Bytes payload = kivotest::echoPayload(c, x, &o.counter);
        const kivotest::Message m = c.call("kivotest_echo", payload, o, nullptr, 60000);
        kivotest::EchoValues got;
        if (m.code <= 0 || kivotest::readEcho(c, m.payload, got) != m.code || got.block != x.block)
            return {};
        seconds.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

bool ready(kivotest::KivoClient& c, int port) {
    return c.connectTo(port) && c.handshake() && c.setVersion(13);
}

void print(const char* path, const Timing& t) {
    const double mib = 2.0; // one MiB each way
    std::printf("%-28s best %8.1f ms (%7.1f MiB/s)   median %8.1f ms (%7.1f MiB/s)\n", path,
                t.best * 1000, mib / t.best, t.median * 1000, mib / t.median);
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));
    LoadLibraryA((folder + "\\kivo_server_kivotest.dll").c_str());
    SetCurrentDirectoryA((folder + "\\relay").c_str());
    kivotest::networkStart();
    if (kivo_server_init_4((folder + "\\").c_str(), -1, nullptr, -1, 4, -1, 0, "bench_kivo_relay",
                           "kivo_test_services.txt") != 0) {
        std::fprintf(stderr, "the server did not start\n");
        return 1;
    }
    if (!kivotest::sslAvailable()) {
        std::fprintf(stderr, "the OpenSSL DLLs are not on the DLL search path (WINEPATH)\n");
        return 1;
    }
    kivotest::KivoClient plain;
    kivotest::RelayBridge bridge;
    kivotest::KivoClient relayed;
    const int bridgePort = bridge.start(kRelayPort);
    if (!ready(plain, kServerPort) || bridgePort < 0 || !ready(relayed, bridgePort)) {
        std::fprintf(stderr, "could not connect (plain or through the relay)\n");
        return 1;
    }
    std::printf("echo of a 1 MiB block (1 MiB each way), %d calls per path\n", n);
    const Timing p = echoes(plain, n);
    const Timing r = echoes(relayed, n);
    if (p.best < 0 || r.best < 0) {
        std::fprintf(stderr, "an echo failed\n");
        return 1;
    }
    print("plain TCP", p);
    print("SSL relay", r);
    std::printf("relay / plain (median time)  %.2f\n", r.median / p.median);
    relayed.close();
    plain.close();
    kivo_server_shutdown();
    return 0;
}
