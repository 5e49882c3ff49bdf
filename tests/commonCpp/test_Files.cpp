#include "BinaryFileException.h"
#include "FileSpec.h"
#include "zylBinaryWriteFile.h"
#include "zylFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using CommonCpp::BinaryFileException;
using CommonCpp::FileSpec;
using CommonCpp::zylBinaryWriteFile;
using CommonCpp::zylFile;

namespace {

// A folder of its own under the Windows temp folder, removed with what it holds.
class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
        m_dir = std::string(temp) + "commoncpp_files_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        m_dir += "\\";
    }
    void TearDown() override {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_dir + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") {
                    continue;
                }
                const std::string file = m_dir + name;
                if (!DeleteFileA(file.c_str())) {
                    RemoveDirectoryA(file.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(m_dir.c_str());
    }

    std::string PathOf(const std::string& name) const { return m_dir + name; }

    std::string Write(const std::string& name, const std::string& content) const {
        const std::string path = PathOf(name);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
        return path;
    }

    static std::string Content(const std::string& path) {
        std::string content;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) {
            return "<missing>";
        }
        char buffer[256];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            content.append(buffer, n);
        }
        std::fclose(f);
        return content;
    }

    std::string m_dir;
};

template <typename Action> BinaryFileException CaughtFrom(Action action) {
    try {
        action();
    } catch (const BinaryFileException& e) {
        return e;
    }
    ADD_FAILURE() << "no BinaryFileException";
    return BinaryFileException("", 0, 0, "", 0);
}

} // namespace

TEST(FileSpecPaths, Parts) {
    const struct {
        const char* path;
        const char* fileName;
        const char* baseName;
        const char* extension;
        const char* directory;
    } cases[] = {
        {"C:\\dir\\name.tar.gz", "name.tar.gz", "name.tar", "gz", "C:\\dir\\"},
        {"a\\b/c", "b/c", "b/c", "", "a\\"}, // the backslash decides
        {"dir/sub/file.txt", "file.txt", "file", "txt", "dir/sub/file.txt"},
        {"bare.name", "bare.name", "bare", "name", "bare.name"},
        {"C:\\dir.d\\noext", "noext", "noext", "", "C:\\dir.d\\"},
        {"C:\\dir\\", "", "", "", "C:\\dir\\"},
        {"C:\\dir\\.hidden", ".hidden", "", "hidden", "C:\\dir\\"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        const FileSpec spec(c.path);
        EXPECT_EQ(c.fileName, spec.GetFileName()) << c.path;
        EXPECT_EQ(c.baseName, spec.GetBaseName()) << c.path;
        EXPECT_EQ(c.extension, spec.GetExtension()) << c.path;
        EXPECT_EQ(c.directory, spec.GetDirectory()) << c.path;
    }
}

TEST(FileSpecPaths, BuildingNames) {
    FileSpec spec;
    EXPECT_FALSE(spec.IsSet());
    spec.SetNumberedName("C:\\tmp\\page", 3, "tmp");
    EXPECT_EQ("C:\\tmp\\page3.tmp", spec.GetPath());
    spec.SetNumberedName("C:\\tmp\\page", -12, "raw");
    EXPECT_EQ("C:\\tmp\\page-12.raw", spec.GetPath());
    spec.SetBaseAndExtension("C:\\out\\scan", "pdf");
    EXPECT_EQ("C:\\out\\scan.pdf", spec.GetPath());
    EXPECT_TRUE(spec.IsSet());

    FileSpec copy(spec);
    spec.Clear();
    EXPECT_FALSE(spec.IsSet());
    EXPECT_EQ("C:\\out\\scan.pdf", copy.GetPath());
    copy = copy;
    EXPECT_EQ("C:\\out\\scan.pdf", copy.GetPath());
    copy.AssignPath("x.y");
    EXPECT_EQ("x.y", copy.GetPath());
}

using FileSpecOnDisk = TempFolder;

TEST_F(FileSpecOnDisk, ExistsSizeDelete) {
    const FileSpec missing(PathOf("missing.bin"));
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(-1, missing.GetSize());
    EXPECT_NO_THROW(missing.Delete());

    const FileSpec empty(Write("empty.bin", ""));
    EXPECT_TRUE(empty.Exists());
    EXPECT_EQ(0, empty.GetSize());

    const FileSpec full(Write("full.bin", std::string(1000, 'x')));
    EXPECT_EQ(1000, full.GetSize());
    full.Delete();
    EXPECT_FALSE(full.Exists());
}

TEST_F(FileSpecOnDisk, CopyTo) {
    const FileSpec destination(Write("dest.txt", "old"));
    FileSpec(PathOf("missing.txt")).CopyTo(destination);
    EXPECT_EQ("old", Content(destination.GetPath())) << "a missing source leaves it untouched";

    const FileSpec source(Write("source.txt", "new content"));
    source.CopyTo(destination);
    EXPECT_EQ("new content", Content(destination.GetPath()));

    const FileSpec fresh(PathOf("fresh.txt"));
    source.CopyTo(fresh);
    EXPECT_EQ("new content", Content(fresh.GetPath()));
}

TEST_F(FileSpecOnDisk, ReadableAndWritable) {
    const FileSpec missing(PathOf("missing.txt"));
    EXPECT_FALSE(missing.IsReadable());
    EXPECT_TRUE(missing.IsWritable()) << "a file that does not exist can be written";

    const FileSpec plain(Write("plain.txt", "x"));
    EXPECT_TRUE(plain.IsReadable());
    EXPECT_TRUE(plain.IsWritable());

    // Opening a folder for writing is refused outright.
    ASSERT_TRUE(CreateDirectoryA(PathOf("folder").c_str(), nullptr));
    const FileSpec folder(PathOf("folder"));
    EXPECT_TRUE(folder.Exists());
    EXPECT_FALSE(folder.IsWritable());

    // Held open without sharing by someone else: neither.
    HANDLE held = CreateFileA(plain.GetPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(plain.IsReadable());
    EXPECT_FALSE(plain.IsWritable());
    CloseHandle(held);
    EXPECT_TRUE(plain.Exists());
}

TEST(BinaryFileModes, FlagsToModeText) {
    const struct {
        std::uint32_t flags;
        const char* mode;
    } cases[] = {
        {0x9001, "wb"}, {0x9000, "w+b"}, {0x8002, "r+b"}, {0x8000, "rb"},
        {0x0000, "r"},  {0x0002, "r+"},  {0x0001, "w"},   {0x1000, "w+"},
        {0x3001, "a"},  {0xB000, "a+b"}, {0x2000, "r"}, // append alone opens for reading
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.mode, zylFile::ModeText(c.flags)) << std::hex << c.flags;
    }
}

using BinaryFiles = TempFolder;

TEST_F(BinaryFiles, ReadsAndPositions) {
    const std::string path = Write("sixty.bin", std::string(60, 'a'));
    zylFile file(FileSpec(path), 0x8000);
    EXPECT_EQ("sixty.bin", file.GetFileSpec().GetFileName());

    char buffer[100];
    EXPECT_EQ(60u, file.Read(buffer, sizeof buffer)) << "a short read at the end is no failure";
    EXPECT_TRUE(file.IsEof());

    file.Seek(10, SEEK_SET);
    EXPECT_EQ(10, file.Tell());
    EXPECT_EQ(60, file.GetSize());
    EXPECT_EQ(10, file.Tell()) << "GetSize keeps the position";
    EXPECT_EQ(50u, file.ReadBlock(buffer, sizeof buffer));

    file.Close();
    file.Close();
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(BinaryFiles, LinesAndStrings) {
    zylFile out;
    ASSERT_TRUE(out.OpenByName(PathOf("lines.txt"), zylFile::ModeWriteOnly));
    EXPECT_TRUE(out.WriteString("first\nsecond\n"));
    out.Close();

    zylFile in;
    ASSERT_TRUE(in.OpenByCString(PathOf("lines.txt").c_str(), 0));
    char line[8];
    ASSERT_TRUE(in.ReadLine(line, sizeof line));
    EXPECT_STREQ("first\n", line);
    ASSERT_TRUE(in.ReadLine(line, sizeof line));
    EXPECT_STREQ("second\n", line);
    EXPECT_FALSE(in.ReadLine(line, sizeof line));
}

TEST_F(BinaryFiles, OpenFailures) {
    zylFile file;
    EXPECT_FALSE(file.OpenByName(PathOf("missing.bin"), 0x8000));
    EXPECT_FALSE(file.IsOpen());

    const BinaryFileException e =
        CaughtFrom([&] { zylFile opened(FileSpec(PathOf("missing.bin")), 0x8000); });
    EXPECT_EQ(BinaryFileException::CantOpen, e.GetReason());
    EXPECT_EQ(ENOENT, e.GetErrno());
    EXPECT_EQ(std::string("missing.bin; error:") + std::strerror(ENOENT), e.GetFileName());
    EXPECT_EQ(std::strerror(ENOENT), e.GetDescription());

    const BinaryFileException w =
        CaughtFrom([&] { zylBinaryWriteFile out(FileSpec(PathOf("no\\such\\dir\\out.bmp"))); });
    EXPECT_EQ(BinaryFileException::CantOpen, w.GetReason());
    EXPECT_EQ("out.bmp", w.GetFileName()) << "the writer adds no error text";
}

TEST_F(BinaryFiles, ReadWriteAndSeekFailures) {
    const std::string path = Write("data.bin", "0123456789");
    {
        zylFile writeOnly(FileSpec(path), 0x9001);
        char buffer[4];
        const BinaryFileException e = CaughtFrom([&] { writeOnly.Read(buffer, sizeof buffer); });
        EXPECT_EQ(BinaryFileException::CantRead, e.GetReason());
        EXPECT_EQ("data.bin", e.GetFileName());

        const BinaryFileException s = CaughtFrom([&] { writeOnly.Seek(-5, SEEK_SET); });
        EXPECT_EQ(BinaryFileException::CantSetPosition, s.GetReason());
        EXPECT_EQ(EINVAL, s.GetErrno());
        EXPECT_EQ(0u + 3u, writeOnly.Write("abc", 3)) << "still usable after a failure";
    }
    zylFile readOnly(FileSpec(path), 0x8000);
    const BinaryFileException e = CaughtFrom([&] { readOnly.Write("abc", 3); });
    EXPECT_EQ(BinaryFileException::CantWrite, e.GetReason());
    EXPECT_EQ("data.bin", e.GetFileName());
}

TEST_F(BinaryFiles, WriterByteOrder) {
    {
        zylBinaryWriteFile out(FileSpec(PathOf("order.bin")));
        EXPECT_FALSE(out.GetSwap());
        out.WriteUInt16(0x0102);
        out.WriteUInt32(0x03040506);
        out.SetSwap(true);
        out.WriteUInt16(0x0102);
        out.WriteUInt32(0x03040506);
    }
    EXPECT_EQ(std::string("\x02\x01\x06\x05\x04\x03\x01\x02\x03\x04\x05\x06", 12),
              Content(PathOf("order.bin")));
}

TEST_F(BinaryFiles, OwnershipMoves) {
    zylFile first(FileSpec(Write("moved.bin", "xyz")), 0x8000);
    zylFile second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    ASSERT_TRUE(second.IsOpen());
    char buffer[3];
    EXPECT_EQ(3u, second.Read(buffer, sizeof buffer));

    zylFile third;
    third = std::move(second);
    EXPECT_TRUE(third.IsOpen());
    EXPECT_EQ("moved.bin", third.GetFileSpec().GetFileName());
}
