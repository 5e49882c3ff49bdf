// Temporary page files: which drive is chosen, the fall-back to the temporary folder, and names
// that stay unique within one second and between processes.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "TempPageFiles.h"

namespace {

struct FakeDrive {
    unsigned type;
    std::uint64_t free;
    bool answers = true;
};

class FakeSystem : public TempFileSystem {
public:
    std::map<char, FakeDrive> drives;
    std::string temporary = "C:\\users\\me\\Temp\\";
    bool probesSucceed = true;
    std::vector<std::string> probes;
    TempFileTime now = {2026, 12, 9, 9, 30, 5};
    std::uint32_t process = 4242;

    std::uint32_t LogicalDrives() override {
        std::uint32_t mask = 0;
        for (const auto& drive : drives) {
            mask |= 1u << (drive.first - 'A');
        }
        return mask;
    }
    unsigned DriveType(const std::string& root) override { return drives.at(root[0]).type; }
    bool FreeBytes(const std::string& root, std::uint64_t& free) override {
        const FakeDrive& drive = drives.at(root[0]);
        free = drive.free;
        return drive.answers;
    }
    bool ProbeNewFile(const std::string& path) override {
        probes.push_back(path);
        return probesSucceed;
    }
    std::string TemporaryFolder() override { return temporary; }
    TempFileTime UtcNow() override { return now; }
    std::uint32_t ProcessId() override { return process; }
};

constexpr std::uint64_t GB = 1024ull * 1024 * 1024;

TEST(TempPageFilesTest, TheFixedDriveWithTheMostFreeSpace) {
    struct Case {
        const char* what;
        std::map<char, FakeDrive> drives;
        const char* folder;
    };
    const Case cases[] = {
        {"more space on the later letter",
         {{'C', {DRIVE_FIXED, 10 * GB}}, {'D', {DRIVE_FIXED, 20 * GB}}},
         "D:\\"},
        {"equal space keeps the earlier letter",
         {{'C', {DRIVE_FIXED, 20 * GB}}, {'D', {DRIVE_FIXED, 20 * GB}}},
         "C:\\"},
        {"removable, network, CD and RAM drives do not count",
         {{'A', {DRIVE_REMOVABLE, 90 * GB}},
          {'C', {DRIVE_FIXED, 1 * GB}},
          {'E', {DRIVE_CDROM, 90 * GB}},
          {'R', {DRIVE_RAMDISK, 90 * GB}},
          {'Z', {DRIVE_REMOTE, 90 * GB}}},
         "C:\\"},
        {"a drive that does not answer is skipped",
         {{'C', {DRIVE_FIXED, 5 * GB}}, {'D', {DRIVE_FIXED, 50 * GB, false}}},
         "C:\\"},
        {"a full drive is never chosen", {{'C', {DRIVE_FIXED, 0}}}, ""},
    };
    for (const Case& c : cases) {
        FakeSystem system;
        system.drives = c.drives;
        std::string folder;
        std::uint64_t best = 0;
        EXPECT_EQ(*c.folder != '\0', SelectTempDrive(folder, best, system)) << c.what;
        EXPECT_EQ(c.folder, folder) << c.what;
    }
}

TEST(TempPageFilesTest, EveryFailureFallsBackToTheTemporaryFolder) {
    FakeSystem system;
    std::string folder;
    std::uint64_t free = 7;
    // No drives at all, no fixed one, a full one: the temporary folder.
    EXPECT_TRUE(GetTempDirectory(folder, free, system));
    EXPECT_EQ(system.temporary, folder);
    EXPECT_EQ(0u, free);
    system.drives = {{'Z', {DRIVE_REMOTE, 90 * GB}}};
    EXPECT_TRUE(GetTempDirectory(folder, free, system));
    EXPECT_EQ(system.temporary, folder);
    system.drives = {{'C', {DRIVE_FIXED, 0}}};
    EXPECT_TRUE(GetTempDirectory(folder, free, system));
    EXPECT_EQ(system.temporary, folder);
    // A drive that takes no file.
    system.drives = {{'C', {DRIVE_FIXED, 9 * GB}}};
    system.probesSucceed = false;
    EXPECT_TRUE(GetTempDirectory(folder, free, system));
    EXPECT_EQ(system.temporary, folder);
    ASSERT_EQ(1u, system.probes.size());
    EXPECT_EQ(0u, system.probes[0].find("C:\\Temp12092026093005_4242_"));
    EXPECT_EQ("..tmp", system.probes[0].substr(system.probes[0].size() - 5));
    // No temporary folder either: nothing.
    system.temporary.clear();
    EXPECT_FALSE(GetTempDirectory(folder, free, system));
    EXPECT_TRUE(folder.empty());
    // A drive that takes the probe file.
    system.probesSucceed = true;
    EXPECT_TRUE(GetTempDirectory(folder, free, system));
    EXPECT_EQ("C:\\", folder);
    EXPECT_EQ(9 * GB, free);
}

TEST(TempPageFilesTest, NamesCarryTheTimeAndStayUnique) {
    FakeSystem system;
    const std::string first = MakeTempFileName(nullptr, nullptr, system);
    const std::string second = MakeTempFileName(nullptr, nullptr, system);
    EXPECT_EQ(0u, first.find("Temp12092026093005_4242_")) << first;
    EXPECT_NE(first, second) << "two names in the same second";
    system.process = 4243;
    const std::string other = MakeTempFileName(nullptr, nullptr, system);
    EXPECT_EQ(0u, other.find("Temp12092026093005_4243_")) << "another process, another name";
    EXPECT_EQ(0u, MakeTempFileName("", "", system).find("Temp1209"));
    const std::string page = MakeTempFileName("Page", "jpg", system);
    EXPECT_EQ(0u, page.find("Page12092026093005_"));
    EXPECT_EQ(".jpg", page.substr(page.size() - 4));
    EXPECT_EQ(std::string::npos, MakeTempFileName(nullptr, "", system).find('.'));
    std::set<std::string> names;
    for (int i = 0; i < 1000; ++i) {
        names.insert(MakeTempFileName(nullptr, "raw"));
    }
    EXPECT_EQ(1000u, names.size());
}

TEST(TempPageFilesTest, TheRealSystemGivesAFolderThatTakesFiles) {
    std::string folder;
    std::uint64_t free = 0;
    ASSERT_TRUE(GetTempDirectory(folder, free));
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ('\\', folder.back());
    EXPECT_TRUE(CreateTempFile(folder));
}

} // namespace
