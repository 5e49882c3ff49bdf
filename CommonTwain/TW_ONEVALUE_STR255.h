#pragma once
// One-value of a TW_STR255 text: 256 text bytes from offset 2 of the container.

#include "STR_value255.h"
#include "TW_OneValue.h"

namespace CommonTwain {

class TW_ONEVALUE_STR255 : public TW_AbstractOneValue {
public:
    explicit TW_ONEVALUE_STR255(const STR_value255& value);
    // TypeException unless the application's item type is TWTY_STR255; the text is read up to
    // its terminator or the end of the block, at most 255 characters.
    TW_ONEVALUE_STR255(const TW_ONEVALUE* memory, unsigned long blockSize);

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    // The whole text follows the item type: 262 bytes, the size of its answer block.
    unsigned GetTotalSize() const override;
    void WriteOneValue(TW_ONEVALUE* memory) const override;
    void GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    void GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    void SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) override;
    // Only from another TWTY_STR255 one-value (TypeException otherwise).
    void Assign(const TW_Container& other) override;

    const STR_value255& GetValue() const { return m_value; }

private:
    void ReadFrom(const TW_ONEVALUE* memory, unsigned long blockSize);

    STR_value255 m_value;
};

} // namespace CommonTwain
