#pragma once
// An on/off capability: true only when the server's text is exactly "YES"; a key the server
// leaves out keeps the default.

#include <string>

class ScanAttributeWrapper;

class BooleanServerCap {
public:
    explicit BooleanServerCap(bool defaultValue);
    virtual ~BooleanServerCap();

    // False when the key or its text is missing (the value is then unchanged).
    virtual bool LoadFromServer(const std::string& key, const ScanAttributeWrapper& table);
    virtual bool GetValue() const;

private:
    bool m_value;
};
