#pragma once
// The directive grammar and the argument walk shared by the payload writer and reader.
#include "kivo_marshal.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kivo {

constexpr int kMaxArrayDims = 2;

struct Directive {
    int stars = 0;
    bool presence = false; // '0' before the type or the array marker
    bool hash = false;     // '#'
    bool allocate = false; // '8'
    char type = 0;         // value type, or the array marker '&' / '@'
    char countLetter = 'n';
    std::string element; // arrays: the element part, the directive's first '0' left out
    bool isArray() const { return type == '&' || type == '@'; }
};

// Parses the directive that starts at format[pos] ('%') and moves pos to the next one. A
// malformed format is a programming error; `who` names the caller in the message.
Directive parseDirective(const char* format, size_t& pos, const char* who);

// Bytes between array elements in memory.
size_t elementSize(const Directive& d, const kivo_offs_t* nestedOffsets);
char elementType(const Directive& d);

// Where a directive's values, targets, offsets and dimensions come from.
class ArgSource {
public:
    virtual ~ArgSource() = default;
    virtual bool structMode() const = 0;
    virtual int nextInt() = 0;
    virtual int64_t nextInt64() = 0;
    virtual double nextDouble() = 0;
    virtual void* nextPtr() = 0;
    virtual kivo_offs_t nextEntry() = 0;
};

// The variable argument list of a list-mode call.
class VaArgSource final : public ArgSource {
public:
    explicit VaArgSource(va_list args) { va_copy(args_, args); }
    ~VaArgSource() override { va_end(args_); }
    VaArgSource(const VaArgSource&) = delete;
    VaArgSource& operator=(const VaArgSource&) = delete;
    bool structMode() const override { return false; }
    int nextInt() override { return va_arg(args_, int); }
    int64_t nextInt64() override { return va_arg(args_, int64_t); }
    double nextDouble() override { return va_arg(args_, double); }
    void* nextPtr() override { return va_arg(args_, void*); }
    kivo_offs_t nextEntry() override { return 0; }

private:
    va_list args_;
};

// An array element in list mode: its address, then the nested format and table if any.
class PointerArgSource final : public ArgSource {
public:
    PointerArgSource(void* element, const char* format, const kivo_offs_t* offsets)
        : ptrs_{element, const_cast<char*>(format), const_cast<kivo_offs_t*>(offsets)} {}
    bool structMode() const override { return false; }
    int nextInt() override;
    int64_t nextInt64() override;
    double nextDouble() override;
    void* nextPtr() override { return next_ < 3 ? ptrs_[next_++] : nullptr; }
    kivo_offs_t nextEntry() override { return 0; }

private:
    void* ptrs_[3];
    int next_ = 0;
};

// A structure's offsets table, walked from entry 1.
class OffsetsArgSource final : public ArgSource {
public:
    explicit OffsetsArgSource(const kivo_offs_t* table) : table_(table) {}
    bool structMode() const override { return true; }
    int nextInt() override { return static_cast<int>(nextEntry()); }
    int64_t nextInt64() override { return nextEntry(); }
    double nextDouble() override { return 0; }
    void* nextPtr() override { return reinterpret_cast<void*>(nextEntry()); }
    kivo_offs_t nextEntry() override { return table_[next_++]; }

private:
    const kivo_offs_t* table_;
    int next_ = 1;
};

// Follows `levels` pointers from p; null stays null.
const void* followPointers(const void* p, int levels);

// The count field of an '@' array, read with the width of the count letter.
int64_t readCount(const void* field, char countLetter);

} // namespace kivo
