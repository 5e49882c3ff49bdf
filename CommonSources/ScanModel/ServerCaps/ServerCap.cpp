#include "ServerCap.h"

#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "LocalizerIntf.h"
#include "ScanAttributeWrapper.h"

namespace {

// What a missing range key reads as.
constexpr int32_t kMissingRangeValue = -9999;

std::string Localized(LocalizerIntf* localizer, const std::string& value) {
    return localizer ? localizer->GetString(value) : value;
}

} // namespace

int32_t ServerCapTextToInt(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

ServerCap::ServerCap(const std::string& name) : m_name(name) {}

ServerCap::~ServerCap() = default;

int32_t ServerCap::GetCount() const {
    return static_cast<int32_t>(m_values.size());
}

int32_t ServerCap::GetCurrentIndex() const {
    return m_currentIndex;
}

std::string ServerCap::GetValueAt(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_values.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    return m_values[static_cast<size_t>(index)];
}

std::string ServerCap::GetLocalizedValueAt(int32_t index) const {
    if (index >= 0 && static_cast<size_t>(index) < m_localized.size()) {
        return m_localized[static_cast<size_t>(index)];
    }
    if (index >= 0 && static_cast<size_t>(index) < m_values.size()) {
        return m_values[static_cast<size_t>(index)];
    }
    return std::to_string(index) + " is bad index to ListServerCap::GetLocalizedValueAt";
}

bool ServerCap::HasValue(const std::string& text) const {
    for (const std::string& value : m_values) {
        if (value == text) {
            return true;
        }
    }
    return false;
}

std::string ServerCap::GetCountKey() const {
    return "N_" + m_name;
}

std::string ServerCap::GetValueKey(int32_t index) const {
    return m_name + ":" + std::to_string(static_cast<long long>(index) + 1);
}

bool ServerCap::GetIntAttribute(const std::string& key, int32_t& out, int32_t defaultValue,
                                const ScanAttributeWrapper& table) const {
    out = defaultValue;
    if (key.empty()) {
        return false;
    }
    const std::string text = table.GetAttribute(key);
    if (text.empty()) {
        return false;
    }
    out = ServerCapTextToInt(text);
    return true;
}

bool ServerCap::GetStringAttribute(const std::string& key, std::string& out,
                                   const ScanAttributeWrapper& table) const {
    if (key.empty()) {
        return false;
    }
    const std::string text = table.GetAttribute(key);
    if (text.empty()) {
        return false;
    }
    out = text;
    return true;
}

bool ServerCap::GetMaxValue(int32_t& out, int32_t defaultValue,
                            const ScanAttributeWrapper& table) const {
    return GetIntAttribute(GetMaxKey(), out, defaultValue, table);
}

std::string ServerCap::GetMaxKey() const {
    return "MAX_" + m_name;
}

std::string ServerCap::GetMinKey() const {
    return "MIN_" + m_name;
}

std::string ServerCap::GetStepKey() const {
    return "STEP_" + m_name;
}

std::string ServerCap::GetName() const {
    return m_name;
}

int32_t ServerCap::GetStepCount(int32_t min, int32_t max, int32_t step) const {
    if (step == 0) {
        return 0;
    }
    // Wide arithmetic: the server's bounds may lie far apart.
    const long long q = (static_cast<long long>(max) - min) / step;
    const long long count = q >= 0 ? q + 1 : q;
    if (count > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (count < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(count);
}

void ServerCap::LoadNumericFromServer(int32_t defaultMin, int32_t defaultMax, int32_t defaultStep,
                                      int32_t defaultCurrent, const ScanAttributeWrapper& table,
                                      LocalizerIntf* localizer) {
    Clear();
    std::string current = LoadCurrentValue(table);
    if (current.empty()) {
        current = std::to_string(defaultCurrent);
    }
    const bool listed = LoadValueList(table, localizer);
    int32_t min = 0;
    int32_t max = 0;
    int32_t step = 0;
    const bool minFound = GetMinValue(min, kMissingRangeValue, table);
    const bool maxFound = GetMaxValue(max, kMissingRangeValue, table);
    const bool stepFound = GetStepValue(step, kMissingRangeValue, table);
    if (!listed) {
        if (!minFound) {
            min = defaultMin;
        }
        if (!maxFound) {
            max = defaultMax;
        }
        if (!stepFound) {
            step = defaultStep;
        }
        BuildRangeList(min, max, step);
    } else if (minFound && maxFound && stepFound) {
        BuildRangeList(min, max, step);
    }
    SetCurrentByName(current);
}

void ServerCap::LoadFromServerWithDefaults(const std::vector<std::string>& defaults,
                                           const std::string& defaultCurrent,
                                           const ScanAttributeWrapper& table,
                                           LocalizerIntf* localizer) {
    Clear();
    std::string current = LoadCurrentValue(table);
    if (current.empty()) {
        current = defaultCurrent;
    }
    const bool listed = LoadValueList(table, localizer);
    const bool ranged = LoadRangeList(table);
    if (!listed && !ranged) {
        for (const std::string& value : defaults) {
            Append(value, Localized(localizer, value));
        }
    }
    SetCurrentByName(current);
}

void ServerCap::LoadFromServer(const ScanAttributeWrapper& table, LocalizerIntf* localizer) {
    Clear();
    const std::string current = LoadCurrentValue(table);
    LoadValueList(table, localizer);
    LoadRangeList(table);
    SetCurrentByName(current);
}

bool ServerCap::GetMinValue(int32_t& out, int32_t defaultValue,
                            const ScanAttributeWrapper& table) const {
    return GetIntAttribute(GetMinKey(), out, defaultValue, table);
}

bool ServerCap::GetStepValue(int32_t& out, int32_t defaultValue,
                             const ScanAttributeWrapper& table) const {
    return GetIntAttribute(GetStepKey(), out, defaultValue, table);
}

bool ServerCap::LoadValueList(const ScanAttributeWrapper& table, LocalizerIntf* localizer) {
    int32_t count = 0;
    if (!GetIntAttribute(GetCountKey(), count, -1, table) || count <= 0 || count > kMaxValues) {
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        // A value missing from the list still holds its place.
        const std::string value = table.GetAttribute(GetValueKey(i));
        Append(value, Localized(localizer, value));
    }
    return true;
}

bool ServerCap::GetRange(int32_t& min, int32_t& max, int32_t& step,
                         const ScanAttributeWrapper& table) const {
    const bool minFound = GetMinValue(min, kMissingRangeValue, table);
    const bool maxFound = GetMaxValue(max, kMissingRangeValue, table);
    const bool stepFound = GetStepValue(step, kMissingRangeValue, table);
    return minFound && maxFound && stepFound && step >= 1 && max >= min;
}

bool ServerCap::BuildRangeList(int32_t min, int32_t max, int32_t step) {
    if (step < 1 || max < min) {
        return false;
    }
    const int32_t count = GetStepCount(min, max, step);
    if (count > kMaxValues) {
        return false;
    }
    long long value = min;
    for (int32_t i = 0; i < count; ++i, value += step) {
        const std::string text = std::to_string(value);
        Append(text, text);
    }
    return true;
}

bool ServerCap::LoadRangeList(const ScanAttributeWrapper& table) {
    int32_t min = 0;
    int32_t max = 0;
    int32_t step = 0;
    return GetRange(min, max, step, table) && BuildRangeList(min, max, step);
}

std::string ServerCap::LoadCurrentValue(const ScanAttributeWrapper& table) const {
    std::string text;
    GetStringAttribute(m_name, text, table);
    return text;
}

void ServerCap::SetCurrentByName(const std::string& text) {
    m_currentIndex = 0;
    if (text.empty()) {
        return;
    }
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (m_values[i] == text) {
            m_currentIndex = static_cast<int32_t>(i);
            return;
        }
    }
}

void ServerCap::Clear() {
    m_values.clear();
    m_localized.clear();
    m_currentIndex = 0;
}

void ServerCap::Append(const std::string& value, const std::string& localized) {
    m_values.push_back(value);
    m_localized.push_back(localized);
}
