#pragma once
// A library loaded for the life of its owner.

#include <windows.h>

class LoadedModule {
public:
    explicit LoadedModule(const char* name) : m_module(LoadLibraryA(name)) {}
    // The module that holds the code at address, kept loaded; none for a null address.
    static LoadedModule Containing(const void* address) {
        HMODULE module = nullptr;
        if (address != nullptr && !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                                      static_cast<LPCSTR>(address), &module)) {
            module = nullptr;
        }
        return LoadedModule(module);
    }
    LoadedModule(LoadedModule&& other) noexcept : m_module(other.m_module) {
        other.m_module = nullptr;
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule() {
        if (m_module) {
            FreeLibrary(m_module);
        }
    }

    HMODULE Get() const { return m_module; }

private:
    explicit LoadedModule(HMODULE module) : m_module(module) {}

    HMODULE m_module;
};
