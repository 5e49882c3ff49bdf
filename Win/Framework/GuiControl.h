#pragma once
// Base of the control wrappers: the control's window, which belongs to its dialog. The
// wrapper never destroys it.

#include <windows.h>

class GuiControl {
public:
    GuiControl() = default;
    GuiControl(const GuiControl&) = delete;
    GuiControl& operator=(const GuiControl&) = delete;
    virtual ~GuiControl();

    void SetHandle(HWND window) { m_window = window; }
    virtual HWND GetHandle() const;
    virtual bool IsEnabled() const;
    // EnableWindow only when the state differs.
    virtual void Enable(bool enable);
    virtual bool IsVisible() const;
    virtual void Show(bool show);

protected:
    HWND m_window = nullptr;
};
