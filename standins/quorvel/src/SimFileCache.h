#pragma once
// Fixture files and folder listings kept between calls, so that the block reads of one page do
// not read the server's folders again for every block. Every use compares the last-write time
// and size with those of the kept copy, so a fixture a test rewrites is read afresh. What was
// written in the last few seconds is never kept: a second write within the file system's time
// granularity may leave both unchanged.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace orvexsim {

struct FolderEntry {
    std::string name;
    bool folder = false;
    // Size and last-write time, as they are now for files.
    long long size = 0;
    unsigned long long stamp = 0;
};

class SimFileCache {
public:
    // Never destroyed: callbacks may still call the library while the process shuts down.
    static SimFileCache& Instance();

    SimFileCache(const SimFileCache&) = delete;
    SimFileCache& operator=(const SimFileCache&) = delete;

    // The whole file; false when there is no file to open (missing, or a folder).
    bool Read(const std::string& path, std::shared_ptr<const std::string>& bytes);
    // The folder's entries in name order, without "." and ".."; empty when it cannot be listed.
    std::vector<FolderEntry> List(const std::string& folder);
    void Clear();

private:
    struct Stamp {
        unsigned long long written = 0;
        long long size = 0;
        bool operator==(const Stamp& other) const {
            return written == other.written && size == other.size;
        }
    };
    struct KeptFile {
        Stamp stamp;
        std::shared_ptr<const std::string> bytes;
    };
    struct KeptFolder {
        Stamp stamp;
        std::vector<FolderEntry> entries;
    };

    SimFileCache() = default;

    // False when the path names nothing; folder tells a folder from a file.
    static bool StampOf(const std::string& path, Stamp& stamp, bool& folder);
    static unsigned long long Now();
    static bool Settled(const Stamp& stamp, unsigned long long now);
    static std::string ParentOf(const std::string& path);
    // A file found missing stays so while its folder keeps its last-write time.
    bool KnownMissing(const std::string& path);
    void NoteMissing(const std::string& path, unsigned long long now);
    static std::vector<FolderEntry> ListNow(const std::string& folder);
    // The kept listing with each file's size and time as they are now; false when a file is
    // gone or changed kind, which a fresh listing then shows.
    static bool Refresh(const std::string& folder, std::vector<FolderEntry>& entries);

    std::mutex m_mutex;
    std::map<std::string, KeptFile> m_files;
    size_t m_fileBytes = 0;
    std::map<std::string, Stamp> m_missing; // path -> its folder's stamp
    std::map<std::string, KeptFolder> m_folders;
};

} // namespace orvexsim
