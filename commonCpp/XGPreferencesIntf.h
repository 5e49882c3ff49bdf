#pragma once
// The settings store its users hold: text values by name within one store; an empty name is
// the store's unnamed value. Getters never throw; a missing or malformed value gives the
// caller's default. Booleans are stored "true"/"false", integers and doubles as text.

#include <string>

namespace CommonCpp {

class XGPreferencesIntf {
public:
    virtual ~XGPreferencesIntf() = default;

    virtual bool GetBool(const std::string& key, bool& found, bool defaultValue) const = 0;
    virtual bool GetBoolByValue(const std::string& key, bool defaultValue) const = 0;
    virtual int GetInt(const std::string& key, bool& found, int defaultValue) const = 0;
    virtual int GetIntByValue(const std::string& key, int defaultValue) const = 0;
    virtual double GetDouble(const std::string& key, bool& found, double defaultValue) const = 0;
    virtual double GetDoubleByValue(const std::string& key, double defaultValue) const = 0;
    virtual std::string QueryString(const std::string& key, bool& found,
                                    const std::string& defaultValue) const = 0;
    virtual std::string GetString(const std::string& key, bool& found) const = 0;
    virtual std::string GetStringByValue(const std::string& key,
                                         const std::string& defaultValue) const = 0;
    virtual std::string GetStringOrEmpty(const std::string& key) const = 0;
    virtual void SetBool(const std::string& key, bool value) = 0;
    virtual void SetInt(const std::string& key, int value) = 0;
    virtual void SetDouble(const std::string& key, double value) = 0;
    // The registry result code, 0 on success.
    virtual long SetString(const std::string& key, const std::string& value) = 0;
    virtual long DeleteValue(const std::string& key) = 0;

    // The same reads without a found flag.
    bool GetBool(const std::string& key, bool defaultValue) const {
        return GetBoolByValue(key, defaultValue);
    }
    int GetInt(const std::string& key, int defaultValue) const {
        return GetIntByValue(key, defaultValue);
    }
    double GetDouble(const std::string& key, double defaultValue) const {
        return GetDoubleByValue(key, defaultValue);
    }

protected:
    XGPreferencesIntf() = default;
    XGPreferencesIntf(const XGPreferencesIntf&) = default;
    XGPreferencesIntf& operator=(const XGPreferencesIntf&) = default;
};

} // namespace CommonCpp
