#pragma once
// The framework's own tool tip: one plain popup for the process that shows a text in the
// system's status-bar font, at once or after a delay, and never takes the mouse.

#include "GdiObject.h"

#include <windows.h>

#include <string>

class ZylToolTip {
public:
    static ZylToolTip& Instance();

    ZylToolTip();
    ZylToolTip(const ZylToolTip&) = delete;
    ZylToolTip& operator=(const ZylToolTip&) = delete;
    // The window and the class go with the module: their procedure lives there.
    ~ZylToolTip();

    // Registers the class when needed and makes the (empty, zero-size) window; false when
    // either fails.
    bool Create(HWND owner);
    // Shows at once (0) or after the delay in milliseconds.
    void Show(UINT delay);
    void Hide();
    HWND GetWindow() const { return m_window; }
    bool Exists() const { return m_window != nullptr && IsWindow(m_window); }

    static constexpr const char* kClassName = "ZylToolTip";

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void ShowNow();

    HMODULE m_module = nullptr;
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    UINT_PTR m_timer = 0;
    GdiObject<HFONT> m_font;
};
