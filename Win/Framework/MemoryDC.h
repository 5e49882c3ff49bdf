#pragma once
// A memory device context compatible with another one, and the objects selected into it:
// each selection is undone, and the context deleted, when the owner goes.

#include <windows.h>

#include <vector>

class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : m_dc(CreateCompatibleDC(compatible)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (m_dc == nullptr) {
            return;
        }
        for (auto it = m_previous.rbegin(); it != m_previous.rend(); ++it) {
            SelectObject(m_dc, *it);
        }
        DeleteDC(m_dc);
    }

    HDC Get() const { return m_dc; }
    // False when the object could not be selected.
    bool Select(HGDIOBJ object) {
        const HGDIOBJ previous = m_dc != nullptr ? SelectObject(m_dc, object) : nullptr;
        if (previous == nullptr || previous == HGDI_ERROR) {
            return false;
        }
        m_previous.push_back(previous);
        return true;
    }

private:
    HDC m_dc;
    std::vector<HGDIOBJ> m_previous;
};
