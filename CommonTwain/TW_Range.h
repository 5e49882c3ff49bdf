#pragma once
// The range container of fixed-point items: minimum, maximum, step, default and current value.

#include "TW_Container.h"
#include "TW_Fix32.h"

namespace CommonTwain {

class TW_RANGE_FIX32 : public TW_Container {
public:
    TW_RANGE_FIX32();
    TW_RANGE_FIX32(const TW_Fix32& minValue, const TW_Fix32& maxValue, const TW_Fix32& stepSize,
                   const TW_Fix32& defaultValue, const TW_Fix32& currentValue);
    // From a TW_RANGE: TypeException unless the block holds one and its item type is TWTY_FIX32.
    TW_RANGE_FIX32(const TW_RANGE* memory, unsigned long blockSize);
    TW_RANGE_FIX32(const TW_RANGE_FIX32& other);
    TW_RANGE_FIX32& operator=(const TW_RANGE_FIX32& other);
    ~TW_RANGE_FIX32() override;

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    unsigned GetCount() const override { return 5; }
    void WriteTo(void* memory) const override;
    // A range has no single current or default item to hand out.
    void GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    void GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    void SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) override;
    void UnsupportedOperation() const override;
    virtual void WriteRange(TW_RANGE* memory) const;

    TW_Fix32 MinValue;
    TW_Fix32 MaxValue;
    TW_Fix32 StepSize;
    TW_Fix32 DefaultValue;
    TW_Fix32 CurrentValue;
};

} // namespace CommonTwain
