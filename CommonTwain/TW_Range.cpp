#include "TW_Range.h"

#include "ContainerMemory.h"
#include "TypeException.h"

namespace CommonTwain {

using namespace ContainerMemory;

TW_RANGE_FIX32::TW_RANGE_FIX32() : TW_Container(TWTY_FIX32, TWON_RANGE) {}

TW_RANGE_FIX32::TW_RANGE_FIX32(const TW_Fix32& minValue, const TW_Fix32& maxValue,
                               const TW_Fix32& stepSize, const TW_Fix32& defaultValue,
                               const TW_Fix32& currentValue)
    : TW_Container(TWTY_FIX32, TWON_RANGE), MinValue(minValue), MaxValue(maxValue),
      StepSize(stepSize), DefaultValue(defaultValue), CurrentValue(currentValue) {}

TW_RANGE_FIX32::TW_RANGE_FIX32(const TW_RANGE* memory, unsigned long blockSize)
    : TW_Container(TWTY_FIX32, TWON_RANGE) {
    if (memory == nullptr || blockSize < sizeof(TW_RANGE)) {
        throw TypeException(__FILE__, __LINE__);
    }
    MinValue = TW_Fix32(ReadFix32(memory, offsetof(TW_RANGE, MinValue)));
    MaxValue = TW_Fix32(ReadFix32(memory, offsetof(TW_RANGE, MaxValue)));
    StepSize = TW_Fix32(ReadFix32(memory, offsetof(TW_RANGE, StepSize)));
    DefaultValue = TW_Fix32(ReadFix32(memory, offsetof(TW_RANGE, DefaultValue)));
    CurrentValue = TW_Fix32(ReadFix32(memory, offsetof(TW_RANGE, CurrentValue)));
    if (ReadU16(memory, offsetof(TW_RANGE, ItemType)) != TWTY_FIX32) {
        throw TypeException(__FILE__, __LINE__);
    }
}

TW_RANGE_FIX32::TW_RANGE_FIX32(const TW_RANGE_FIX32& other) = default;

TW_RANGE_FIX32& TW_RANGE_FIX32::operator=(const TW_RANGE_FIX32& other) {
    // Item and container type are the same for every range of this class.
    MinValue = other.MinValue;
    MaxValue = other.MaxValue;
    StepSize = other.StepSize;
    DefaultValue = other.DefaultValue;
    CurrentValue = other.CurrentValue;
    return *this;
}

TW_RANGE_FIX32::~TW_RANGE_FIX32() = default;

std::string TW_RANGE_FIX32::Dump() const {
    return "TW_RANGE_FIX32(MinValue = " + Fix32ToString(MinValue.ToRecord()) +
           ", MaxValue = " + Fix32ToString(MaxValue.ToRecord()) +
           ", StepSize = " + Fix32ToString(StepSize.ToRecord()) +
           ", DefaultValue = " + Fix32ToString(DefaultValue.ToRecord()) +
           ", CurrentValue = " + Fix32ToString(CurrentValue.ToRecord()) + ")";
}

std::unique_ptr<TW_Container> TW_RANGE_FIX32::Clone() const {
    return std::make_unique<TW_RANGE_FIX32>(*this);
}

void TW_RANGE_FIX32::WriteTo(void* memory) const {
    WriteRange(static_cast<TW_RANGE*>(memory));
}

void TW_RANGE_FIX32::GetCurrentAsOneValue(TW_CAPABILITY*, TW_UINT16) const {
    throw TypeException(__FILE__, __LINE__);
}

void TW_RANGE_FIX32::GetDefaultAsOneValue(TW_CAPABILITY*, TW_UINT16) const {
    throw TypeException(__FILE__, __LINE__);
}

void TW_RANGE_FIX32::SetFromOneValue(const TW_ONEVALUE*, unsigned long) {
    throw TypeException(__FILE__, __LINE__);
}

void TW_RANGE_FIX32::UnsupportedOperation() const {
    throw TypeException(__FILE__, __LINE__);
}

void TW_RANGE_FIX32::WriteRange(TW_RANGE* memory) const {
    Write(memory, offsetof(TW_RANGE, ItemType), GetItemType());
    Write(memory, offsetof(TW_RANGE, MinValue), MinValue.ToRecord());
    Write(memory, offsetof(TW_RANGE, MaxValue), MaxValue.ToRecord());
    Write(memory, offsetof(TW_RANGE, StepSize), StepSize.ToRecord());
    Write(memory, offsetof(TW_RANGE, DefaultValue), DefaultValue.ToRecord());
    Write(memory, offsetof(TW_RANGE, CurrentValue), CurrentValue.ToRecord());
}

} // namespace CommonTwain
