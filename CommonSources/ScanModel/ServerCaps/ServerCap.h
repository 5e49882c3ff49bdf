#pragma once
// One list-valued capability of the server: the values as the server spells them, their
// display texts and the index of the current (server default) value. Read from the server's
// attribute table under keys built from the item's name N: "N" (current), "N_N" (count),
// "N:1".. (values), "MIN_N", "MAX_N", "STEP_N" (a numeric range).

#include <cstdint>
#include <string>
#include <vector>

class ScanAttributeWrapper;
class LocalizerIntf;

class ServerCap {
public:
    explicit ServerCap(const std::string& name);
    ServerCap(const ServerCap& other) = default;
    ServerCap& operator=(const ServerCap& other) = default;
    virtual ~ServerCap();

    virtual int32_t GetCount() const;
    virtual int32_t GetCurrentIndex() const;
    // std::out_of_range for an index outside the values.
    virtual std::string GetValueAt(int32_t index) const;
    // Never throws: a bad index gives a text that names it.
    virtual std::string GetLocalizedValueAt(int32_t index) const;
    // Exact, case-sensitive.
    virtual bool HasValue(const std::string& text) const;
    virtual std::string GetCountKey() const;
    // Zero-based index; the key counts from 1.
    virtual std::string GetValueKey(int32_t index) const;
    // out takes the default first; false when the key or its text is missing.
    virtual bool GetIntAttribute(const std::string& key, int32_t& out, int32_t defaultValue,
                                 const ScanAttributeWrapper& table) const;
    // out is left alone when the key or its text is missing.
    virtual bool GetStringAttribute(const std::string& key, std::string& out,
                                    const ScanAttributeWrapper& table) const;
    virtual bool GetMaxValue(int32_t& out, int32_t defaultValue,
                             const ScanAttributeWrapper& table) const;
    virtual std::string GetMaxKey() const;
    virtual std::string GetMinKey() const;
    virtual std::string GetStepKey() const;
    virtual std::string GetName() const;
    // Values from min to max by step (step at least 1): negative when max lies below min.
    virtual int32_t GetStepCount(int32_t min, int32_t max, int32_t step) const;
    // The server's list, else its range, else the range given here.
    virtual void LoadNumericFromServer(int32_t defaultMin, int32_t defaultMax, int32_t defaultStep,
                                       int32_t defaultCurrent, const ScanAttributeWrapper& table,
                                       LocalizerIntf* localizer);
    // The server's list and range, else the values given here.
    virtual void LoadFromServerWithDefaults(const std::vector<std::string>& defaults,
                                            const std::string& defaultCurrent,
                                            const ScanAttributeWrapper& table,
                                            LocalizerIntf* localizer);
    // The server's list followed by its range; nothing when it sends neither.
    virtual void LoadFromServer(const ScanAttributeWrapper& table, LocalizerIntf* localizer);
    virtual bool GetMinValue(int32_t& out, int32_t defaultValue,
                             const ScanAttributeWrapper& table) const;
    virtual bool GetStepValue(int32_t& out, int32_t defaultValue,
                              const ScanAttributeWrapper& table) const;

    // Appends the listed values; false (nothing added) without a count from 1 to kMaxValues.
    bool LoadValueList(const ScanAttributeWrapper& table, LocalizerIntf* localizer);
    // True when min, max and step were all found, step >= 1 and max >= min.
    bool GetRange(int32_t& min, int32_t& max, int32_t& step,
                  const ScanAttributeWrapper& table) const;
    // Appends min, min + step, ... up to max, each its own display text.
    bool BuildRangeList(int32_t min, int32_t max, int32_t step);
    bool LoadRangeList(const ScanAttributeWrapper& table);
    std::string LoadCurrentValue(const ScanAttributeWrapper& table) const;
    // Index of the first value equal to text; 0 when text is empty or matches nothing.
    void SetCurrentByName(const std::string& text);

    // A count or range from the server may ask for more values than anyone can offer; a list
    // or range of more values than this is refused like a malformed one.
    static constexpr int32_t kMaxValues = 10000;

protected:
    void Clear();
    void Append(const std::string& value, const std::string& localized);

private:
    std::string m_name;
    std::vector<std::string> m_values;
    int32_t m_currentIndex = 0;
    std::vector<std::string> m_localized;
};

// Decimal text as the runtime's atoi reads it (leading blanks, sign, digits; 0 when there are
// none), saturated to the 32-bit range instead of overflowing.
int32_t ServerCapTextToInt(const std::string& text);
