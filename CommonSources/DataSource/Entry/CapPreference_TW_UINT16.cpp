#include "CapPreference_TW_UINT16.h"

#include "AppCapId.h"
#include "TwainException.h"
#include "XGPreferencesIntf.h"

#include <cstdint>

CapPreference_TW_UINT16::CapPreference_TW_UINT16(TW_UINT16 capabilityId, TW_UINT16 defaultValue)
    : m_capabilityId(capabilityId), m_default(defaultValue), m_current(defaultValue) {}

CapPreference_TW_UINT16::~CapPreference_TW_UINT16() = default;

CommonCpp::XGPreferencesIntf*
CapPreference_TW_UINT16::SetStore(CommonCpp::XGPreferencesIntf* store) {
    m_store = store;
    return m_store;
}

AppCapId* CapPreference_TW_UINT16::SetAppCapId(AppCapId* keySource) {
    m_keySource = keySource;
    return m_keySource;
}

void CapPreference_TW_UINT16::AddValue(TW_UINT16 value) {
    m_supported.insert(value);
    m_allowed.insert(value);
}

void CapPreference_TW_UINT16::Reset() {
    m_allowed = m_supported;
    m_current = m_default;
    Save();
}

CommonTwain::SimpleValArray<unsigned short> CapPreference_TW_UINT16::GetAvailable() const {
    CommonTwain::SimpleValArray<unsigned short> values;
    for (TW_UINT16 value : m_allowed) {
        values.Append(value);
    }
    return values;
}

void CapPreference_TW_UINT16::SetEnumeration(
    const CommonTwain::SimpleValArray<unsigned short>& values) {
    std::set<TW_UINT16> allowed;
    for (std::uint32_t i = 0; i < values.GetCount(); ++i) {
        const TW_UINT16 value = values.GetAt(i);
        if (!IsSupported(value)) {
            throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
        }
        allowed.insert(value);
    }
    m_allowed.swap(allowed);
}

void CapPreference_TW_UINT16::SetDefault(TW_UINT16 value) {
    m_default = value;
}

TW_UINT16 CapPreference_TW_UINT16::GetDefault() const {
    return m_default;
}

bool CapPreference_TW_UINT16::IsSupported(TW_UINT16 value) const {
    return m_supported.count(value) != 0;
}

TW_UINT16 CapPreference_TW_UINT16::GetCurrent() const {
    return m_current;
}

void CapPreference_TW_UINT16::SetCurrent(TW_UINT16 value) {
    if (!IsSupported(value)) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    m_current = value;
    SaveIfSupported(Key(), value);
}

void CapPreference_TW_UINT16::Save() {
    SaveIfSupported(Key(), m_current);
}

void CapPreference_TW_UINT16::Load() {
    m_current = Revalidate(Key());
}

void CapPreference_TW_UINT16::SaveIfSupported(const std::string& key, TW_UINT16 value) {
    // Without a store or an application there is nobody to remember the value for.
    if (m_store != nullptr && !key.empty() && IsSupported(value)) {
        m_store->SetInt(key, value);
    }
}

TW_UINT16 CapPreference_TW_UINT16::Revalidate(const std::string& key) const {
    if (m_store == nullptr || key.empty()) {
        return m_default;
    }
    const int value = m_store->GetInt(key, m_default);
    if (value < 0 || value > 0xffff || !IsSupported(static_cast<TW_UINT16>(value))) {
        return m_default;
    }
    return static_cast<TW_UINT16>(value);
}

std::string CapPreference_TW_UINT16::Key() const {
    return m_keySource != nullptr ? m_keySource->GetKey(m_capabilityId) : std::string();
}
