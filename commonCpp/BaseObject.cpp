#include "BaseObject.h"

BaseObject::BaseObject() : m_className("BaseObject") {}

BaseObject::BaseObject(const char* className) : m_className(className) {}

BaseObject::~BaseObject() = default;

bool BaseObject::IsSameObject(const BaseObject* other) const {
    return other == this;
}

BaseObject* BaseObject::GetSelf() {
    return this;
}

std::string BaseObject::GetClassName() const {
    return m_className;
}

std::uint32_t BaseObject::HashString(const std::string& text) {
    // Characters count as signed bytes; shifts work on the 32-bit pattern of the sign-extended
    // value.
    auto at = [&text](std::size_t i) {
        return static_cast<std::int32_t>(static_cast<signed char>(text[i]));
    };
    std::uint32_t h = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < 5 && i < n; ++i) {
        h ^= static_cast<std::uint32_t>(at(i) >> 2) << (28 - 4 * i);
    }
    if (n == 0) {
        return 0;
    }
    h ^= static_cast<std::uint32_t>(at(n - 1)) << 8;
    h ^= static_cast<std::uint32_t>(at(n / 2)) << 4;
    return h ^ static_cast<std::uint32_t>(n);
}

std::uint32_t BaseObject::HashFlag(bool flag) {
    return flag ? 0x10101010u : 0u;
}
