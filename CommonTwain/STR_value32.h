#pragma once
// A TW_STR32 text: at most 31 characters and a terminator.

#include "STR_abstract.h"

namespace CommonTwain {

class STR_value32 : public STR_abstract {
public:
    static constexpr unsigned Capacity = 32;

    STR_value32();
    explicit STR_value32(const char* text);
    STR_value32(const STR_value32& other);
    STR_value32& operator=(const STR_value32& other);
    ~STR_value32() override;

    std::unique_ptr<STR_abstract> Clone() const override;
    char* GetBuffer() override { return m_text; }
    const char* GetBuffer() const override { return m_text; }
    unsigned GetCapacity() const override { return Capacity; }
    std::string Dump() const override;

    STR_value32 Before(char c) const;
    STR_value32 After(char c) const;

private:
    char m_text[Capacity];
};

} // namespace CommonTwain
