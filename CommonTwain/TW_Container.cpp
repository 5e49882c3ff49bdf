#include "TW_Container.h"

#include "Conversions.h"
#include "SafeHandle.h"
#include "TypeException.h"

#include <cstring>

namespace CommonTwain {

TW_Container::TW_Container(TW_UINT16 itemType, TW_UINT16 conType)
    : m_itemType(itemType), m_conType(conType) {}

TW_Container::~TW_Container() = default;

unsigned TW_Container::ItemSizeOf(TW_UINT16 itemType) {
    switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
        return 1;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL:
        return 2;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
        return 4;
    case TWTY_FRAME:
        return sizeof(TW_FRAME);
    case TWTY_STR32:
        return sizeof(TW_STR32);
    case TWTY_STR64:
        return sizeof(TW_STR64);
    case TWTY_STR128:
        return sizeof(TW_STR128);
    case TWTY_STR255:
        return sizeof(TW_STR255);
    default:
        return 0;
    }
}

unsigned TW_Container::ContainerSizeOf(TW_UINT16 conType) {
    switch (conType) {
    case TWON_ARRAY:
        return sizeof(TW_ARRAY);
    case TWON_ENUMERATION:
        return sizeof(TW_ENUMERATION);
    case TWON_ONEVALUE:
        return sizeof(TW_ONEVALUE);
    case TWON_RANGE:
        return sizeof(TW_RANGE);
    default:
        return 0;
    }
}

TW_UINT16 TW_Container::GetItemType() const {
    return m_itemType;
}

unsigned TW_Container::GetItemSize() const {
    return ItemSizeOf(m_itemType);
}

TW_UINT16 TW_Container::GetConType() const {
    return m_conType;
}

unsigned TW_Container::GetContainerSize() const {
    return ContainerSizeOf(m_conType);
}

unsigned TW_Container::GetTotalSize() const {
    unsigned size = GetContainerSize();
    if (m_conType == TWON_ENUMERATION || m_conType == TWON_ARRAY) {
        size += GetCount() * GetItemSize();
    }
    return size;
}

void TW_Container::GetCurrentAsOneValue(TW_CAPABILITY*, TW_UINT16) const {
    throw TypeException(__FILE__, __LINE__);
}

void TW_Container::GetDefaultAsOneValue(TW_CAPABILITY*, TW_UINT16) const {
    throw TypeException(__FILE__, __LINE__);
}

void TW_Container::SetFromOneValue(const TW_ONEVALUE*, unsigned long) {
    throw TypeException(__FILE__, __LINE__);
}

void TW_Container::UnsupportedOperation() const {
    throw TypeException(__FILE__, __LINE__);
}

void TW_Container::Assign(const TW_Container&) {
    throw TypeException(__FILE__, __LINE__);
}

void TW_Container::AnswerOneValue(const TW_Container& oneValue, TW_CAPABILITY* cap,
                                  TW_UINT16 capId) {
    if (cap == nullptr) {
        throw TypeException(__FILE__, __LINE__);
    }
    // Zero-filled: the bytes after the item never carry stale heap contents to the application.
    CommonCpp::SafeHandle block(sizeof(TW_ONEVALUE) + oneValue.GetItemSize(), true);
    {
        CommonCpp::HandleLocker lock(block);
        oneValue.WriteTo(block.GetPointer());
    }
    cap->Cap = capId;
    cap->ConType = TWON_ONEVALUE;
    cap->hContainer = block.Detach();
}

std::string TW_Container::DumpItems(const SimpleValArray<unsigned short>& values) {
    std::string text;
    for (TW_UINT32 i = 0; i < values.GetCount(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += "[" + CommonCpp::IntToString(static_cast<int>(i)) +
                "] = " + CommonCpp::UShortToString(values.GetAt(i));
    }
    return text;
}

} // namespace CommonTwain
