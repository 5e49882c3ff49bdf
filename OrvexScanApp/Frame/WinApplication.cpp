#include "WinApplication.h"

namespace {

WinApplication* g_current = nullptr;

} // namespace

WinApplication::WinApplication() {
    g_current = this;
}

WinApplication::~WinApplication() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

WinApplication* WinApplication::Current() {
    return g_current;
}

std::string WinApplication::GetAppName() const {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(m_instance, path, sizeof path);
    std::string name(path);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

bool WinApplication::PreTranslateMessage(MSG* message) {
    return m_mainWindow != nullptr && IsDialogMessageA(m_mainWindow, message);
}

int WinApplication::Run(HINSTANCE instance) {
    m_instance = instance;
    if (!InitInstance()) {
        return GetStartFailureCode();
    }
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 1;
        }
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
