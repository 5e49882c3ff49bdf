#include "AppProcess.h"

#include <cstdint>

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    dir.erase(dir.find_last_of('\\') + 1);
    return dir + "NimbrelApp.exe";
}

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::string WindowTextUtf8(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

AppProcess::AppProcess(const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> saved;
    for (const auto& [name, value] : env) {
        char old[1024] = {};
        const DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
        saved[name] = n > 0 && n < sizeof old ? old : std::string("\x01");
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + ProgramPath() + "\"";
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &m_process)) {
        m_process = PROCESS_INFORMATION();
    }
    for (const auto& [name, value] : saved) {
        SetEnvironmentVariableA(name.c_str(), value == "\x01" ? nullptr : value.c_str());
    }
}

AppProcess::~AppProcess() {
    if (m_process.hProcess != nullptr) {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, 5000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
}

DWORD AppProcess::WaitForExit(DWORD milliseconds) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(m_process.hProcess, milliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(m_process.hProcess, &code);
    }
    return code;
}

std::vector<HWND> AppProcess::VisibleWindows() const {
    Search search = {m_process.dwProcessId, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AppProcess::WaitForWindow(const char* title, const char* className, DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    do {
        for (const HWND window : VisibleWindows()) {
            char cls[64] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (WindowTextUtf8(window) == title &&
                (className == nullptr || std::string(cls) == className)) {
                return window;
            }
        }
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

std::string AppProcess::AnswerMessageBox(DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    do {
        for (const HWND window : VisibleWindows()) {
            char cls[64] = {};
            GetClassNameA(window, cls, sizeof cls);
            // A message box: a dialog whose text is the static 0xFFFF.
            const HWND text = GetDlgItem(window, 0xFFFF);
            if (std::string(cls) == "#32770" && text != nullptr) {
                const std::string message = WindowTextUtf8(text);
                PostMessageA(window, WM_COMMAND, IDOK, 0);
                // Gone before the next box is looked for.
                for (int i = 0; i < 100 && IsWindow(window); ++i) {
                    Sleep(50);
                }
                return message;
            }
        }
        if (WaitForSingleObject(m_process.hProcess, 50) == WAIT_OBJECT_0) {
            return std::string();
        }
    } while (GetTickCount() - start < milliseconds);
    return std::string();
}
