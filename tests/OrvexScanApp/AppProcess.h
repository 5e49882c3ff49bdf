#pragma once
// NimbrelApp started by a test: its windows, its message boxes and its exit code. A copy that
// is still running when the object goes is ended.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class AppProcess {
public:
    // The program beside the test program; env holds variables set for it only ("" removes).
    explicit AppProcess(const std::map<std::string, std::string>& env = {});
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    ~AppProcess();

    bool Started() const { return m_process.hProcess != nullptr; }
    // The exit code once the program ended within the time; STILL_ACTIVE otherwise.
    DWORD WaitForExit(DWORD milliseconds);
    // A visible top-level window of the program with this title (null class: any class), once
    // it appears within the time.
    HWND WaitForWindow(const char* title, const char* className, DWORD milliseconds) const;
    // The text of the next message box the program shows within the time, after which it is
    // answered with OK; empty when none came.
    std::string AnswerMessageBox(DWORD milliseconds) const;
    std::vector<HWND> VisibleWindows() const;

private:
    PROCESS_INFORMATION m_process = {};
};

// UTF-8 of a window's text.
std::string WindowTextUtf8(HWND window);
