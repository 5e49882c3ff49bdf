#include "TW_ARRAY_UINT16.h"

#include "ContainerMemory.h"
#include "TypeException.h"

namespace CommonTwain {

TW_ARRAY_UINT16::TW_ARRAY_UINT16(SimpleValArray<unsigned short> values)
    : TW_Container(TWTY_UINT16, TWON_ARRAY), m_values(std::move(values)) {}

TW_ARRAY_UINT16::~TW_ARRAY_UINT16() = default;

std::string TW_ARRAY_UINT16::Dump() const {
    return "TW_ARRAY_UINT16(" + DumpItems(m_values) + ")";
}

std::unique_ptr<TW_Container> TW_ARRAY_UINT16::Clone() const {
    return std::make_unique<TW_ARRAY_UINT16>(*this);
}

unsigned TW_ARRAY_UINT16::GetCount() const {
    return m_values.GetCount();
}

void TW_ARRAY_UINT16::WriteTo(void* memory) const {
    WriteArray(static_cast<TW_ARRAY*>(memory));
}

void TW_ARRAY_UINT16::SetFromOneValue(const TW_ONEVALUE*, unsigned long) {
    throw TypeException(__FILE__, __LINE__);
}

void TW_ARRAY_UINT16::Assign(const TW_Container& other) {
    const auto& array = dynamic_cast<const TW_ARRAY_UINT16&>(other);
    if (&array != this) {
        m_values = array.m_values;
    }
}

void TW_ARRAY_UINT16::WriteArray(TW_ARRAY* memory) const {
    using ContainerMemory::Write;
    Write(memory, offsetof(TW_ARRAY, ItemType), TWTY_UINT16);
    Write(memory, offsetof(TW_ARRAY, NumItems), TW_UINT32{m_values.GetCount()});
    for (TW_UINT32 i = 0; i < m_values.GetCount(); ++i) {
        Write(memory, offsetof(TW_ARRAY, ItemList) + i * sizeof(TW_UINT16), m_values.GetAt(i));
    }
}

} // namespace CommonTwain
