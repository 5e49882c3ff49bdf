#pragma once
// A capability whose values are whole numbers, with its largest and smallest value worked out
// once, on first use.

#include "ServerCap.h"

class IntServerCap : public ServerCap {
public:
    using ServerCap::ServerCap;
    IntServerCap(const IntServerCap& other) = default;
    IntServerCap& operator=(const IntServerCap& other) = default;
    ~IntServerCap() override;

    virtual void ComputeMinMax() const;

    // The value text read as atoi reads it; std::out_of_range for a bad index.
    int32_t GetIntValueAt(int32_t index) const;
    // Both are 0 for an item without values.
    int32_t GetMaxIntValue() const;
    int32_t GetMinIntValue() const;

private:
    mutable bool m_computed = false;
    mutable int32_t m_largest = 0;
    mutable int32_t m_smallest = 0;
};
