#pragma once
// A TW_STR255 text: at most 255 characters and a terminator.

#include "STR_abstract.h"

namespace CommonTwain {

class STR_value255 : public STR_abstract {
public:
    static constexpr unsigned Capacity = 256;

    STR_value255();
    explicit STR_value255(const char* text);
    explicit STR_value255(const std::string& text);
    STR_value255(const STR_value255& other);
    STR_value255& operator=(const STR_value255& other);
    ~STR_value255() override;

    std::unique_ptr<STR_abstract> Clone() const override;
    char* GetBuffer() override { return m_text; }
    const char* GetBuffer() const override { return m_text; }
    unsigned GetCapacity() const override { return Capacity; }
    std::string Dump() const override;

    STR_value255 Before(char c) const;
    STR_value255 After(char c) const;

private:
    char m_text[Capacity];
};

} // namespace CommonTwain
