#pragma once
// Array container of TWTY_UINT16 values.

#include "SimpleValArray.h"
#include "TW_Container.h"

namespace CommonTwain {

class TW_ARRAY_UINT16 : public TW_Container {
public:
    explicit TW_ARRAY_UINT16(SimpleValArray<unsigned short> values);
    ~TW_ARRAY_UINT16() override;

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    unsigned GetCount() const override;
    void WriteTo(void* memory) const override;
    void SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) override;
    // other must be a TW_ARRAY_UINT16 (std::bad_cast otherwise).
    void Assign(const TW_Container& other) override;
    virtual void WriteArray(TW_ARRAY* memory) const;

    const SimpleValArray<unsigned short>& GetValues() const { return m_values; }

private:
    SimpleValArray<unsigned short> m_values;
};

} // namespace CommonTwain
