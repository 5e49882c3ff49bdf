#include "TempPageFiles.h"

#include <atomic>
#include <cstdio>

#include <windows.h>

namespace {

constexpr const char* kDefaultPrefix = "Temp";

std::atomic<unsigned> g_nameCounter{0};

} // namespace

TempFileSystem::~TempFileSystem() = default;

TempFileSystem& TempFileSystem::Real() {
    static TempFileSystem system;
    return system;
}

std::uint32_t TempFileSystem::LogicalDrives() {
    return GetLogicalDrives();
}

unsigned TempFileSystem::DriveType(const std::string& root) {
    return GetDriveTypeA(root.c_str());
}

bool TempFileSystem::FreeBytes(const std::string& root, std::uint64_t& free) {
    ULARGE_INTEGER available = {};
    if (!GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) {
        return false;
    }
    free = available.QuadPart;
    return true;
}

bool TempFileSystem::ProbeNewFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

std::string TempFileSystem::TemporaryFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, path);
    if (length == 0 || length > MAX_PATH) {
        return std::string();
    }
    return std::string(path, length);
}

TempFileTime TempFileSystem::UtcNow() {
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    TempFileTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    return time;
}

std::uint32_t TempFileSystem::ProcessId() {
    return GetCurrentProcessId();
}

bool GetTempDirectory(std::string& folder, std::uint64_t& freeBytes, TempFileSystem& system) {
    folder.clear();
    freeBytes = 0;
    // No usable drive, or one that takes no file: the temporary folder serves instead.
    if (!SelectTempDrive(folder, freeBytes, system) || !CreateTempFile(folder, system)) {
        folder = system.TemporaryFolder();
    }
    return !folder.empty();
}

bool SelectTempDrive(std::string& folder, std::uint64_t& best, TempFileSystem& system) {
    const std::uint32_t drives = system.LogicalDrives();
    if (drives == 0) {
        return false;
    }
    for (int letter = 0; letter < 26; ++letter) {
        if (!(drives & (1u << letter))) {
            continue;
        }
        const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        if (system.DriveType(root) != DRIVE_FIXED) {
            continue;
        }
        std::uint64_t free = 0;
        if (system.FreeBytes(root, free) && free > best) {
            folder = root;
            best = free;
        }
    }
    return !folder.empty();
}

std::string MakeTempFileName(const char* prefix, const char* extension, TempFileSystem& system) {
    const TempFileTime now = system.UtcNow();
    char stamp[64];
    std::snprintf(stamp, sizeof(stamp), "%.2d%.2d%.4d%.2d%.2d%.2d_%lu_%u", now.month, now.day,
                  now.year, now.hour, now.minute, now.second,
                  static_cast<unsigned long>(system.ProcessId()), ++g_nameCounter);
    std::string name = (prefix && *prefix) ? prefix : kDefaultPrefix;
    name += stamp;
    if (extension && *extension) {
        name += ".";
        name += extension;
    }
    return name;
}

bool CreateTempFile(const std::string& folder, TempFileSystem& system) {
    return system.ProbeNewFile(folder + MakeTempFileName(kDefaultPrefix, ".tmp", system));
}
