#pragma once
// Helpers of the capability tests: an attribute table built in memory and a localizer whose
// texts show which values it was asked for.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "LocalizerIntf.h"
#include "ScanAttributeWrapper.h"

class MarkingLocalizer : public LocalizerIntf {
public:
    std::string GetString(const std::string& key) override { return "<" + key + ">"; }
};

inline std::unique_ptr<ScanAttributeWrapper>
Table(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    auto table = std::make_unique<ScanAttributeWrapper>(nullptr, nullptr);
    for (const auto& pair : pairs) {
        table->SetAttribute(pair.first, pair.second);
    }
    return table;
}

template <typename Item> std::vector<std::string> Values(const Item& item) {
    std::vector<std::string> values;
    for (int32_t i = 0; i < item.GetCount(); ++i) {
        values.push_back(item.GetValueAt(i));
    }
    return values;
}

template <typename Item> std::vector<std::string> Localized(const Item& item) {
    std::vector<std::string> values;
    for (int32_t i = 0; i < item.GetCount(); ++i) {
        values.push_back(item.GetLocalizedValueAt(i));
    }
    return values;
}

using Texts = std::vector<std::string>;
