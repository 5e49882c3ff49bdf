#pragma once
// A capability that is one text.

#include <string>

class ScanAttributeWrapper;

class SimpleServerCap {
public:
    SimpleServerCap() = default;
    virtual ~SimpleServerCap();

    // False when the key or its text is missing (the value is then unchanged).
    virtual bool LoadFromServer(const std::string& key, const ScanAttributeWrapper& table);
    virtual std::string GetValue() const;

private:
    std::string m_value;
};
