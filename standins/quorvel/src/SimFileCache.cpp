#include "SimFileCache.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include <windows.h>

namespace orvexsim {

namespace {

// 100 ns units: longer than the coarsest last-write time granularity (2 s on FAT).
constexpr unsigned long long kSettleTime = 3ull * 10000000ull;
// Fixtures are small texts; anything past these bounds is simply read again.
constexpr size_t kMaxKeptFile = 1u << 20;
constexpr size_t kMaxKeptBytes = 16u << 20;
constexpr size_t kMaxKeptFolders = 4096;

unsigned long long Combine(DWORD high, DWORD low) {
    return (static_cast<unsigned long long>(high) << 32) | low;
}

} // namespace

SimFileCache& SimFileCache::Instance() {
    static SimFileCache* const cache = new SimFileCache();
    return *cache;
}

bool SimFileCache::StampOf(const std::string& path, Stamp& stamp, bool& folder) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    stamp.written =
        Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    stamp.size = static_cast<long long>(Combine(data.nFileSizeHigh, data.nFileSizeLow));
    folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return true;
}

unsigned long long SimFileCache::Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Combine(now.dwHighDateTime, now.dwLowDateTime);
}

bool SimFileCache::Settled(const Stamp& stamp, unsigned long long now) {
    return stamp.written + kSettleTime < now;
}

bool SimFileCache::Read(const std::string& path, std::shared_ptr<const std::string>& bytes) {
    const unsigned long long now = Now();
    if (KnownMissing(path)) {
        return false;
    }
    Stamp stamp;
    bool folder = false;
    if (!StampOf(path, stamp, folder)) {
        NoteMissing(path, now);
        return false;
    }
    if (folder) {
        return false;
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto kept = m_files.find(path);
        if (kept != m_files.end() && kept->second.stamp == stamp) {
            bytes = kept->second.bytes;
            return true;
        }
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    auto read = std::make_shared<const std::string>(content.str());
    bytes = read;
    // Read after the stamp was taken: a write in between leaves a stamp that no longer matches.
    if (!Settled(stamp, now) || read->size() > kMaxKeptFile) {
        return true;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto old = m_files.find(path);
    if (old != m_files.end()) {
        m_fileBytes -= old->second.bytes->size();
        m_files.erase(old);
    }
    if (m_fileBytes + read->size() > kMaxKeptBytes) {
        m_files.clear();
        m_fileBytes = 0;
    }
    m_files[path] = KeptFile{stamp, read};
    m_fileBytes += read->size();
    return true;
}

std::string SimFileCache::ParentOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool SimFileCache::KnownMissing(const std::string& path) {
    Stamp kept;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_missing.find(path);
        if (found == m_missing.end()) {
            return false;
        }
        kept = found->second;
    }
    Stamp stamp;
    bool folder = false;
    return StampOf(ParentOf(path), stamp, folder) && folder && stamp == kept;
}

void SimFileCache::NoteMissing(const std::string& path, unsigned long long now) {
    // A file made since the failed look-up has made the folder's time recent, so not kept.
    Stamp stamp;
    bool folder = false;
    if (!StampOf(ParentOf(path), stamp, folder) || !folder || !Settled(stamp, now)) {
        return;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_missing.size() >= kMaxKeptFolders) {
        m_missing.clear();
    }
    m_missing[path] = stamp;
}

std::vector<FolderEntry> SimFileCache::ListNow(const std::string& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        FolderEntry entry;
        entry.name = found.cFileName;
        if (entry.name == "." || entry.name == "..") {
            continue;
        }
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = static_cast<long long>(Combine(found.nFileSizeHigh, found.nFileSizeLow));
        entry.stamp =
            Combine(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
        entries.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

bool SimFileCache::Refresh(const std::string& folder, std::vector<FolderEntry>& entries) {
    for (FolderEntry& entry : entries) {
        if (entry.folder) {
            continue;
        }
        Stamp stamp;
        bool isFolder = false;
        if (!StampOf(folder + "\\" + entry.name, stamp, isFolder) || isFolder) {
            return false;
        }
        entry.size = stamp.size;
        entry.stamp = stamp.written;
    }
    return true;
}

std::vector<FolderEntry> SimFileCache::List(const std::string& folder) {
    const unsigned long long now = Now();
    Stamp stamp;
    bool isFolder = false;
    if (!StampOf(folder, stamp, isFolder) || !isFolder) {
        return std::vector<FolderEntry>();
    }
    // A folder's last-write time changes when entries come or go, not when a file is rewritten.
    std::vector<FolderEntry> entries;
    bool kept = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_folders.find(folder);
        if (found != m_folders.end() && found->second.stamp == stamp) {
            entries = found->second.entries;
            kept = true;
        }
    }
    if (kept && Refresh(folder, entries)) {
        return entries;
    }
    entries = ListNow(folder);
    if (Settled(stamp, now)) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_folders.size() >= kMaxKeptFolders) {
            m_folders.clear();
        }
        m_folders[folder] = KeptFolder{stamp, entries};
    }
    return entries;
}

void SimFileCache::Clear() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_files.clear();
    m_fileBytes = 0;
    m_missing.clear();
    m_folders.clear();
}

} // namespace orvexsim
