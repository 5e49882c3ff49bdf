#pragma once
// Owner of one Win32 critical section, and a scope that holds it.

#include <windows.h>

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { DeleteCriticalSection(&m_section); }

    class Lock {
    public:
        explicit Lock(CriticalSection& section) : m_section(section) {
            EnterCriticalSection(&m_section.m_section);
        }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        ~Lock() { LeaveCriticalSection(&m_section.m_section); }

    private:
        CriticalSection& m_section;
    };

private:
    CRITICAL_SECTION m_section;
};
