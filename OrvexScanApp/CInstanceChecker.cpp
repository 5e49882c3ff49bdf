#include "CInstanceChecker.h"

#include "WinApplication.h"

#include <cstdint>

namespace {

// The mapping outlives the checker: it marks this copy as running until the process ends.
struct MappingHolder {
    HANDLE handle = nullptr;
    ~MappingHolder() {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
};

MappingHolder g_mapping;

// The shared value is 32 bits wide: window handles keep 32 significant bits on 64-bit Windows,
// so 32- and 64-bit copies can exchange them.
constexpr DWORD ViewSize = sizeof(std::int32_t);

class ViewLock {
public:
    explicit ViewLock(HANDLE mutex) : m_mutex(mutex) { WaitForSingleObject(m_mutex, INFINITE); }
    ViewLock(const ViewLock&) = delete;
    ViewLock& operator=(const ViewLock&) = delete;
    ~ViewLock() { ReleaseMutex(m_mutex); }

private:
    HANDLE m_mutex;
};

} // namespace

CInstanceChecker::CInstanceChecker(const std::string& instanceMutexName)
    : m_viewMutex(CreateMutexA(nullptr, FALSE, nullptr)),
      m_instanceMutex(CreateMutexA(nullptr, FALSE, instanceMutexName.c_str())) {}

CInstanceChecker::~CInstanceChecker() {
    ReleaseInstanceLock();
    if (m_instanceMutex != nullptr) {
        CloseHandle(m_instanceMutex);
    }
    if (m_viewMutex != nullptr) {
        CloseHandle(m_viewMutex);
    }
}

void CInstanceChecker::AcquireInstanceLock() {
    if (m_instanceMutex == nullptr || m_locked) {
        return;
    }
    const DWORD wait = WaitForSingleObject(m_instanceMutex, INFINITE);
    // An abandoned mutex (a copy that died while starting) is ours all the same.
    m_locked = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

void CInstanceChecker::ReleaseInstanceLock() {
    if (m_locked) {
        ReleaseMutex(m_instanceMutex);
        m_locked = false;
    }
}

bool CInstanceChecker::IsAnotherInstanceRunning() const {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, MappingName().c_str());
    if (mapping == nullptr) {
        return false;
    }
    CloseHandle(mapping);
    return true;
}

bool CInstanceChecker::RecordRunningInstance() {
    if (IsAnotherInstanceRunning()) {
        return false;
    }
    g_mapping.handle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          ViewSize, MappingName().c_str());
    if (g_mapping.handle == nullptr) {
        return false;
    }
    if (void* view = MapViewOfFile(g_mapping.handle, FILE_MAP_ALL_ACCESS, 0, 0, ViewSize)) {
        {
            const ViewLock lock(m_viewMutex);
            *static_cast<std::int32_t*>(view) = HandleToLong(WindowToTrack());
        }
        UnmapViewOfFile(view);
    }
    // Without a view the mapping still marks this copy as running; a later copy then finds
    // no window and only exits.
    ReleaseInstanceLock();
    return true;
}

HWND CInstanceChecker::BringPreviousInstanceToFront() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, MappingName().c_str());
    if (mapping == nullptr) {
        return nullptr;
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, ViewSize);
    if (view == nullptr) {
        CloseHandle(mapping);
        ReleaseInstanceLock();
        return nullptr;
    }
    HWND previous = nullptr;
    {
        const ViewLock lock(m_viewMutex);
        previous = static_cast<HWND>(LongToHandle(*static_cast<const std::int32_t*>(view)));
    }
    if (previous != nullptr) {
        // In practice the data source's acquire window, which the main window owns.
        HWND popup = GetLastActivePopup(previous);
        if (IsIconic(previous)) {
            ShowWindow(previous, SW_RESTORE);
        }
        SetForegroundWindow(popup);
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return previous;
}

std::string CInstanceChecker::MappingName() const {
    const WinApplication* app = WinApplication::Current();
    return "CInstanceChecker_MMF_" + (app != nullptr ? app->GetAppName() : std::string());
}

HWND CInstanceChecker::WindowToTrack() const {
    const WinApplication* app = WinApplication::Current();
    return app != nullptr ? app->GetMainWindow() : nullptr;
}
