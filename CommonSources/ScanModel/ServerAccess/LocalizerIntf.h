#pragma once
// Server keyword -> display text in the interface language.

#include <string>

class LocalizerIntf {
public:
    LocalizerIntf() = default;
    LocalizerIntf(const LocalizerIntf&) = delete;
    LocalizerIntf& operator=(const LocalizerIntf&) = delete;
    virtual ~LocalizerIntf() = default;

    virtual std::string GetString(const std::string& key) = 0;
};
