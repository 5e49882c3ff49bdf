#include "FileSpec.h"

#include "Conversions.h"

#include <windows.h>

namespace CommonCpp {

namespace {

// Opens and closes at once: only whether the open works matters.
bool ProbeOpen(const std::string& path, DWORD access, DWORD disposition, DWORD flags,
               DWORD* error) {
    HANDLE handle = CreateFileA(path.c_str(), access, 0, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error != nullptr) {
            *error = GetLastError();
        }
        return false;
    }
    CloseHandle(handle);
    return true;
}

} // namespace

FileSpec::FileSpec() = default;

FileSpec::FileSpec(const std::string& path) : m_path(path) {}

FileSpec::~FileSpec() = default;

bool FileSpec::Exists() const {
    return GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long FileSpec::GetSize() const {
    std::FILE* file = Open("rb");
    if (file == nullptr) {
        return -1;
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
    }
    std::fclose(file);
    return size;
}

void FileSpec::Delete() const {
    if (Exists()) {
        std::remove(m_path.c_str());
    }
}

void FileSpec::CopyTo(const FileSpec& destination) const {
    if (!Exists()) {
        return;
    }
    if (destination.Exists()) {
        destination.Delete();
    }
    CopyFileA(m_path.c_str(), destination.GetPath().c_str(), FALSE);
}

bool FileSpec::IsReadable() const {
    return ProbeOpen(m_path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool FileSpec::IsWritable() const {
    if (!Exists()) {
        return true;
    }
    DWORD error = 0;
    if (ProbeOpen(m_path, GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, &error)) {
        return true;
    }
    if (error == ERROR_ACCESS_DENIED) {
        return false;
    }
    return ProbeOpen(m_path, GENERIC_WRITE, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::FILE* FileSpec::Open(const char* mode) const {
    return std::fopen(m_path.c_str(), mode);
}

bool FileSpec::IsSet() const {
    return !m_path.empty();
}

void FileSpec::Clear() {
    m_path.clear();
}

std::string FileSpec::GetFileName() const {
    const std::string::size_type backslash = m_path.rfind('\\');
    if (backslash != std::string::npos) {
        return m_path.substr(backslash + 1);
    }
    const std::string::size_type slash = m_path.rfind('/');
    if (slash != std::string::npos) {
        return m_path.substr(slash + 1);
    }
    return m_path;
}

std::string FileSpec::GetBaseName() const {
    const std::string name = GetFileName();
    const std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string FileSpec::GetExtension() const {
    const std::string name = GetFileName();
    const std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string FileSpec::GetDirectory() const {
    const std::string::size_type backslash = m_path.rfind('\\');
    return backslash == std::string::npos ? m_path : m_path.substr(0, backslash + 1);
}

void FileSpec::SetBaseAndExtension(const std::string& stem, const std::string& extension) {
    m_path = stem + "." + extension;
}

void FileSpec::SetNumberedName(const std::string& stem, int number, const std::string& extension) {
    m_path = stem + IntToString(number) + "." + extension;
}

const std::string& FileSpec::GetPath() const {
    return m_path;
}

void FileSpec::SetPath(const std::string& path) {
    m_path = path;
}

void FileSpec::AssignPath(const std::string& path) {
    m_path = path;
}

} // namespace CommonCpp
