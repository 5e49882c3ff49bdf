#include "zylFile.h"

#include "BinaryFileException.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace CommonCpp {

zylFile::zylFile() : m_file(nullptr) {}

zylFile::zylFile(const FileSpec& spec, std::uint32_t mode) : m_file(nullptr) {
    if (!Open(spec, mode)) {
        const int err = errno;
        const char* text = std::strerror(err);
        throw BinaryFileException(__FILE__, __LINE__, BinaryFileException::CantOpen,
                                  spec.GetFileName() + "; error:" + (text != nullptr ? text : ""),
                                  err);
    }
}

zylFile::zylFile(zylFile&& other) noexcept
    : m_file(std::exchange(other.m_file, nullptr)), m_spec(std::move(other.m_spec)) {}

zylFile& zylFile::operator=(zylFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_file = std::exchange(other.m_file, nullptr);
        m_spec = std::move(other.m_spec);
    }
    return *this;
}

zylFile::~zylFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void zylFile::Fail(int reason, int line, int errnoValue) const {
    throw BinaryFileException(__FILE__, line, reason, m_spec.GetFileName(), errnoValue);
}

FileSpec zylFile::GetFileSpec() const {
    return m_spec;
}

std::uint32_t zylFile::Read(void* buffer, std::uint32_t size) {
    errno = 0;
    const std::size_t count = std::fread(buffer, 1, size, m_file);
    if (count < size && !std::feof(m_file)) {
        Fail(BinaryFileException::CantRead, __LINE__, errno);
    }
    return static_cast<std::uint32_t>(count);
}

std::uint32_t zylFile::Write(const void* buffer, std::uint32_t size) {
    errno = 0;
    const std::size_t count = std::fwrite(buffer, 1, size, m_file);
    if (count < size) {
        Fail(BinaryFileException::CantWrite, __LINE__, errno);
    }
    return static_cast<std::uint32_t>(count);
}

bool zylFile::ReadLine(char* buffer, int size) {
    return std::fgets(buffer, size, m_file) != nullptr;
}

bool zylFile::WriteString(const char* text) {
    return std::fputs(text, m_file) >= 0;
}

long zylFile::Tell() const {
    errno = 0;
    const long position = std::ftell(m_file);
    if (position == -1) {
        Fail(BinaryFileException::CantGetPosition, __LINE__, errno);
    }
    return position;
}

void zylFile::Seek(long offset, int origin) {
    errno = 0;
    if (std::fseek(m_file, offset, origin) != 0) {
        Fail(BinaryFileException::CantSetPosition, __LINE__, errno);
    }
}

long zylFile::GetSize() {
    Flush();
    const long position = Tell();
    Seek(0, SEEK_END);
    const long size = Tell();
    Seek(position, SEEK_SET);
    return size;
}

bool zylFile::IsEof() const {
    return std::feof(m_file) != 0;
}

void zylFile::Flush() {
    std::fflush(m_file);
}

void zylFile::Close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool zylFile::Open(const FileSpec& spec, std::uint32_t mode) {
    Close();
    std::FILE* file = spec.Open(ModeText(mode).c_str());
    if (file == nullptr) {
        return false;
    }
    m_file = file;
    m_spec = spec;
    return true;
}

bool zylFile::OpenByName(const std::string& path, std::uint32_t mode) {
    return Open(FileSpec(path), mode);
}

bool zylFile::OpenByCString(const char* path, std::uint32_t mode) {
    return Open(FileSpec(path != nullptr ? path : ""), mode);
}

std::string zylFile::ModeText(std::uint32_t mode) {
    std::string text;
    if ((mode & ModeWriteOnly) == 0 && (mode & ModeCreate) == 0) {
        text = "r";
        if ((mode & ModeReadWrite) != 0) {
            text += '+';
        }
    } else {
        text = (mode & ModeAppend) != 0 ? "a" : "w";
        if ((mode & ModeWriteOnly) == 0) {
            text += '+';
        }
    }
    if ((mode & ModeBinary) != 0) {
        text += 'b';
    }
    return text;
}

} // namespace CommonCpp
