#include "XGPreferences.h"

#include "Conversions.h"
#include "FormatText.h"
#include "XGError.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace CommonCpp {

namespace {

// Only a whole text of the kind counts as a value.
bool ParseInt(const std::string& text, int& value) {
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool ParseDouble(const std::string& text, double& value) {
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0') {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

XGPreferences::XGPreferences(const std::string& company, const std::string& product,
                             const std::string& version, int scope) {
    HKEY root = scope == ScopeCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::string path = KeyPath(company, product, version);
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, m_key.Receive()) == ERROR_SUCCESS) {
        return;
    }
    char noClass[] = "";
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, m_key.Receive(), &disposition) == ERROR_SUCCESS) {
        return;
    }
    m_key.Reset();
    throw XGPostError(ErrorPreferencesKey);
}

XGPreferences::~XGPreferences() = default;

std::string XGPreferences::KeyPath(const std::string& company, const std::string& product,
                                   const std::string& version) {
    std::string path = "Software\\" + company + "\\" + product;
    if (!version.empty()) {
        path += "\\" + version;
    }
    return path;
}

bool XGPreferences::GetBool(const std::string& key, bool& found, bool defaultValue) const {
    const std::string text = GetString(key, found);
    if (text.empty()) {
        return defaultValue;
    }
    if (text == "true") {
        return true;
    }
    if (text == "false") {
        return false;
    }
    found = false;
    return defaultValue;
}

bool XGPreferences::GetBoolByValue(const std::string& key, bool defaultValue) const {
    bool found = false;
    return GetBool(key, found, defaultValue);
}

int XGPreferences::GetInt(const std::string& key, bool& found, int defaultValue) const {
    const std::string text = GetString(key, found);
    if (text.empty()) {
        return defaultValue;
    }
    int value = 0;
    if (ParseInt(text, value)) {
        return value;
    }
    found = false;
    return defaultValue;
}

int XGPreferences::GetIntByValue(const std::string& key, int defaultValue) const {
    bool found = false;
    return GetInt(key, found, defaultValue);
}

double XGPreferences::GetDouble(const std::string& key, bool& found, double defaultValue) const {
    const std::string text = GetString(key, found);
    if (text.empty()) {
        return defaultValue;
    }
    double value = 0.0;
    if (ParseDouble(text, value)) {
        return value;
    }
    found = false;
    return defaultValue;
}

double XGPreferences::GetDoubleByValue(const std::string& key, double defaultValue) const {
    bool found = false;
    return GetDouble(key, found, defaultValue);
}

std::string XGPreferences::QueryString(const std::string& key, bool& found,
                                       const std::string& defaultValue) const {
    found = false;
    // Ask for the size first so that no value is cut or lost for its length; the loop covers
    // a value that grows between the two calls.
    DWORD size = 0;
    LONG rc = RegQueryValueExA(m_key.Get(), key.c_str(), nullptr, nullptr, nullptr, &size);
    std::vector<char> buffer;
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
        DWORD got = size;
        rc = RegQueryValueExA(m_key.Get(), key.c_str(), nullptr, nullptr,
                              reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (rc == ERROR_SUCCESS) {
            found = true;
            // Up to the first zero byte; the extra byte guarantees there is one.
            return std::string(buffer.data());
        }
        if (rc == ERROR_MORE_DATA) {
            size = got > size ? got : size * 2 + 1;
        }
    }
    return defaultValue;
}

std::string XGPreferences::GetString(const std::string& key, bool& found) const {
    return QueryString(key, found, std::string());
}

std::string XGPreferences::GetStringByValue(const std::string& key,
                                            const std::string& defaultValue) const {
    bool found = false;
    return QueryString(key, found, defaultValue);
}

std::string XGPreferences::GetStringOrEmpty(const std::string& key) const {
    bool found = false;
    return QueryString(key, found, std::string());
}

void XGPreferences::SetBool(const std::string& key, bool value) {
    SetString(key, value ? "true" : "false");
}

void XGPreferences::SetInt(const std::string& key, int value) {
    char text[16];
    FormatText(text, sizeof text, "#L", static_cast<std::int32_t>(value));
    SetString(key, text);
}

void XGPreferences::SetDouble(const std::string& key, double value) {
    SetString(key, DoubleToString(value));
}

long XGPreferences::SetString(const std::string& key, const std::string& value) {
    return RegSetValueExA(m_key.Get(), key.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

long XGPreferences::DeleteValue(const std::string& key) {
    return RegDeleteValueA(m_key.Get(), key.c_str());
}

} // namespace CommonCpp
