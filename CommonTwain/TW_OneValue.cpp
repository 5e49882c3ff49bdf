#include "TW_OneValue.h"

#include "ContainerMemory.h"
#include "Conversions.h"
#include "TW_Fix32.h"
#include "TypeException.h"

namespace CommonTwain {

using namespace ContainerMemory;

namespace {

constexpr std::size_t ItemOffset = offsetof(TW_ONEVALUE, Item);

void WriteItem32(TW_ONEVALUE* memory, TW_UINT16 itemType, TW_UINT32 item) {
    Write(memory, 0, itemType);
    Write(memory, ItemOffset, item);
}

} // namespace

TW_UINT16 ReadOneValueLow16(const TW_ONEVALUE* memory, unsigned long blockSize) {
    if (memory == nullptr || blockSize < ItemOffset + sizeof(TW_UINT16)) {
        throw TypeException(__FILE__, __LINE__);
    }
    return ReadU16(memory, ItemOffset);
}

TW_AbstractOneValue::TW_AbstractOneValue(TW_UINT16 itemType)
    : TW_Container(itemType, TWON_ONEVALUE) {}

TW_AbstractOneValue::~TW_AbstractOneValue() = default;

void TW_AbstractOneValue::WriteTo(void* memory) const {
    WriteOneValue(static_cast<TW_ONEVALUE*>(memory));
}

// BOOL

TW_ONEVALUE_BOOL::TW_ONEVALUE_BOOL(TW_BOOL value)
    : TW_AbstractOneValue(TWTY_BOOL), m_value(value) {}

TW_ONEVALUE_BOOL::TW_ONEVALUE_BOOL(const TW_ONEVALUE* memory, unsigned long blockSize)
    : TW_AbstractOneValue(TWTY_BOOL), m_value(ReadOneValueLow16(memory, blockSize)) {}

std::string TW_ONEVALUE_BOOL::Dump() const {
    return "TW_ONEVALUE_BOOL(" + CommonCpp::BoolToString(m_value != 0) + ")";
}

std::unique_ptr<TW_Container> TW_ONEVALUE_BOOL::Clone() const {
    return std::make_unique<TW_ONEVALUE_BOOL>(*this);
}

void TW_ONEVALUE_BOOL::WriteOneValue(TW_ONEVALUE* memory) const {
    WriteItem32(memory, GetItemType(), m_value);
}

// INT16

TW_ONEVALUE_INT16::TW_ONEVALUE_INT16(TW_INT16 value)
    : TW_AbstractOneValue(TWTY_INT16), m_value(value) {}

TW_ONEVALUE_INT16::TW_ONEVALUE_INT16(const TW_ONEVALUE* memory, unsigned long blockSize)
    : TW_AbstractOneValue(TWTY_INT16),
      m_value(static_cast<TW_INT16>(ReadOneValueLow16(memory, blockSize))) {}

std::string TW_ONEVALUE_INT16::Dump() const {
    return "TW_ONEVALUE_INT16(" + CommonCpp::ShortToString(m_value) + ")";
}

std::unique_ptr<TW_Container> TW_ONEVALUE_INT16::Clone() const {
    return std::make_unique<TW_ONEVALUE_INT16>(*this);
}

void TW_ONEVALUE_INT16::WriteOneValue(TW_ONEVALUE* memory) const {
    // Sign-extended: -1 sets all 32 bits.
    WriteItem32(memory, GetItemType(), static_cast<TW_UINT32>(static_cast<TW_INT32>(m_value)));
}

// UINT16

TW_ONEVALUE_UINT16::TW_ONEVALUE_UINT16(TW_UINT16 value)
    : TW_AbstractOneValue(TWTY_UINT16), m_value(value) {}

TW_ONEVALUE_UINT16::TW_ONEVALUE_UINT16(const TW_ONEVALUE* memory, unsigned long blockSize)
    : TW_AbstractOneValue(TWTY_UINT16), m_value(ReadOneValueLow16(memory, blockSize)) {}

std::string TW_ONEVALUE_UINT16::Dump() const {
    return "TW_ONEVALUE_UINT16(" + CommonCpp::UShortToString(m_value) + ")";
}

std::unique_ptr<TW_Container> TW_ONEVALUE_UINT16::Clone() const {
    return std::make_unique<TW_ONEVALUE_UINT16>(*this);
}

void TW_ONEVALUE_UINT16::WriteOneValue(TW_ONEVALUE* memory) const {
    WriteItem32(memory, GetItemType(), m_value);
}

// INT32

TW_ONEVALUE_INT32::TW_ONEVALUE_INT32(TW_INT32 value)
    : TW_AbstractOneValue(TWTY_INT32), m_value(value) {}

std::string TW_ONEVALUE_INT32::Dump() const {
    return "TW_ONEVALUE_INT32(" + CommonCpp::LongToString(m_value) + ")";
}

std::unique_ptr<TW_Container> TW_ONEVALUE_INT32::Clone() const {
    return std::make_unique<TW_ONEVALUE_INT32>(*this);
}

void TW_ONEVALUE_INT32::WriteOneValue(TW_ONEVALUE* memory) const {
    WriteItem32(memory, GetItemType(), static_cast<TW_UINT32>(m_value));
}

// FIX32

TW_ONEVALUE_FIX32::TW_ONEVALUE_FIX32(const TW_FIX32& value)
    : TW_AbstractOneValue(TWTY_FIX32), m_value(value) {}

TW_ONEVALUE_FIX32::TW_ONEVALUE_FIX32(double value)
    : TW_AbstractOneValue(TWTY_FIX32), m_value(DoubleToFix32(value)) {}

TW_ONEVALUE_FIX32::TW_ONEVALUE_FIX32(const TW_ONEVALUE* memory, unsigned long blockSize)
    : TW_AbstractOneValue(TWTY_FIX32), m_value{0, 0} {
    if (memory == nullptr || blockSize < sizeof(TW_ONEVALUE) || ReadU16(memory, 0) != TWTY_FIX32) {
        throw TypeException(__FILE__, __LINE__);
    }
    m_value = ReadFix32(memory, ItemOffset);
}

std::string TW_ONEVALUE_FIX32::Dump() const {
    return "TW_ONEVALUE_FIX32(" + Fix32ToString(m_value) + ")";
}

std::unique_ptr<TW_Container> TW_ONEVALUE_FIX32::Clone() const {
    return std::make_unique<TW_ONEVALUE_FIX32>(*this);
}

void TW_ONEVALUE_FIX32::WriteOneValue(TW_ONEVALUE* memory) const {
    Write(memory, 0, GetItemType());
    Write(memory, ItemOffset, m_value);
}

} // namespace CommonTwain
