#include "STR_value255.h"

#include "Conversions.h"

#include <cstring>

namespace CommonTwain {

STR_value255::STR_value255() {
    std::memset(m_text, 0, sizeof m_text);
}

STR_value255::STR_value255(const char* text) : STR_value255() {
    SetText(text);
}

STR_value255::STR_value255(const std::string& text) : STR_value255() {
    SetStdString(text);
}

STR_value255::STR_value255(const STR_value255& other) : STR_abstract(other) {
    std::memcpy(m_text, other.m_text, sizeof m_text);
}

STR_value255& STR_value255::operator=(const STR_value255& other) {
    STR_abstract::operator=(other);
    std::memmove(m_text, other.m_text, sizeof m_text);
    return *this;
}

STR_value255::~STR_value255() = default;

std::unique_ptr<STR_abstract> STR_value255::Clone() const {
    return std::make_unique<STR_value255>(*this);
}

std::string STR_value255::Dump() const {
    return "TW_STR255(" + CommonCpp::QuoteString(ToStdString()) + ")";
}

STR_value255 STR_value255::Before(char c) const {
    STR_value255 result;
    StoreBefore(c, result);
    return result;
}

STR_value255 STR_value255::After(char c) const {
    STR_value255 result;
    StoreAfter(c, result);
    return result;
}

} // namespace CommonTwain
