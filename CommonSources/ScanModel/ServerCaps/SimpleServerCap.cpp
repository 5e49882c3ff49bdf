#include "SimpleServerCap.h"

#include "ScanAttributeWrapper.h"

SimpleServerCap::~SimpleServerCap() = default;

bool SimpleServerCap::LoadFromServer(const std::string& key, const ScanAttributeWrapper& table) {
    if (key.empty()) {
        return false;
    }
    const std::string text = table.GetAttribute(key);
    if (text.empty()) {
        return false;
    }
    m_value = text;
    return true;
}

std::string SimpleServerCap::GetValue() const {
    return m_value;
}
