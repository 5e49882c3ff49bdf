#include "SimFixtures.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <mutex>

#include <windows.h>

#include "SimFileCache.h"

namespace orvexsim {

namespace {

std::mutex g_rootMutex;
std::string g_rootOverride;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string ModuleFolder() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ModuleFolder), &module)) {
        return std::string();
    }
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::string();
    }
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsThisMachine(const std::string& lowerAddress) {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    if (GetComputerNameA(name, &size) && lowerAddress == Lower(name)) {
        return true;
    }
    char dnsName[256] = {};
    size = sizeof(dnsName);
    return GetComputerNameExA(ComputerNameDnsHostname, dnsName, &size) &&
           lowerAddress == Lower(dnsName);
}

} // namespace

bool ParseDump(const std::string& text, Pairs& pairs, int& errorLine, std::string& reason) {
    pairs.clear();
    size_t position = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        position = 3;
    }
    int lineNumber = 0;
    while (position < text.size()) {
        size_t end = text.find('\n', position);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (std::all_of(line.begin(), line.end(), IsBlank) || line[0] == '#') {
            continue;
        }
        errorLine = lineNumber;
        if (line.find('\0') != std::string::npos) {
            reason = "NUL byte in line";
            return false;
        }
        size_t separator = line.find(" = ");
        if (separator == std::string::npos && line.size() >= 2 &&
            line.compare(line.size() - 2, 2, " =") == 0) {
            separator = line.size() - 2; // an empty value whose trailing blank an editor dropped
        }
        if (separator == std::string::npos) {
            reason = "no \" = \" between key and value";
            return false;
        }
        if (separator == 0) {
            reason = "empty key";
            return false;
        }
        if (IsBlank(line.front()) || IsBlank(line[separator - 1])) {
            reason = "blank around the key";
            return false;
        }
        pairs.emplace_back(line.substr(0, separator),
                           separator + 3 <= line.size() ? line.substr(separator + 3) : "");
    }
    errorLine = 0;
    reason.clear();
    return true;
}

FixtureStatus ReadDumpFile(const std::string& path, Pairs& pairs, std::string& error) {
    pairs.clear();
    std::shared_ptr<const std::string> content;
    if (!SimFileCache::Instance().Read(path, content)) {
        return FixtureStatus::Missing;
    }
    int line = 0;
    std::string reason;
    if (!ParseDump(*content, pairs, line, reason)) {
        error = path + " line " + std::to_string(line) + ": " + reason;
        pairs.clear();
        return FixtureStatus::Malformed;
    }
    return FixtureStatus::Ok;
}

const std::string* FindValue(const Pairs& pairs, const std::string& key) {
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) {
        if (it->first == key) {
            return &it->second;
        }
    }
    return nullptr;
}

bool ParseInt(const std::string& text, int& value) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        ++i;
    }
    if (i >= text.size()) {
        return false;
    }
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        result = result * 10 + (text[i] - '0');
        if (result > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    result = negative ? -result : result;
    if (result > INT_MAX || result < INT_MIN) {
        return false;
    }
    value = static_cast<int>(result);
    return true;
}

void SetFixtureRootOverride(const std::string& root) {
    const std::lock_guard<std::mutex> lock(g_rootMutex);
    g_rootOverride = root;
}

std::string FixtureRoot() {
    {
        const std::lock_guard<std::mutex> lock(g_rootMutex);
        if (!g_rootOverride.empty()) {
            return g_rootOverride;
        }
    }
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("ORVEX_SIM_ROOT", value, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        return std::string(value, length);
    }
    return ModuleFolder() + "\\servers";
}

bool IsSafeName(const std::string& name) {
    if (name.empty() || name[0] == '.') {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '-' || c == '_' || c == '.';
    });
}

bool ResolveServer(const std::string& address, std::string& server) {
    const std::string lower = Lower(address);
    if (lower == "localhost" || lower == "127.0.0.1" || (!lower.empty() && IsThisMachine(lower))) {
        server = "default";
        return IsFolder(FixtureRoot() + "\\default");
    }
    if (!IsSafeName(lower) || lower.find("..") != std::string::npos) {
        return false;
    }
    server = lower;
    return IsFolder(FixtureRoot() + "\\" + lower);
}

std::string ServerFile(const std::string& server, const std::string& relative) {
    return FixtureRoot() + "\\" + server + "\\" + relative;
}

} // namespace orvexsim
