#pragma once
// Shows an entry of a list or combo box in full in the framework's tool tip when the control
// is too narrow for it. The handler subclasses its control and keeps itself in the control's
// GWLP_USERDATA while attached.

#include <windows.h>

#include <string>

class CCtrlTipHandler {
public:
    CCtrlTipHandler() = default;
    CCtrlTipHandler(const CCtrlTipHandler&) = delete;
    CCtrlTipHandler& operator=(const CCtrlTipHandler&) = delete;
    // Detaches.
    virtual ~CCtrlTipHandler();

    // Subclasses the control; the first handler that attaches makes the tool-tip window.
    void Attach(HWND control);
    void Detach();
    HWND GetControl() const { return m_control; }
    int GetLastIndex() const { return m_lastIndex; }

    virtual void OnMouseMove(int x, int y);
    virtual void OnMouseLeave();

protected:
    // Hides the tip for another entry, and shows text placed at (x, y) in screen coordinates
    // after 100 ms when the entry is at least as wide as the room there is; the same entry as
    // last time changes nothing.
    void ShowEntry(int index, const std::string* text, const RECT& textRect, int roomWidth,
                   POINT screenTopLeft, UINT positionFlags);

    int m_lastIndex = -1;
    bool m_tracking = false;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_previousProc = nullptr;
    HWND m_control = nullptr;
};
