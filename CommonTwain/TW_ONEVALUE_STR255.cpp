#include "TW_ONEVALUE_STR255.h"

#include "ContainerMemory.h"
#include "TypeException.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace CommonTwain {

namespace {

constexpr std::size_t TextOffset = offsetof(TW_ONEVALUE, Item);

} // namespace

TW_ONEVALUE_STR255::TW_ONEVALUE_STR255(const STR_value255& value)
    : TW_AbstractOneValue(TWTY_STR255), m_value(value) {}

TW_ONEVALUE_STR255::TW_ONEVALUE_STR255(const TW_ONEVALUE* memory, unsigned long blockSize)
    : TW_AbstractOneValue(TWTY_STR255) {
    ReadFrom(memory, blockSize);
}

void TW_ONEVALUE_STR255::ReadFrom(const TW_ONEVALUE* memory, unsigned long blockSize) {
    if (memory == nullptr || blockSize < TextOffset ||
        ContainerMemory::ReadU16(memory, 0) != TWTY_STR255) {
        throw TypeException(__FILE__, __LINE__);
    }
    const char* text = reinterpret_cast<const char*>(memory) + TextOffset;
    const std::size_t available =
        std::min<std::size_t>(blockSize - TextOffset, STR_value255::Capacity - 1);
    m_value.SetStdString(std::string(text, strnlen(text, available)));
}

std::string TW_ONEVALUE_STR255::Dump() const {
    return "TW_ONEVALUE_STR255(" + m_value.Dump() + ")";
}

std::unique_ptr<TW_Container> TW_ONEVALUE_STR255::Clone() const {
    return std::make_unique<TW_ONEVALUE_STR255>(*this);
}

unsigned TW_ONEVALUE_STR255::GetTotalSize() const {
    return sizeof(TW_ONEVALUE) + sizeof(TW_STR255);
}

void TW_ONEVALUE_STR255::WriteOneValue(TW_ONEVALUE* memory) const {
    ContainerMemory::Write(memory, 0, GetItemType());
    char text[STR_value255::Capacity] = {};
    m_value.CopyTo(text, sizeof text);
    std::memcpy(reinterpret_cast<char*>(memory) + TextOffset, text, sizeof text);
}

void TW_ONEVALUE_STR255::GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const {
    AnswerOneValue(*this, cap, capId);
}

void TW_ONEVALUE_STR255::GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const {
    AnswerOneValue(*this, cap, capId);
}

void TW_ONEVALUE_STR255::SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) {
    ReadFrom(memory, blockSize);
}

void TW_ONEVALUE_STR255::Assign(const TW_Container& other) {
    const auto* text = dynamic_cast<const TW_ONEVALUE_STR255*>(&other);
    if (other.GetItemType() != TWTY_STR255 || other.GetConType() != TWON_ONEVALUE ||
        text == nullptr) {
        throw TypeException(__FILE__, __LINE__);
    }
    m_value.AssignValue(text->m_value);
}

} // namespace CommonTwain
