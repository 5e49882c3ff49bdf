#include "zylBinaryWriteFile.h"

#include "BinaryFileException.h"

#include <cerrno>
#include <utility>

namespace CommonCpp {

zylBinaryWriteFile::zylBinaryWriteFile(const FileSpec& spec) : zylFile(), m_swap(false) {
    if (!Open(spec, ModeBinary | ModeCreate | ModeWriteOnly)) {
        throw BinaryFileException(__FILE__, __LINE__, BinaryFileException::CantOpen,
                                  spec.GetFileName(), errno);
    }
}

zylBinaryWriteFile::~zylBinaryWriteFile() = default;

void zylBinaryWriteFile::WriteUInt16(std::uint16_t value) {
    unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                              static_cast<unsigned char>(value >> 8)};
    if (m_swap) {
        std::swap(bytes[0], bytes[1]);
    }
    Write(bytes, sizeof bytes);
}

void zylBinaryWriteFile::WriteUInt32(std::uint32_t value) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) {
        const int at = m_swap ? 3 - i : i;
        bytes[at] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
    }
    Write(bytes, sizeof bytes);
}

} // namespace CommonCpp
