#include "TwainTestApp.h"

#include <cstring>

namespace {

const char kWindowClass[] = "NimbrelTwainTestApp";

void FillAppIdentity(TW_IDENTITY& app) {
    std::memset(&app, 0, sizeof(app));
    app.Version.MajorNum = 2;
    app.Version.MinorNum = 1;
    app.Version.Language = TWLG_ENG;
    app.Version.Country = TWCY_USA;
    std::strcpy(app.Version.Info, "test");
    app.ProtocolMajor = TWON_PROTOCOLMAJOR;
    app.ProtocolMinor = TWON_PROTOCOLMINOR;
    app.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strcpy(app.Manufacturer, "Test Maker");
    std::strcpy(app.ProductFamily, "Tests");
    std::strcpy(app.ProductName, "Twain Test App");
}

} // namespace

TwainTestApp::TwainTestApp(DSENTRYPROC entry) : m_dsEntry(entry) {
    FillAppIdentity(m_app);
    m_app.Id = 1;
    std::memset(&m_source, 0, sizeof(m_source));
    CreateAppWindow();
}

TwainTestApp::TwainTestApp(const char* manager) {
    FillAppIdentity(m_app);
    std::memset(&m_source, 0, sizeof(m_source));
    m_manager = LoadLibraryA(manager);
    if (m_manager != nullptr) {
        m_dsmEntry = reinterpret_cast<DSMENTRYPROC>(
            reinterpret_cast<void*>(GetProcAddress(m_manager, MAKEINTRESOURCEA(1))));
    }
    CreateAppWindow();
}

TwainTestApp::~TwainTestApp() {
    if (m_sourceOpen) {
        CloseSource();
    }
    if (m_managerOpen) {
        CloseManager();
    }
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    if (m_manager != nullptr) {
        FreeLibrary(m_manager);
    }
}

void TwainTestApp::CreateAppWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass); // a second app finds it registered
    m_window = CreateWindowA(kWindowClass, "Twain Test App", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TW_UINT16 TwainTestApp::Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (m_dsEntry != nullptr) {
        return m_dsEntry(&m_app, dg, dat, msg, data);
    }
    if (m_dsmEntry == nullptr) {
        return TWRC_FAILURE;
    }
    return m_dsmEntry(&m_app, &m_source, dg, dat, msg, data);
}

TW_UINT16 TwainTestApp::CallManager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    return m_dsmEntry != nullptr ? m_dsmEntry(&m_app, nullptr, dg, dat, msg, data)
                                 : static_cast<TW_UINT16>(TWRC_FAILURE);
}

TW_UINT16 TwainTestApp::ConditionCode() {
    TW_STATUS status = {0xffff, 0};
    const bool toManager = m_dsEntry == nullptr && !m_sourceOpen;
    const TW_UINT16 rc = toManager ? CallManager(DG_CONTROL, DAT_STATUS, MSG_GET, &status)
                                   : Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return rc == TWRC_SUCCESS ? status.ConditionCode : static_cast<TW_UINT16>(0xffff);
}

TW_UINT16 TwainTestApp::OpenManager() {
    HWND parent = m_window;
    const TW_UINT16 rc = CallManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent);
    m_managerOpen = rc == TWRC_SUCCESS;
    return rc;
}

TW_UINT16 TwainTestApp::CloseManager() {
    HWND parent = m_window;
    const TW_UINT16 rc = CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    if (rc == TWRC_SUCCESS) {
        m_managerOpen = false;
    }
    return rc;
}

std::vector<TW_IDENTITY> TwainTestApp::ListSources() {
    std::vector<TW_IDENTITY> sources;
    TW_IDENTITY identity = {};
    TW_UINT16 rc = CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity);
    while (rc == TWRC_SUCCESS && sources.size() < 16) {
        sources.push_back(identity);
        std::memset(&identity, 0, sizeof(identity));
        rc = CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &identity);
    }
    return sources;
}

TW_UINT16 TwainTestApp::OpenSource(const char* productName) {
    TW_IDENTITY identity = {};
    std::strncpy(identity.ProductName, productName, sizeof(identity.ProductName) - 1);
    const TW_UINT16 rc = m_dsEntry != nullptr
                             ? Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity)
                             : CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity);
    if (rc == TWRC_SUCCESS && !m_sourceOpen) {
        m_source = identity;
        m_sourceOpen = true;
    }
    return rc;
}

TW_UINT16 TwainTestApp::CloseSource() {
    TW_IDENTITY identity = m_source;
    const TW_UINT16 rc = m_dsEntry != nullptr
                             ? Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity)
                             : CallManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
    if (rc == TWRC_SUCCESS) {
        m_sourceOpen = false;
    }
    return rc;
}

void TwainTestApp::PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TW_EVENT event = {&message, MSG_NULL};
        // The source takes what is meant for its windows.
        if (m_sourceOpen && Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_DSEVENT) {
            if (event.TWMessage != MSG_NULL) {
                m_notices.push_back(event.TWMessage);
            }
            continue;
        }
        m_dispatched.push_back(message.message);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void TwainTestApp::PumpMessages(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

bool TwainTestApp::PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds) {
    const DWORD end = GetTickCount() + maxMilliseconds;
    for (;;) {
        PumpPending();
        if (done()) {
            return true;
        }
        if (static_cast<LONG>(GetTickCount() - end) >= 0) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct WindowSearch {
    HWND own;
    DWORD process;
    int count;
};

BOOL CALLBACK CountVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT area = {};
    // The tool tip's window waits visible with no size: nobody sees it.
    if (process == search->process && window != search->own && IsWindowVisible(window) &&
        GetWindowRect(window, &area) && !IsRectEmpty(&area)) {
        ++search->count;
    }
    return TRUE;
}

} // namespace

int TwainTestApp::CountForeignVisibleWindows() const {
    WindowSearch search = {m_window, GetCurrentProcessId(), 0};
    EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&search));
    return search.count;
}
