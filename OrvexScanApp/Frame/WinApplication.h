#pragma once
// The program frame of the scan application: one application object, its main window and
// the message loop, in plain Win32.

#include <windows.h>

#include <string>

class WinApplication {
public:
    WinApplication();
    WinApplication(const WinApplication&) = delete;
    WinApplication& operator=(const WinApplication&) = delete;
    virtual ~WinApplication();

    // The one application object of the process; null outside its lifetime.
    static WinApplication* Current();

    // InitInstance, then the message loop; the exit code of the quit message, or
    // GetStartFailureCode when InitInstance declined.
    int Run(HINSTANCE instance);

    HINSTANCE GetInstance() const { return m_instance; }
    HWND GetMainWindow() const { return m_mainWindow; }
    void SetMainWindow(HWND window) { m_mainWindow = window; }
    // The program's file name without its extension.
    std::string GetAppName() const;

protected:
    // Whether the message loop is to run.
    virtual bool InitInstance() = 0;
    // Whether the message has been dealt with; by default the main window's dialog keys.
    virtual bool PreTranslateMessage(MSG* message);
    virtual int GetStartFailureCode() const { return 0; }

private:
    HINSTANCE m_instance = nullptr;
    HWND m_mainWindow = nullptr;
};
