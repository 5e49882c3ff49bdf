// Discovery: answers the UDP probe "Knock Knock!" with one packet describing the server and
// its devices, built once from provider functions that the services define.
#include "ServerInternal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kivo {

namespace {

constexpr char kProbe[] = "Knock Knock!";
constexpr int kProbeLength = 12;
constexpr u_short kDiscoveryPort = 9906;
constexpr int kProbeBuffer = 512;
// How long a wait for a probe lasts before the task looks for a shutdown again.
constexpr DWORD kProbeWaitMs = 250;
constexpr int kNameBuffer = 1024;
// The largest datagram UDP carries over IPv4: a reply never outgrows it.
constexpr size_t kMaxReply = 65507;

using NameFn = int (*)(char*);
using ListFn = int (*)(char***, int*);
using InfoFn = int (*)(char***);
using FeatureFn = int (*)(char***, char***, int*);
using VersionFn = const char* (*)();

// An array of texts that a provider allocated: freed with every text in it.
struct ProvidedTexts {
    char** texts = nullptr;
    int count = 0;
    ProvidedTexts() = default;
    ProvidedTexts(const ProvidedTexts&) = delete;
    ProvidedTexts& operator=(const ProvidedTexts&) = delete;
    ~ProvidedTexts() {
        if (!texts)
            return;
        for (int i = 0; i < count; ++i)
            std::free(texts[i]);
        std::free(texts);
    }
    const char* at(int i) const { return texts && i < count && texts[i] ? texts[i] : ""; }
};

template <typename F> F provider(const char* name) {
    return reinterpret_cast<F>(S_GetProcAddress(nullptr, name));
}

void putNumber(std::vector<char>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void putText(std::vector<char>& out, const std::string& t) {
    out.insert(out.end(), t.c_str(), t.c_str() + t.size() + 1);
}

const char* featureValue(const ProvidedTexts& names, const ProvidedTexts& values, const char* key) {
    for (int i = 0; i < names.count; ++i)
        if (std::strcmp(names.at(i), key) == 0)
            return values.at(i);
    return "";
}

// The reply, or an empty packet when a provider is missing or fails.
std::vector<char> buildReply() {
    const auto getName = provider<NameFn>("kivo_actual_SERVER_getOrvexName");
    const auto getPretty = provider<ListFn>("kivo_actual_DEV_getPrettyDeviceNameList");
    const auto getDevices = provider<ListFn>("kivo_actual_DEV_getDeviceNameList");
    const auto getInfo = provider<InfoFn>("kivo_actual_SERVER_getInfo");
    const auto getFeatures = provider<FeatureFn>("kivo_actual_FEAT_getFeatureList");
    const auto getVersion = provider<VersionFn>("jmi_get_version_string");
    if (!getName || !S_GetProcAddress(nullptr, "kivo_actual_ATTR_getDefault") || !getPretty ||
        !getDevices || !getInfo || !getFeatures)
        return {};
    char name[kNameBuffer] = {};
    getName(name);
    name[kNameBuffer - 1] = 0;
    ProvidedTexts pretty, devices, names, values;
    char** info = nullptr;
    const int infoResult = getInfo(&info);
    ProvidedTexts infoTexts; // the record's five texts, freed with it
    infoTexts.texts = info;
    infoTexts.count = info ? 5 : 0;
    if (getPretty(&pretty.texts, &pretty.count) != 0 ||
        getDevices(&devices.texts, &devices.count) != 0 || infoResult != 0 ||
        getFeatures(&names.texts, &values.texts, &names.count) != 0)
        return {};
    values.count = names.count;
    if (pretty.count != devices.count || pretty.count < 0)
        return {};
    const char* version = getVersion ? getVersion() : "<jmi function pointer lookup error>";
    if (!version)
        return {};

    const std::string tail[] = {
        "16.11",
        infoTexts.at(2),
        infoTexts.at(1),
        featureValue(names, values, "operating system"),
        std::strcmp(featureValue(names, values, "debug build"), "yes") == 0 ? "debug" : "release",
        version};
    // The fixed fields must fit; then as many devices are listed as the datagram holds.
    size_t fixed = 12 + std::strlen(name) + 1;
    for (const std::string& t : tail)
        fixed += t.size() + 1;
    if (fixed > kMaxReply)
        return {};
    size_t room = kMaxReply - fixed;
    int listed = 0;
    for (; listed < pretty.count; ++listed) {
        const size_t need = std::strlen(pretty.at(listed)) + std::strlen(devices.at(listed)) + 2;
        if (need > room)
            break;
        room -= need;
    }
    std::vector<char> out(4);
    putNumber(out, 1);
    putText(out, name);
    putNumber(out, static_cast<uint32_t>(listed));
    for (int i = 0; i < listed; ++i)
        putText(out, pretty.at(i));
    for (int i = 0; i < listed; ++i)
        putText(out, devices.at(i));
    for (const std::string& t : tail)
        putText(out, t);
    std::vector<char> length;
    putNumber(length, static_cast<uint32_t>(out.size()));
    std::copy(length.begin(), length.end(), out.begin());
    return out;
}

void serve(const std::vector<char>& reply) {
    Server& s = server();
    while (!s.shuttingDown) {
        UniqueSocket sock(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
        const int one = 1;
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(kDiscoveryPort);
        any.sin_addr.s_addr = htonl(INADDR_ANY);
        if (!sock.valid() ||
            setsockopt(sock.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one),
                       sizeof one) != 0 ||
            bind(sock.get(), reinterpret_cast<sockaddr*>(&any), sizeof any) != 0 ||
            setsockopt(sock.get(), SOL_SOCKET, SO_RCVTIMEO,
                       reinterpret_cast<const char*>(&kProbeWaitMs), sizeof kProbeWaitMs) != 0) {
            errorHook("kivo_discovery: socket");
            sock.reset();
            S_TaskDelay(10);
            continue;
        }
        char buf[kProbeBuffer];
        while (!s.shuttingDown) {
            sockaddr_in from{};
            int fromLength = sizeof from;
            const int n = recvfrom(sock.get(), buf, sizeof buf, 0,
                                   reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n < 0) {
                const int e = WSAGetLastError();
                // A datagram larger than the buffer is dropped whole: its start is not a probe.
                if (e == WSAEMSGSIZE || e == WSAECONNRESET || e == WSAETIMEDOUT || e == 0)
                    continue;
                errorHook("kivo_discovery: recvfrom");
                break;
            }
            if (n >= kProbeLength && std::memcmp(buf, kProbe, kProbeLength) == 0)
                sendto(sock.get(), reply.data(), static_cast<int>(reply.size()), 0,
                       reinterpret_cast<sockaddr*>(&from), fromLength);
        }
        sock.reset();
        S_TaskDelay(10);
    }
}

} // namespace

void discoveryTask() {
    Server& s = server();
    s.allServicesLoaded.take();
    s.allServicesLoaded.give();
    const std::vector<char> reply = buildReply();
    if (reply.empty())
        return;
    serve(reply);
}

} // namespace kivo
