#pragma once
// The numeric one-value containers: one value of a fixed item type.

#include "TW_Container.h"

namespace CommonTwain {

class TW_AbstractOneValue : public TW_Container {
public:
    explicit TW_AbstractOneValue(TW_UINT16 itemType);
    ~TW_AbstractOneValue() override;

    unsigned GetCount() const override { return 1; }
    void WriteTo(void* memory) const override;
    virtual void WriteOneValue(TW_ONEVALUE* memory) const = 0;
};

class TW_ONEVALUE_BOOL : public TW_AbstractOneValue {
public:
    explicit TW_ONEVALUE_BOOL(TW_BOOL value);
    // Low 16 bits of the application's Item; the item type is not looked at.
    TW_ONEVALUE_BOOL(const TW_ONEVALUE* memory, unsigned long blockSize);

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    void WriteOneValue(TW_ONEVALUE* memory) const override;
    TW_BOOL GetValue() const { return m_value; }

private:
    TW_BOOL m_value;
};

class TW_ONEVALUE_INT16 : public TW_AbstractOneValue {
public:
    explicit TW_ONEVALUE_INT16(TW_INT16 value);
    // Low 16 bits of the application's Item, signed; the item type is not looked at.
    TW_ONEVALUE_INT16(const TW_ONEVALUE* memory, unsigned long blockSize);

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    void WriteOneValue(TW_ONEVALUE* memory) const override;
    TW_INT16 GetValue() const { return m_value; }

private:
    TW_INT16 m_value;
};

class TW_ONEVALUE_UINT16 : public TW_AbstractOneValue {
public:
    explicit TW_ONEVALUE_UINT16(TW_UINT16 value);
    // Low 16 bits of the application's Item; the item type is not looked at.
    TW_ONEVALUE_UINT16(const TW_ONEVALUE* memory, unsigned long blockSize);

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    void WriteOneValue(TW_ONEVALUE* memory) const override;
    TW_UINT16 GetValue() const { return m_value; }

private:
    TW_UINT16 m_value;
};

class TW_ONEVALUE_INT32 : public TW_AbstractOneValue {
public:
    explicit TW_ONEVALUE_INT32(TW_INT32 value);

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    void WriteOneValue(TW_ONEVALUE* memory) const override;
    TW_INT32 GetValue() const { return m_value; }

private:
    TW_INT32 m_value;
};

class TW_ONEVALUE_FIX32 : public TW_AbstractOneValue {
public:
    explicit TW_ONEVALUE_FIX32(const TW_FIX32& value);
    // Rounded half away from zero, as every TW_FIX32 answer.
    explicit TW_ONEVALUE_FIX32(double value);
    // TypeException unless the application's item type is TWTY_FIX32.
    TW_ONEVALUE_FIX32(const TW_ONEVALUE* memory, unsigned long blockSize);

    std::string Dump() const override;
    std::unique_ptr<TW_Container> Clone() const override;
    void WriteOneValue(TW_ONEVALUE* memory) const override;
    TW_FIX32 GetValue() const { return m_value; }

private:
    TW_FIX32 m_value;
};

// The low 16 bits of an application's one-value item; TypeException when the block cannot
// hold them.
TW_UINT16 ReadOneValueLow16(const TW_ONEVALUE* memory, unsigned long blockSize);

} // namespace CommonTwain
