#pragma once
// A window's device context (GetDC) and the objects selected into it: each selection is undone
// and the context released when the owner goes.

#include <windows.h>

#include <vector>

class WindowDC {
public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (m_dc == nullptr) {
            return;
        }
        for (auto it = m_previous.rbegin(); it != m_previous.rend(); ++it) {
            SelectObject(m_dc, *it);
        }
        ReleaseDC(m_window, m_dc);
    }

    HDC Get() const { return m_dc; }
    // False when the object could not be selected (a null font among them).
    bool Select(HGDIOBJ object) {
        const HGDIOBJ previous =
            m_dc != nullptr && object != nullptr ? SelectObject(m_dc, object) : nullptr;
        if (previous == nullptr || previous == HGDI_ERROR) {
            return false;
        }
        m_previous.push_back(previous);
        return true;
    }

private:
    HWND m_window;
    HDC m_dc;
    std::vector<HGDIOBJ> m_previous;
};
