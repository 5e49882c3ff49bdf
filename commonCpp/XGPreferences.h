#pragma once
// The registry-backed settings store: key "Software\<company>\<product>[\<version>]" under
// HKEY_CURRENT_USER for scope 1, HKEY_LOCAL_MACHINE for any other scope. Every value is REG_SZ.

#include "RegistryKey.h"
#include "XGPreferencesIntf.h"

#include <string>

namespace CommonCpp {

class XGPreferences : public XGPreferencesIntf {
public:
    static constexpr int ScopeCurrentUser = 1;
    static constexpr int ScopeLocalMachine = 0;

    // Opens the key, or creates it; throws XGPostError (ErrorPreferencesKey) when neither works.
    XGPreferences(const std::string& company, const std::string& product,
                  const std::string& version, int scope);
    XGPreferences(const XGPreferences&) = delete;
    XGPreferences& operator=(const XGPreferences&) = delete;
    ~XGPreferences() override;

    using XGPreferencesIntf::GetBool;
    using XGPreferencesIntf::GetDouble;
    using XGPreferencesIntf::GetInt;

    bool GetBool(const std::string& key, bool& found, bool defaultValue) const override;
    bool GetBoolByValue(const std::string& key, bool defaultValue) const override;
    int GetInt(const std::string& key, bool& found, int defaultValue) const override;
    int GetIntByValue(const std::string& key, int defaultValue) const override;
    double GetDouble(const std::string& key, bool& found, double defaultValue) const override;
    double GetDoubleByValue(const std::string& key, double defaultValue) const override;
    // Reads the value whole, whatever its length.
    std::string QueryString(const std::string& key, bool& found,
                            const std::string& defaultValue) const override;
    std::string GetString(const std::string& key, bool& found) const override;
    std::string GetStringByValue(const std::string& key,
                                 const std::string& defaultValue) const override;
    std::string GetStringOrEmpty(const std::string& key) const override;
    void SetBool(const std::string& key, bool value) override;
    void SetInt(const std::string& key, int value) override;
    void SetDouble(const std::string& key, double value) override;
    long SetString(const std::string& key, const std::string& value) override;
    long DeleteValue(const std::string& key) override;

    // "Software\" + company + "\" + product, then "\" + version when there is one.
    static std::string KeyPath(const std::string& company, const std::string& product,
                               const std::string& version);

private:
    RegistryKey m_key;
};

} // namespace CommonCpp
