#pragma once
// A modeless dialog from the program's resources that serves as its main window; the window
// goes with the object.

#include <windows.h>

class MainDialog {
public:
    MainDialog() = default;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;
    virtual ~MainDialog();

    // Modeless, without a parent; false when the template is missing.
    bool Create(HINSTANCE instance, int templateId);
    HWND GetWindow() const { return m_window; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
};
