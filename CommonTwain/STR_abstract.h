#pragma once
// Base of the fixed-length TWAIN string values: a zero-terminated text in a buffer of fixed
// capacity that never overflows, with bounded copies, comparison and a trace text.

#include <memory>
#include <string>

namespace CommonTwain {

class STR_abstract {
public:
    virtual ~STR_abstract();

    void SetCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }
    bool IsCaseSensitive() const { return m_caseSensitive; }

    virtual std::unique_ptr<STR_abstract> Clone() const = 0;
    virtual char* GetBuffer() = 0;
    virtual const char* GetBuffer() const = 0;
    // Buffer size in bytes; the longest text is one less.
    virtual unsigned GetCapacity() const = 0;
    virtual std::string Dump() const = 0;

    unsigned GetLength() const;
    // index must lie below the capacity (std::out_of_range otherwise).
    char* CharAddress(unsigned index);
    char GetAt(unsigned index) const;
    void Clear();
    void Append(const STR_abstract& other);
    STR_abstract& operator+=(const STR_abstract& other);
    // At most size - 1 characters and a terminator; nothing for size 0.
    void CopyTo(char* buffer, unsigned size) const;
    // The caller's buffer holds GetCapacity() bytes.
    void GetText(char* buffer) const;
    void Assign(const char* text);
    // Number of characters stored.
    unsigned CopyFrom(const char* text);
    int Compare(const STR_abstract& other) const;
    std::string ToStdString() const;
    void SetText(const char* text);
    void SetStdString(const std::string& text);
    void AssignValue(const STR_abstract& other);
    // Cuts the text at index (kept inside the buffer); returns where the terminator went.
    unsigned Truncate(unsigned index);
    void AppendChar(char c);

protected:
    STR_abstract() = default;
    STR_abstract(const STR_abstract& other) = default;
    STR_abstract& operator=(const STR_abstract& other) = default;

    // The texts Before/After of the concrete classes hand out.
    void StoreBefore(char c, STR_abstract& target) const;
    void StoreAfter(char c, STR_abstract& target) const;
    void StoreCount(const char* text, std::size_t count);

private:
    bool m_caseSensitive = false;
};

} // namespace CommonTwain
