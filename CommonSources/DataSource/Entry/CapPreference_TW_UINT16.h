#pragma once
// The value of one TW_UINT16 capability: current and default, the values supported at all and
// the values the application allows now (a subset), with the current value remembered for the
// calling application in the preferences store under its AppCapId key.

#include "SimpleValArray.h"
#include "TwainDefs.h"

#include <set>
#include <string>

class AppCapId;
namespace CommonCpp {
class XGPreferencesIntf;
}

class CapPreference_TW_UINT16 {
public:
    // Current = default; nothing supported; no store and no key until they are set.
    CapPreference_TW_UINT16(TW_UINT16 capabilityId, TW_UINT16 defaultValue);
    virtual ~CapPreference_TW_UINT16();

    // Neither is owned; both must outlive this object's persistence calls.
    virtual CommonCpp::XGPreferencesIntf* SetStore(CommonCpp::XGPreferencesIntf* store);
    virtual AppCapId* SetAppCapId(AppCapId* keySource);
    // Supported and allowed.
    virtual void AddValue(TW_UINT16 value);
    // Allowed = supported, current = default, remembered.
    virtual void Reset();
    // The allowed values, ascending.
    virtual CommonTwain::SimpleValArray<unsigned short> GetAvailable() const;
    // Replaces the allowed values (sorted, duplicates dropped); the current value stays.
    // TWCC_BADVALUE, with nothing changed, for a value that is not supported.
    virtual void SetEnumeration(const CommonTwain::SimpleValArray<unsigned short>& values);
    virtual void SetDefault(TW_UINT16 value);
    virtual TW_UINT16 GetDefault() const;
    virtual bool IsSupported(TW_UINT16 value) const;
    virtual TW_UINT16 GetCurrent() const;
    // Any supported value, allowed now or not; remembered. TWCC_BADVALUE otherwise.
    virtual void SetCurrent(TW_UINT16 value);
    virtual void Save();
    // The remembered value becomes current; the default when it is missing or unsupported.
    virtual void Load();
    virtual void SaveIfSupported(const std::string& key, TW_UINT16 value);
    // The remembered value when it is supported, else the default; changes nothing.
    virtual TW_UINT16 Revalidate(const std::string& key) const;

private:
    // Empty while there is no key source.
    std::string Key() const;

    CommonCpp::XGPreferencesIntf* m_store = nullptr;
    AppCapId* m_keySource = nullptr;
    TW_UINT16 m_capabilityId;
    TW_UINT16 m_default;
    TW_UINT16 m_current;
    std::set<TW_UINT16> m_supported;
    std::set<TW_UINT16> m_allowed;
};
