#pragma once
// Owner of one open registry key: closed when the owner goes.

#include <windows.h>

#include <utility>

namespace CommonCpp {

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : m_key(key) {}
    RegistryKey(RegistryKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_key, nullptr));
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { Reset(); }

    HKEY Get() const { return m_key; }
    bool IsOpen() const { return m_key != nullptr; }
    // For the out-parameter of RegOpenKeyEx/RegCreateKeyEx; closes any key held.
    HKEY* Receive() {
        Reset();
        return &m_key;
    }
    void Reset(HKEY key = nullptr) {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
        m_key = key;
    }

private:
    HKEY m_key = nullptr;
};

} // namespace CommonCpp
