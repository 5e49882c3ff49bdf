#pragma once
// Where the page files fetched from the server go and what they are called: the root of the
// local fixed drive with the most free space when a file can be made there, else the system's
// temporary folder; names from a prefix, the UTC time and a part that keeps them unique.
// TempFileSystem is the seam to the system calls, so tests can give drives of their own.

#include <cstdint>
#include <string>

// A UTC time to the second.
struct TempFileTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class TempFileSystem {
public:
    TempFileSystem() = default;
    TempFileSystem(const TempFileSystem&) = delete;
    TempFileSystem& operator=(const TempFileSystem&) = delete;
    virtual ~TempFileSystem();

    // The system itself.
    static TempFileSystem& Real();

    // Bit 0 is A:.
    virtual std::uint32_t LogicalDrives();
    // The Win32 drive type (DRIVE_FIXED, DRIVE_REMOTE ...) of a root such as "C:\".
    virtual unsigned DriveType(const std::string& root);
    // The bytes free to the caller; false when the drive does not answer.
    virtual bool FreeBytes(const std::string& root, std::uint64_t& free);
    // Makes the file new (failing when it exists) and lets it vanish again at once.
    virtual bool ProbeNewFile(const std::string& path);
    // With its final backslash; empty when there is none.
    virtual std::string TemporaryFolder();
    virtual TempFileTime UtcNow();
    virtual std::uint32_t ProcessId();
};

// The folder for page files, ending with a backslash, and the free bytes of the drive chosen
// (0 when none was). False only when not even the temporary folder is known.
bool GetTempDirectory(std::string& folder, std::uint64_t& freeBytes,
                      TempFileSystem& system = TempFileSystem::Real());

// The root of the fixed drive with more bytes free than best and than every earlier letter,
// when there is one: folder and best become its root and its free bytes. True when folder is
// not empty afterwards.
bool SelectTempDrive(std::string& folder, std::uint64_t& best,
                     TempFileSystem& system = TempFileSystem::Real());

// prefix ("Temp" when null or empty), then month, day, year, hour, minute and second of the UTC
// time ("%.2d%.2d%.4d%.2d%.2d%.2d"), then "_", the process id, "_" and a number counted up in
// the process, so that two names never meet; then "." and the extension unless that is null
// or empty.
std::string MakeTempFileName(const char* prefix, const char* extension,
                             TempFileSystem& system = TempFileSystem::Real());

// Whether a new file can be made in the folder (which ends with a backslash).
bool CreateTempFile(const std::string& folder, TempFileSystem& system = TempFileSystem::Real());
