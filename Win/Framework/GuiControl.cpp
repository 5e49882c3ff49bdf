#include "GuiControl.h"

GuiControl::~GuiControl() = default;

HWND GuiControl::GetHandle() const {
    return m_window;
}

bool GuiControl::IsEnabled() const {
    return IsWindowEnabled(m_window) != 0;
}

void GuiControl::Enable(bool enable) {
    if (IsEnabled() != enable) {
        EnableWindow(m_window, enable ? TRUE : FALSE);
    }
}

bool GuiControl::IsVisible() const {
    return IsWindowVisible(m_window) != 0;
}

void GuiControl::Show(bool show) {
    ShowWindow(m_window, show ? SW_SHOWNORMAL : SW_HIDE);
}
