#pragma once
// Enumeration containers: a list of values with a current and a default index.

#include "SimpleValArray.h"
#include "TW_Container.h"

namespace CommonTwain {

class TW_AbstractEnumeration : public TW_Container {
public:
    TW_AbstractEnumeration(TW_UINT16 itemType, TW_UINT32 currentIndex, TW_UINT32 defaultIndex);
    ~TW_AbstractEnumeration() override;

    void WriteTo(void* memory) const override;

    virtual TW_UINT32 GetCurrentIndex() const { return m_currentIndex; }
    // Stored unchecked; an index outside the values is refused when it is used.
    virtual void SetCurrentIndex(TW_UINT32 index) { m_currentIndex = index; }
    virtual TW_UINT32 GetDefaultIndex() const { return m_defaultIndex; }
    virtual void SetDefaultIndex(TW_UINT32 index) { m_defaultIndex = index; }
    virtual void WriteEnumeration(TW_ENUMERATION* memory) const = 0;

protected:
    TW_UINT32 m_currentIndex;
    TW_UINT32 m_defaultIndex;
};

class TW_ENUMERATION_UINT16 : public TW_AbstractEnumeration {
public:
    TW_ENUMERATION_UINT16(SimpleValArray<unsigned short> values, TW_UINT32 currentIndex,
                          TW_UINT32 defaultIndex);
    // From an application's enumeration: TypeException unless the item type is TWTY_UINT16 and
    // NumItems items fit the blockSize bytes. The indexes are taken as they stand (applications
    // may leave them "don't care").
    TW_ENUMERATION_UINT16(const TW_ENUMERATION* memory, unsigned long blockSize);
    ~TW_ENUMERATION_UINT16() override;

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    unsigned GetCount() const override;
    // TypeException when the index lies outside the values.
    void GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    void GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    // Low 16 bits of the application's item become current; appended when not in the list.
    void SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) override;
    void WriteEnumeration(TW_ENUMERATION* memory) const override;

    const SimpleValArray<unsigned short>& GetValues() const { return m_values; }

private:
    SimpleValArray<unsigned short> m_values;
};

class TW_ENUMERATION_FIX32 : public TW_AbstractEnumeration {
public:
    // Each double becomes a TW_FIX32 rounded half away from zero.
    TW_ENUMERATION_FIX32(const SimpleValArray<double>& values, TW_UINT32 currentIndex,
                         TW_UINT32 defaultIndex);
    ~TW_ENUMERATION_FIX32() override;

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    unsigned GetCount() const override;
    // TypeException when the index lies outside the values.
    void GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    void GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const override;
    // TypeException unless the application's item type is TWTY_FIX32.
    void SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize) override;
    void WriteEnumeration(TW_ENUMERATION* memory) const override;

    const SimpleValArray<TW_FIX32>& GetValues() const { return m_values; }

private:
    SimpleValArray<TW_FIX32> m_values;
};

} // namespace CommonTwain
