#include "BooleanServerCap.h"

#include "ScanAttributeWrapper.h"

BooleanServerCap::BooleanServerCap(bool defaultValue) : m_value(defaultValue) {}

BooleanServerCap::~BooleanServerCap() = default;

bool BooleanServerCap::LoadFromServer(const std::string& key, const ScanAttributeWrapper& table) {
    if (key.empty()) {
        return false;
    }
    const std::string text = table.GetAttribute(key);
    if (text.empty()) {
        return false;
    }
    m_value = text == "YES";
    return true;
}

bool BooleanServerCap::GetValue() const {
    return m_value;
}
