#pragma once
// The one place that knows how the server-access libraries' plain records are laid out, built
// and freed. Every composite operation goes through Allocate and Free only, so a derived class
// that overrides those two decides which heap every record lives on.

#include <cstddef>
#include <cstdint>

#include <new>

#include "quorvel_api.h"

class QuorvelWrapperIntf;

// An exhausted heap, as the allocators report it.
class QuorBadAllocation : public std::bad_alloc {
public:
    const char* what() const noexcept override;
};

class QuorMemoryAllocator {
public:
    QuorMemoryAllocator() = default;
    QuorMemoryAllocator(const QuorMemoryAllocator&) = default;
    QuorMemoryAllocator& operator=(const QuorMemoryAllocator&) = default;
    virtual ~QuorMemoryAllocator();

    // The ordinary heap; throws QuorBadAllocation when it is exhausted. File and line name the
    // caller for allocators that keep diagnostics.
    virtual void* Allocate(size_t size, const char* file, int line);
    // Null is ignored.
    virtual void Free(void* block);

    // A copy with its terminator.
    virtual char* DuplicateString(const char* text, const char* file, int line);
    // The record through out, count set; count null items when count is 1 or more.
    virtual void AllocStringArray(int32_t count, ServerStringArray** out, const char* file,
                                  int line);
    // Items, item array and record; the caller's pointer becomes null.
    virtual void FreeStringArray(ServerStringArray** array);
    // Kind 1 gets a zeroed first form, every other kind a zeroed second form.
    virtual QuorvelValueRecord* AllocValueRecord(int32_t kind, const char* file, int line);
    virtual void FreeValueRecord(QuorvelValueRecord** record);
    virtual void* AllocRecord16(const char* file, int line);
    // Unlike AllocStringArray, the item array exists even for count 0.
    virtual ServerStringArray* NewStringArray(int32_t count, const char* file, int line);
    virtual void FreeStringArrayRecord(ServerStringArray* array);
    virtual void* AllocRecord12(const char* file, int line);
    virtual void FreeIfNotNull(void* block);
    // Fills an existing record: no name, count zeroed values.
    virtual void InitAddressAttr(int32_t count, QuorvelAddressAttr* attr, const char* file,
                                 int line);
    // Value data, value array and name; the record itself stays.
    virtual void FreeAddressAttrContents(QuorvelAddressAttr* attr);
    virtual QuorvelAddressEntry* AllocAddressEntry(int32_t count, const char* file, int line);
    virtual void FreeAddressEntry(QuorvelAddressEntry* entry);
    virtual QuorvelAddressEntryList* AllocAddressEntryList(int32_t count, const char* file,
                                                           int line);
    virtual void FreeAddressEntryList(QuorvelAddressEntryList* list);
    // The record through out, then InitAttributeList on it.
    virtual void AllocAttributeList(int32_t count, ServerAttributeList** out, const char* file,
                                    int line);
    // Count set; keys and values become arrays of count null texts when count is 1 or more.
    virtual void InitAttributeList(int32_t count, ServerAttributeList* list, const char* file,
                                   int line);
    // The contents, and with freeRecord also the record (the caller's pointer becomes null);
    // without it, how a list embedded in a ScanJobEntry is released.
    virtual void FreeAttributeList(ServerAttributeList** list, bool freeRecord);
    virtual void FreeAttributeListContents(ServerAttributeList* list);
    // The record through out; count zeroed entries when count is 1 or more.
    virtual void AllocJobList(int32_t count, ScanJobList** out, const char* file, int line);
    virtual void FreeJobList(ScanJobList** list);

    // A copy of an alert with its own text; the last word is 0.
    ScanAlertEventRecord* CopyAlertEvent(const ScanAlertEventRecord* source, const char* file,
                                         int line);
    void FreeAlertEvent(ScanAlertEventRecord** record);

private:
    // A zero-filled array of count elements of size bytes.
    void* AllocZeroed(size_t count, size_t size, const char* file, int line);
};

// A list the server library made goes back to the library's heap: through the wrapper when it
// is the allocator, else through a plain one. The caller's pointer becomes null.
void FreeReceivedAttributeList(QuorvelWrapperIntf* wrapper, ServerAttributeList** list);
