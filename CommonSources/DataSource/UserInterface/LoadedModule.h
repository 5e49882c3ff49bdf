#pragma once
// A library loaded for the life of its owner.

#include <windows.h>

class LoadedModule {
public:
    explicit LoadedModule(const char* name) : m_module(LoadLibraryA(name)) {}
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule() {
        if (m_module) {
            FreeLibrary(m_module);
        }
    }

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};
