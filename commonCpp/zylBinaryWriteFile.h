#pragma once
// A file opened for binary writing ("wb") that writes 16- and 32-bit values, least significant
// byte first unless swapping is asked for.

#include "FileSpec.h"
#include "zylFile.h"

#include <cstdint>

namespace CommonCpp {

class zylBinaryWriteFile : public zylFile {
public:
    // Throws BinaryFileException (can't open) with the file name.
    explicit zylBinaryWriteFile(const FileSpec& spec);
    ~zylBinaryWriteFile() override;

    void SetSwap(bool swap) { m_swap = swap; }
    bool GetSwap() const { return m_swap; }

    // Short writes throw (can't write).
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);

private:
    bool m_swap;
};

} // namespace CommonCpp
