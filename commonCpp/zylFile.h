#pragma once
// A buffered runtime stream opened through a FileSpec. It owns the stream: moving hands it on,
// copying is not allowed. Operations other than opening need an open stream.

#include "FileSpec.h"
#include "zylFileIntf.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace CommonCpp {

class zylFile : public zylFileIntf {
public:
    // Open-mode flags.
    static constexpr std::uint32_t ModeWriteOnly = 0x0001;
    static constexpr std::uint32_t ModeReadWrite = 0x0002; // an existing file
    static constexpr std::uint32_t ModeCreate = 0x1000;    // create for writing and reading
    static constexpr std::uint32_t ModeAppend = 0x2000;    // instead of truncating
    static constexpr std::uint32_t ModeBinary = 0x8000;

    zylFile();
    // Throws BinaryFileException (can't open) whose file name carries the runtime's error text.
    zylFile(const FileSpec& spec, std::uint32_t mode);
    zylFile(zylFile&& other) noexcept;
    zylFile& operator=(zylFile&& other) noexcept;
    zylFile(const zylFile&) = delete;
    zylFile& operator=(const zylFile&) = delete;
    ~zylFile() override;

    FileSpec GetFileSpec() const override;
    // A short count is returned at end of file; any other short read throws (can't read).
    std::uint32_t Read(void* buffer, std::uint32_t size) override;
    // A short write throws (can't write).
    std::uint32_t Write(const void* buffer, std::uint32_t size) override;
    bool ReadLine(char* buffer, int size) override;
    bool WriteString(const char* text) override;
    long Tell() const override;
    void Seek(long offset, int origin) override;
    // Leaves the position where it was.
    long GetSize() override;
    bool IsEof() const override;
    void Flush() override;
    void Close() override;

    // False when the stream cannot be opened. A stream still open is closed first.
    virtual bool Open(const FileSpec& spec, std::uint32_t mode);
    virtual bool OpenByName(const std::string& path, std::uint32_t mode);
    virtual bool OpenByCString(const char* path, std::uint32_t mode);

    std::uint32_t ReadBlock(void* buffer, std::uint32_t size) { return Read(buffer, size); }
    bool IsOpen() const { return m_file != nullptr; }

    // The runtime's mode text for a set of open-mode flags, e.g. 0x9001 -> "wb".
    static std::string ModeText(std::uint32_t mode);

private:
    [[noreturn]] void Fail(int reason, int line, int errnoValue) const;

    std::FILE* m_file;
    FileSpec m_spec;
};

} // namespace CommonCpp
