#pragma once
// Scrolling credits: a child window that draws its text white on black, repeated without a
// gap, and moves it up one pixel every 80 ms after standing still for a second. A key release
// or a click in it closes the parent.

#include "GdiObject.h"

#include <windows.h>

#include <string>

class ZylScrollText {
public:
    static constexpr const char* kClassName = "ZYL_Scroll_Text";

    ZylScrollText();
    ZylScrollText(const ZylScrollText&) = delete;
    ZylScrollText& operator=(const ZylScrollText&) = delete;
    // The window goes with the object: it must never call into a freed one.
    ~ZylScrollText();

    void SetText(const std::string& text);
    // False when the class could not be registered (tried once per process) or the window
    // not made.
    bool Create(int x, int y, int width, int height, HWND parent, HINSTANCE module,
                HBRUSH background);
    HWND GetHwnd() const { return m_window; }

    // The scroll offset, shared by every instance; each constructor starts it at 0.
    static int GetScrollOffset();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Tick();
    // Draws the text at y, or only measures it; returns the height it takes.
    int DrawStep(HDC dc, int y, bool draw);

    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    HINSTANCE m_module = nullptr;
    std::string m_text;
    int m_textHeight = 0;
    int m_width = 0;
    int m_height = 0;
    GdiObject<HBITMAP> m_offscreen;
    HFONT m_font = nullptr;
    bool m_firstTick = true;
};
