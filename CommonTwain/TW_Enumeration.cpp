#include "TW_Enumeration.h"

#include "ContainerMemory.h"
#include "Conversions.h"
#include "TW_Fix32.h"
#include "TW_OneValue.h"
#include "TypeException.h"

#include <cstdint>

namespace CommonTwain {

using namespace ContainerMemory;

namespace {

constexpr std::size_t ItemsOffset = offsetof(TW_ENUMERATION, ItemList);

std::string IndexText(const char* prefix, TW_UINT32 currentIndex, TW_UINT32 defaultIndex) {
    return std::string(prefix) + "CurrentIndex = " + CommonCpp::ULongToString(currentIndex) +
           ", DefaultIndex = " + CommonCpp::ULongToString(defaultIndex) + ", ";
}

void WriteHeader(TW_ENUMERATION* memory, TW_UINT16 itemType, TW_UINT32 count,
                 TW_UINT32 currentIndex, TW_UINT32 defaultIndex) {
    Write(memory, offsetof(TW_ENUMERATION, ItemType), itemType);
    Write(memory, offsetof(TW_ENUMERATION, NumItems), count);
    Write(memory, offsetof(TW_ENUMERATION, CurrentIndex), currentIndex);
    Write(memory, offsetof(TW_ENUMERATION, DefaultIndex), defaultIndex);
}

// The index of a one-value answer must name one of the values.
void CheckIndex(TW_UINT32 index, TW_UINT32 count) {
    if (index >= count) {
        throw TypeException(__FILE__, __LINE__);
    }
}

} // namespace

TW_AbstractEnumeration::TW_AbstractEnumeration(TW_UINT16 itemType, TW_UINT32 currentIndex,
                                               TW_UINT32 defaultIndex)
    : TW_Container(itemType, TWON_ENUMERATION), m_currentIndex(currentIndex),
      m_defaultIndex(defaultIndex) {}

TW_AbstractEnumeration::~TW_AbstractEnumeration() = default;

void TW_AbstractEnumeration::WriteTo(void* memory) const {
    WriteEnumeration(static_cast<TW_ENUMERATION*>(memory));
}

// UINT16

TW_ENUMERATION_UINT16::TW_ENUMERATION_UINT16(SimpleValArray<unsigned short> values,
                                             TW_UINT32 currentIndex, TW_UINT32 defaultIndex)
    : TW_AbstractEnumeration(TWTY_UINT16, currentIndex, defaultIndex), m_values(std::move(values)) {
}

TW_ENUMERATION_UINT16::TW_ENUMERATION_UINT16(const TW_ENUMERATION* memory, unsigned long blockSize)
    : TW_AbstractEnumeration(TWTY_UINT16, 0, 0) {
    if (memory == nullptr || blockSize < ItemsOffset ||
        ReadU16(memory, offsetof(TW_ENUMERATION, ItemType)) != TWTY_UINT16) {
        throw TypeException(__FILE__, __LINE__);
    }
    const TW_UINT32 count = ReadU32(memory, offsetof(TW_ENUMERATION, NumItems));
    // 64-bit: a huge NumItems must not wrap around into a small size.
    if (ItemsOffset + std::uint64_t{count} * sizeof(TW_UINT16) > blockSize) {
        throw TypeException(__FILE__, __LINE__);
    }
    m_values.Resize(count);
    for (TW_UINT32 i = 0; i < count; ++i) {
        m_values.SetAt(i, ReadU16(memory, ItemsOffset + i * sizeof(TW_UINT16)));
    }
    m_currentIndex = ReadU32(memory, offsetof(TW_ENUMERATION, CurrentIndex));
    m_defaultIndex = ReadU32(memory, offsetof(TW_ENUMERATION, DefaultIndex));
}

TW_ENUMERATION_UINT16::~TW_ENUMERATION_UINT16() = default;

std::string TW_ENUMERATION_UINT16::Dump() const {
    return IndexText("TW_ENUMERATION_UINT16(", m_currentIndex, m_defaultIndex) +
           DumpItems(m_values) + ")";
}

std::unique_ptr<TW_Container> TW_ENUMERATION_UINT16::Clone() const {
    return std::make_unique<TW_ENUMERATION_UINT16>(*this);
}

unsigned TW_ENUMERATION_UINT16::GetCount() const {
    return m_values.GetCount();
}

void TW_ENUMERATION_UINT16::GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const {
    CheckIndex(m_currentIndex, m_values.GetCount());
    AnswerOneValue(TW_ONEVALUE_UINT16(m_values.GetAt(m_currentIndex)), cap, capId);
}

void TW_ENUMERATION_UINT16::GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const {
    CheckIndex(m_defaultIndex, m_values.GetCount());
    AnswerOneValue(TW_ONEVALUE_UINT16(m_values.GetAt(m_defaultIndex)), cap, capId);
}

void TW_ENUMERATION_UINT16::SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) {
    const TW_UINT16 value = ReadOneValueLow16(memory, blockSize);
    for (TW_UINT32 i = 0; i < m_values.GetCount(); ++i) {
        if (m_values.GetAt(i) == value) {
            m_currentIndex = i;
            return;
        }
    }
    m_currentIndex = m_values.Append(value);
}

void TW_ENUMERATION_UINT16::WriteEnumeration(TW_ENUMERATION* memory) const {
    WriteHeader(memory, GetItemType(), m_values.GetCount(), m_currentIndex, m_defaultIndex);
    for (TW_UINT32 i = 0; i < m_values.GetCount(); ++i) {
        Write(memory, ItemsOffset + i * sizeof(TW_UINT16), m_values.GetAt(i));
    }
}

// FIX32

TW_ENUMERATION_FIX32::TW_ENUMERATION_FIX32(const SimpleValArray<double>& values,
                                           TW_UINT32 currentIndex, TW_UINT32 defaultIndex)
    : TW_AbstractEnumeration(TWTY_FIX32, currentIndex, defaultIndex), m_values(values.GetCount()) {
    for (TW_UINT32 i = 0; i < values.GetCount(); ++i) {
        m_values.SetAt(i, DoubleToFix32(values.GetAt(i)));
    }
}

TW_ENUMERATION_FIX32::~TW_ENUMERATION_FIX32() = default;

std::string TW_ENUMERATION_FIX32::Dump() const {
    std::string text = IndexText("TW_ENUMERATION_FIX32(", m_currentIndex, m_defaultIndex);
    for (TW_UINT32 i = 0; i < m_values.GetCount(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += "[" + CommonCpp::IntToString(static_cast<int>(i)) +
                "] = " + Fix32ToString(m_values.GetAt(i));
    }
    return text + ")";
}

std::unique_ptr<TW_Container> TW_ENUMERATION_FIX32::Clone() const {
    return std::make_unique<TW_ENUMERATION_FIX32>(*this);
}

unsigned TW_ENUMERATION_FIX32::GetCount() const {
    return m_values.GetCount();
}

void TW_ENUMERATION_FIX32::GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const {
    CheckIndex(m_currentIndex, m_values.GetCount());
    AnswerOneValue(TW_ONEVALUE_FIX32(m_values.GetAt(m_currentIndex)), cap, capId);
}

void TW_ENUMERATION_FIX32::GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const {
    CheckIndex(m_defaultIndex, m_values.GetCount());
    AnswerOneValue(TW_ONEVALUE_FIX32(m_values.GetAt(m_defaultIndex)), cap, capId);
}

void TW_ENUMERATION_FIX32::SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) {
    const TW_ONEVALUE_FIX32 oneValue(memory, blockSize);
    const TW_FIX32 value = oneValue.GetValue();
    for (TW_UINT32 i = 0; i < m_values.GetCount(); ++i) {
        if (EqualFix32(m_values.GetAt(i), value)) {
            m_currentIndex = i;
            return;
        }
    }
    m_currentIndex = m_values.GetCount();
    m_values.Resize(m_currentIndex + 1);
    m_values.SetAt(m_currentIndex, value);
}

void TW_ENUMERATION_FIX32::WriteEnumeration(TW_ENUMERATION* memory) const {
    WriteHeader(memory, GetItemType(), m_values.GetCount(), m_currentIndex, m_defaultIndex);
    for (TW_UINT32 i = 0; i < m_values.GetCount(); ++i) {
        Write(memory, ItemsOffset + i * sizeof(TW_FIX32), m_values.GetAt(i));
    }
}

} // namespace CommonTwain
