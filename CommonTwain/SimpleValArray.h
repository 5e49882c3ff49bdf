#pragma once
// Small owning array of values: a buffer of max(count, 1) elements that grows by exactly the
// elements asked for. Copies are deep (element copy assignment); an array of pointers does not
// own what they point to.

#include "ValArrayInterface.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>

namespace CommonTwain {

template <typename T> class SimpleValArray : public ValArrayInterface<T> {
public:
    explicit SimpleValArray(std::uint32_t count = 0) : m_data(MakeBuffer(count)), m_count(count) {}

    SimpleValArray(const SimpleValArray& other)
        : m_data(MakeBuffer(other.m_count)), m_count(other.m_count) {
        std::copy(other.m_data.get(), other.m_data.get() + other.m_count, m_data.get());
    }

    SimpleValArray& operator=(const SimpleValArray& other) {
        if (this != &other) {
            SimpleValArray copy(other);
            swap(copy);
        }
        return *this;
    }

    ~SimpleValArray() override = default;

    void SetAt(std::uint32_t index, const T& value) override { *ElementAt(index) = value; }
    T GetAt(std::uint32_t index) const override { return *ElementAt(index); }

    // Indexes below max(count, 1) are valid: an empty array still has its one element.
    T* ElementAt(std::uint32_t index) override {
        CheckIndex(index);
        return m_data.get() + index;
    }
    const T* ElementAt(std::uint32_t index) const override {
        CheckIndex(index);
        return m_data.get() + index;
    }

    std::uint32_t GetCount() const override { return m_count; }
    T* GetData() override { return m_data.get(); }
    const T* GetData() const override { return m_data.get(); }

    void CopyFrom(const T* source, std::uint32_t n, std::uint32_t start) override {
        // 64-bit sum: start + n must not wrap around.
        const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t{start} + n, m_count);
        for (std::uint64_t i = start; i < end; ++i) {
            m_data[static_cast<std::size_t>(i)] = source[i - start];
        }
    }

    void Resize(std::uint32_t count) {
        if (count == m_count) {
            return;
        }
        if (count == 1 && m_count == 0) {
            m_count = 1;
            return;
        }
        std::unique_ptr<T[]> data = MakeBuffer(count);
        const std::uint32_t kept = std::min(count, m_count);
        std::copy(m_data.get(), m_data.get() + kept, data.get());
        m_data = std::move(data);
        m_count = count;
    }

    // Returns the new element's index.
    std::uint32_t Append(const T& value) {
        T copy(value); // value may live in the buffer Resize replaces
        const std::uint32_t index = m_count;
        Resize(m_count + 1);
        m_data[index] = std::move(copy);
        return index;
    }

    void swap(SimpleValArray& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_count, other.m_count);
    }

private:
    // Value-initialised: plain elements start as 0, table rows as empty rows.
    static std::unique_ptr<T[]> MakeBuffer(std::uint32_t count) {
        return std::unique_ptr<T[]>(new T[std::max<std::uint32_t>(count, 1)]());
    }

    void CheckIndex(std::uint32_t index) const {
        if (index >= std::max<std::uint32_t>(m_count, 1)) {
            throw std::out_of_range("SimpleValArray index");
        }
    }

    std::unique_ptr<T[]> m_data;
    std::uint32_t m_count;
};

} // namespace CommonTwain
