#pragma once
// Little-endian fields at any offset of container memory (the 2-byte packing leaves 32-bit
// fields unaligned).

#include "TwainDefs.h"

#include <cstddef>
#include <cstring>

namespace CommonTwain {
namespace ContainerMemory {

inline TW_UINT16 ReadU16(const void* memory, std::size_t offset) {
    TW_UINT16 value;
    std::memcpy(&value, static_cast<const unsigned char*>(memory) + offset, sizeof value);
    return value;
}

inline TW_UINT32 ReadU32(const void* memory, std::size_t offset) {
    TW_UINT32 value;
    std::memcpy(&value, static_cast<const unsigned char*>(memory) + offset, sizeof value);
    return value;
}

inline TW_FIX32 ReadFix32(const void* memory, std::size_t offset) {
    TW_FIX32 value;
    std::memcpy(&value, static_cast<const unsigned char*>(memory) + offset, sizeof value);
    return value;
}

template <typename T> inline void Write(void* memory, std::size_t offset, const T& value) {
    std::memcpy(static_cast<unsigned char*>(memory) + offset, &value, sizeof value);
}

} // namespace ContainerMemory
} // namespace CommonTwain
