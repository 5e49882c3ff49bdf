// The test service module "kivotest", loaded by the server's autoloader: echo of every
// directive, a slow call with progress and cancel, the API-version query, and a login/logout
// pair whose logouts it counts, and the discovery providers.
#include "kivo_server.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Inner {
    int32_t n;
    char* s;
};
const kivo_offs_t kInnerOffsets[] = {sizeof(Inner), offsetof(Inner, n), offsetof(Inner, s)};

const char kEchoFormat[] = "%i%r%n%l%b%v%8s%08s%0n%O%#n%n%08n@i%r%08r@n%&r%0*8{";

std::atomic<int> logoutCount{0};
std::atomic<int> lastLogoutHandle{0};
std::atomic<int> initialized{0};
std::atomic<int> slowRunning{0};

// Service functions run on the server's threads: nothing leaves them as an exception.
template <typename F> int guarded(F&& body) {
    try {
        return body();
    } catch (...) {
        return -1;
    }
}

struct Streams {
    fish_state* in;
    fish_state* out;
};

Streams streamsOf(kivo_worker* worker) {
    kivo_client* c = kivo_worker_client(worker);
    return {kivo_client_read_stream(c), kivo_client_write_stream(c)};
}

int echoUnguarded(int version, int encrypt, char* input, char** output, kivo_worker* worker) {
    const Streams st = streamsOf(worker);
    kivo_alloc* allocs = nullptr;
    int8_t i = 0;
    int16_t r = 0, rows = 0, shorts[3] = {};
    int16_t* shortsAt = shorts;
    int32_t n = 0, present = 0, pointerValue = 1, pointerFlag = 0, hidden = 0, count = 0;
    int64_t l = 0;
    unsigned char b = 0;
    uint32_t v = 0;
    char *s = nullptr, *s2 = nullptr;
    unsigned char* block = nullptr;
    int32_t* cells = nullptr;
    Inner* inner = nullptr;
    float f = 0.5f;
    double d = -2.5;
    const std::string format = std::string(kEchoFormat) + (version >= 7 ? "%f%d" : "");
    const int got = kivo_server_kivo_sscanf(
        &allocs, version, encrypt, st.in, input, format.c_str(), &i, &r, &n, &l, &b, &v, &s, &s2,
        &present, &pointerValue, &pointerFlag, &hidden, &count, &block, 1, &count, &rows, &cells, 2,
        &rows, 2, &shortsAt, 1, 3, &inner, "%n%s", kInnerOffsets, &f, &d);
    if (got < 0) {
        kivo_server_kivo_sscanf_free_allocs(allocs);
        return got;
    }
    const std::string reply = std::string(kEchoFormat) + "%f%d";
    const int written = kivo_server_kivo_sprintf(
        version, encrypt, st.out, output, reply.c_str(), i, r, n, l, b, v, s, s2, present,
        pointerValue, hidden, count, block, 1, count, rows, cells, 2, rows, 2, shorts, 1, 3, inner,
        "%n%s", kInnerOffsets, static_cast<double>(f), d);
    kivo_server_kivo_sscanf_free_allocs(allocs);
    return written;
}

int echo(int, int version, int encrypt, char* input, int, char** output, void*, kivo_worker* worker,
         int) {
    return guarded([&] { return echoUnguarded(version, encrypt, input, output, worker); });
}

int slowUncounted(int version, int encrypt, char* input, char** output, kivo_worker* worker) {
    const Streams st = streamsOf(worker);
    int32_t steps = 0, ms = 0;
    const int got =
        kivo_server_kivo_sscanf(nullptr, version, encrypt, st.in, input, "%n%n", &steps, &ms);
    if (got < 0)
        return got;
    for (int step = 1; step <= steps; ++step) {
        Sleep(static_cast<DWORD>(ms));
        if (kivo_check_canceled(worker))
            return 0;
        kivo_send_progress_report(worker, static_cast<float>(step) / static_cast<float>(steps),
                                  step);
    }
    return kivo_server_kivo_sprintf(version, encrypt, st.out, output, "%n", steps);
}

int slow(int, int version, int encrypt, char* input, int, char** output, void*, kivo_worker* worker,
         int) {
    ++slowRunning;
    const int r = slowUncounted(version, encrypt, input, output, worker);
    --slowRunning;
    return r;
}

const char kLoginName[] = "kivotest_login";
const char kLogoutName[] = "kivotest_logout";
// The same names in storage of their own: a login names its texts wherever they are kept.
const char kLoginNameAgain[] = "kivotest_login";
const char kLogoutNameAgain[] = "kivotest_logout";
std::atomic<int> logins{0};

int login(int uid, int version, int encrypt, char* input, int, char** output, void*,
          kivo_worker* worker, int) {
    const Streams st = streamsOf(worker);
    int32_t handle = 0;
    if (kivo_server_kivo_sscanf(nullptr, version, encrypt, st.in, input, "%n", &handle) < 0)
        return -1;
    const bool again = logins++ % 2 != 0;
    const int r = kivo_login(uid, again ? kLoginNameAgain : kLoginName,
                             again ? kLogoutNameAgain : kLogoutName, handle, handle);
    return kivo_server_kivo_sprintf(version, encrypt, st.out, output, "%n", r);
}

int logout(int uid, int version, int encrypt, char* input, int, char** output, void*,
           kivo_worker* worker, int) {
    const Streams st = streamsOf(worker);
    int32_t handle = 0;
    if (kivo_server_kivo_sscanf(nullptr, version, encrypt, st.in, input, "%n", &handle) < 0)
        return -1;
    const int r = kivo_logout(uid, kLoginName, nullptr, handle);
    return kivo_server_kivo_sprintf(version, encrypt, st.out, output, "%n", r);
}

int logouts(int, int version, int encrypt, char*, int, char** output, void*, kivo_worker* worker,
            int) {
    const Streams st = streamsOf(worker);
    return kivo_server_kivo_sprintf(version, encrypt, st.out, output, "%n%n", logoutCount.load(),
                                    lastLogoutHandle.load());
}

// Secure handles: "set" marks a handle as this connection's, "check" asks (the second service
// asks the same of its own).
int handleCall(kivo_worker* worker, int version, int encrypt, char* input, char** output,
               bool set) {
    const Streams st = streamsOf(worker);
    int32_t handle = 0;
    if (kivo_server_kivo_sscanf(nullptr, version, encrypt, st.in, input, "%n", &handle) < 0)
        return -1;
    kivo_client* c = kivo_worker_client(worker);
    const int r = set ? kivo_secure_handle_set(c, handle) : kivo_secure_handle_check(c, handle);
    return kivo_server_kivo_sprintf(version, encrypt, st.out, output, "%n", r);
}

int handleSet(int, int version, int encrypt, char* input, int, char** output, void*,
              kivo_worker* worker, int) {
    return handleCall(worker, version, encrypt, input, output, true);
}

int handleCheck(int, int version, int encrypt, char* input, int, char** output, void*,
                kivo_worker* worker, int) {
    return handleCall(worker, version, encrypt, input, output, false);
}

int logoutCallback(const char*, int handle, int) {
    lastLogoutHandle = handle;
    ++logoutCount;
    return 0;
}

} // namespace

extern "C" __declspec(dllexport) void kivo_kivotest_initialize(void) {
    ++initialized;
}

extern "C" __declspec(dllexport) void kivo_kivotest_register(void) {
    static const char* names[] = {
        "kivotest_echo", "kivotest_slow",    "kivotest_query_api_version", "kivotest_login",
        kLogoutName,     "kivotest_logouts", "kivotest_handle_set",        "kivotest_handle_check"};
    static kivo_service_fn functions[] = {echo,   slow,    echo,      login,
                                          logout, logouts, handleSet, handleCheck};
    static const char* fingerprints[] = {
        "kivotest_echo-fp1",       "kivotest_slow-fp1",        "kivotest_query_api_version-fp1",
        "kivotest_login-fp1",      "kivotest_logout-fp1",      "kivotest_logouts-fp1",
        "kivotest_handle_set-fp1", "kivotest_handle_check-fp1"};
    static const int threadSafe[] = {1, 1, 1, 1, 1, 1, 1, 1};
    kivo_register_service(logoutCallback, names, functions, names, fingerprints, threadSafe, 8,
                          KIVO_SERVICE_MAGIC, "kivotest", 1, 0);
    // A second service, whose check sees only its own handles.
    static const char* otherNames[] = {"kivotest_other_handle_check"};
    static kivo_service_fn otherFunctions[] = {handleCheck};
    static const char* otherPrints[] = {"kivotest_other_handle_check-fp1"};
    kivo_register_service(nullptr, otherNames, otherFunctions, otherNames, otherPrints, nullptr, 1,
                          KIVO_SERVICE_MAGIC, "kivotest_other", 1, 0);
}

// For the in-process tests: how often the autoloader initialised the module, and how many
// slow calls run now.
extern "C" __declspec(dllexport) int kivotest_initialized(void) {
    return initialized;
}

extern "C" __declspec(dllexport) int kivotest_slow_running(void) {
    return slowRunning;
}

// Discovery providers, looked up by name across the server's process. Each list, text and
// record is allocated here and freed by the server.
namespace {

std::atomic<int> extraDevices{0};

char* copyText(const char* t) {
    char* c = static_cast<char*>(std::malloc(std::strlen(t) + 1));
    if (c)
        std::strcpy(c, t);
    return c;
}

char** copyTexts(const std::vector<std::string>& texts) {
    char** list = static_cast<char**>(std::malloc(texts.size() * sizeof(char*)));
    for (size_t i = 0; list && i < texts.size(); ++i)
        list[i] = copyText(texts[i].c_str());
    return list;
}

int provideList(char*** list, int* count, const char* prefix) {
    std::vector<std::string> names = {std::string(prefix) + "one", std::string(prefix) + "two"};
    for (int i = 0; i < extraDevices; ++i)
        names.push_back(std::string(prefix) + "extra");
    *list = copyTexts(names);
    *count = static_cast<int>(names.size());
    return 0;
}

} // namespace

extern "C" __declspec(dllexport) int kivo_actual_SERVER_getOrvexName(char* buffer) {
    std::strcpy(buffer, "kivotest server");
    return 0;
}

extern "C" __declspec(dllexport) int kivo_actual_ATTR_getDefault(void) {
    return 0;
}

extern "C" __declspec(dllexport) int kivo_actual_DEV_getPrettyDeviceNameList(char*** list,
                                                                             int* count) {
    return provideList(list, count, "Kivotest scanner ");
}

extern "C" __declspec(dllexport) int kivo_actual_DEV_getDeviceNameList(char*** list, int* count) {
    return provideList(list, count, "kivoscan_");
}

extern "C" __declspec(dllexport) int kivo_actual_SERVER_getInfo(char*** record) {
    *record = copyTexts({"info zero", "kivotest host", "4.2.1", "info three", "info four"});
    return 0;
}

extern "C" __declspec(dllexport) int kivo_actual_FEAT_getFeatureList(char*** names, char*** values,
                                                                     int* count) {
    *names = copyTexts({"colour", "operating system", "debug build"});
    *values = copyTexts({"yes", "Windows", "no"});
    *count = 3;
    return 0;
}

extern "C" __declspec(dllexport) const char* jmi_get_version_string(void) {
    return "kivotest 1.0.3";
}

// For the in-process tests: the device lists grow by one.
extern "C" __declspec(dllexport) void kivotest_add_device(void) {
    ++extraDevices;
}
