#include "IntServerCap.h"

IntServerCap::~IntServerCap() = default;

void IntServerCap::ComputeMinMax() const {
    const int32_t count = GetCount();
    if (count > 0) {
        m_largest = m_smallest = GetIntValueAt(0);
        for (int32_t i = 1; i < count; ++i) {
            const int32_t value = GetIntValueAt(i);
            if (value > m_largest) {
                m_largest = value;
            } else if (value < m_smallest) {
                m_smallest = value;
            }
        }
    }
    m_computed = true;
}

int32_t IntServerCap::GetIntValueAt(int32_t index) const {
    return ServerCapTextToInt(GetValueAt(index));
}

int32_t IntServerCap::GetMaxIntValue() const {
    if (!m_computed) {
        ComputeMinMax();
    }
    return m_largest;
}

int32_t IntServerCap::GetMinIntValue() const {
    if (!m_computed) {
        ComputeMinMax();
    }
    return m_smallest;
}
