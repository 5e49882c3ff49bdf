#pragma once
// What the library's file objects offer; failures surface as BinaryFileException.

#include "FileSpec.h"

#include <cstdint>

namespace CommonCpp {

class zylFileIntf {
public:
    virtual FileSpec GetFileSpec() const = 0;
    virtual std::uint32_t Read(void* buffer, std::uint32_t size) = 0;
    virtual std::uint32_t Write(const void* buffer, std::uint32_t size) = 0;
    virtual bool ReadLine(char* buffer, int size) = 0;
    virtual bool WriteString(const char* text) = 0;
    virtual long Tell() const = 0;
    // origin: 0 start, 1 current position, 2 end.
    virtual void Seek(long offset, int origin) = 0;
    virtual long GetSize() = 0;
    virtual bool IsEof() const = 0;
    virtual void Flush() = 0;
    virtual void Close() {}
    virtual ~zylFileIntf() = default;

protected:
    zylFileIntf() = default;
    zylFileIntf(const zylFileIntf&) = default;
    zylFileIntf& operator=(const zylFileIntf&) = default;
};

} // namespace CommonCpp
