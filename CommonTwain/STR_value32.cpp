#include "STR_value32.h"

#include "Conversions.h"

#include <cstring>

namespace CommonTwain {

STR_value32::STR_value32() {
    std::memset(m_text, 0, sizeof m_text);
}

STR_value32::STR_value32(const char* text) : STR_value32() {
    SetText(text);
}

STR_value32::STR_value32(const STR_value32& other) : STR_abstract(other) {
    std::memcpy(m_text, other.m_text, sizeof m_text);
}

STR_value32& STR_value32::operator=(const STR_value32& other) {
    STR_abstract::operator=(other);
    std::memmove(m_text, other.m_text, sizeof m_text);
    return *this;
}

STR_value32::~STR_value32() = default;

std::unique_ptr<STR_abstract> STR_value32::Clone() const {
    return std::make_unique<STR_value32>(*this);
}

std::string STR_value32::Dump() const {
    return "TW_STR32(" + CommonCpp::QuoteString(ToStdString()) + ")";
}

STR_value32 STR_value32::Before(char c) const {
    STR_value32 result;
    StoreBefore(c, result);
    return result;
}

STR_value32 STR_value32::After(char c) const {
    STR_value32 result;
    StoreAfter(c, result);
    return result;
}

} // namespace CommonTwain
