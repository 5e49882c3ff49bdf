#pragma once
// Abstract counted array of values, the view the containers and tables are read through.

#include <cstdint>

namespace CommonTwain {

template <typename T> class ValArrayInterface {
public:
    virtual ~ValArrayInterface() = default;

    virtual void SetAt(std::uint32_t index, const T& value) = 0;
    virtual T GetAt(std::uint32_t index) const = 0;
    virtual T* ElementAt(std::uint32_t index) = 0;
    virtual const T* ElementAt(std::uint32_t index) const = 0;
    virtual std::uint32_t GetCount() const = 0;
    virtual T* GetData() = 0;
    virtual const T* GetData() const = 0;
    // source[0..n) into the elements start.. up to the count; the count never changes.
    virtual void CopyFrom(const T* source, std::uint32_t n, std::uint32_t start) = 0;
};

} // namespace CommonTwain
