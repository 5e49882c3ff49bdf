#pragma once
// A file named by one path text. Directory, name, base name and extension are derived from the
// path as it stands (never normalised); no operation keeps the file open, and none throws.

#include <cstdio>
#include <string>

namespace CommonCpp {

class FileSpec {
public:
    FileSpec();
    explicit FileSpec(const std::string& path);
    FileSpec(const FileSpec& other) = default;
    FileSpec& operator=(const FileSpec& other) = default;
    virtual ~FileSpec();

    virtual bool Exists() const;
    // -1 when the file cannot be opened.
    virtual long GetSize() const;
    // Removes the file when it exists; failures are ignored.
    virtual void Delete() const;
    // Only when this file exists: replaces the destination with a copy; the outcome is not told.
    virtual void CopyTo(const FileSpec& destination) const;
    virtual bool IsReadable() const;
    // A file that does not exist counts as writable.
    virtual bool IsWritable() const;
    // fopen of the path; null on failure. The caller closes the stream.
    virtual std::FILE* Open(const char* mode) const;
    virtual bool IsSet() const;
    virtual void Clear();

    // After the last backslash; without one, after the last forward slash; else the whole path.
    virtual std::string GetFileName() const;
    // The file name up to its last "."; all of it when it has none.
    virtual std::string GetBaseName() const;
    // The file name after its last "."; empty when it has none.
    virtual std::string GetExtension() const;
    // Up to and including the last backslash; the whole path when it holds none.
    virtual std::string GetDirectory() const;

    // The stem is the full path up to the dot: stem + "." + extension.
    virtual void SetBaseAndExtension(const std::string& stem, const std::string& extension);
    // stem + number in decimal + "." + extension.
    virtual void SetNumberedName(const std::string& stem, int number, const std::string& extension);

    virtual const std::string& GetPath() const;
    virtual void SetPath(const std::string& path);
    void AssignPath(const std::string& path);

private:
    std::string m_path;
};

} // namespace CommonCpp
