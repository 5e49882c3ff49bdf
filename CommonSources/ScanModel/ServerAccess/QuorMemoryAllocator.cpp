#include "QuorMemoryAllocator.h"

#include "QuorvelWrapperIntf.h"

#include <cstdlib>
#include <cstring>
#include <limits>

const char* QuorBadAllocation::what() const noexcept {
    return "bad allocation";
}

QuorMemoryAllocator::~QuorMemoryAllocator() = default;

void* QuorMemoryAllocator::Allocate(size_t size, const char*, int) {
    void* const block = std::malloc(size == 0 ? 1 : size);
    if (!block) {
        throw QuorBadAllocation();
    }
    return block;
}

void QuorMemoryAllocator::Free(void* block) {
    std::free(block);
}

void* QuorMemoryAllocator::AllocZeroed(size_t count, size_t size, const char* file, int line) {
    if (count > std::numeric_limits<size_t>::max() / size) {
        throw QuorBadAllocation();
    }
    void* const block = Allocate(count * size, file, line);
    std::memset(block, 0, count * size);
    return block;
}

char* QuorMemoryAllocator::DuplicateString(const char* text, const char* file, int line) {
    const size_t length = text ? std::strlen(text) : 0;
    auto* const copy = static_cast<char*>(Allocate(length + 1, file, line));
    if (length > 0) {
        std::memcpy(copy, text, length);
    }
    copy[length] = '\0';
    return copy;
}

void QuorMemoryAllocator::AllocStringArray(int32_t count, ServerStringArray** out, const char* file,
                                           int line) {
    auto* const array =
        static_cast<ServerStringArray*>(AllocZeroed(1, sizeof(ServerStringArray), file, line));
    if (count >= 1) {
        try {
            array->items = static_cast<char**>(AllocZeroed(count, sizeof(char*), file, line));
        } catch (...) {
            Free(array);
            throw;
        }
    }
    array->count = count;
    *out = array;
}

void QuorMemoryAllocator::FreeStringArray(ServerStringArray** array) {
    if (!array || !*array) {
        return;
    }
    FreeStringArrayRecord(*array);
    *array = nullptr;
}

QuorvelValueRecord* QuorMemoryAllocator::AllocValueRecord(int32_t kind, const char* file,
                                                          int line) {
    auto* const record =
        static_cast<QuorvelValueRecord*>(AllocZeroed(1, sizeof(QuorvelValueRecord), file, line));
    try {
        if (kind == 1) {
            record->first = static_cast<QuorvelValueFirstForm*>(
                AllocZeroed(1, sizeof(QuorvelValueFirstForm), file, line));
        } else {
            record->second = static_cast<QuorvelValueSecondForm*>(
                AllocZeroed(1, sizeof(QuorvelValueSecondForm), file, line));
        }
    } catch (...) {
        Free(record);
        throw;
    }
    return record;
}

void QuorMemoryAllocator::FreeValueRecord(QuorvelValueRecord** record) {
    if (!record || !*record) {
        return;
    }
    const auto freeSub = [this](QuorvelValueSubRecord* sub) {
        if (sub) {
            Free(sub->text1);
            Free(sub->text2);
            FreeStringArrayRecord(sub->strings);
            Free(sub);
        }
    };
    if (QuorvelValueFirstForm* const first = (*record)->first) {
        Free(first->text);
        freeSub(first->sub);
        Free(first);
    }
    if (QuorvelValueSecondForm* const second = (*record)->second) {
        Free(second->text);
        // Every pointer of these records owns what it points to, the second one too.
        Free(second->extra);
        if (QuorvelValuePointers* const pointers = second->pointers) {
            Free(pointers->pointer0);
            Free(pointers->pointer1);
            Free(pointers->pointer2);
            Free(pointers);
        }
        freeSub(second->sub);
        Free(second);
    }
    Free(*record);
    *record = nullptr;
}

// The records are named by their 32-bit sizes; they hold pointers and grow with them.
void* QuorMemoryAllocator::AllocRecord16(const char* file, int line) {
    return AllocZeroed(1, sizeof(QuorvelValueSecondForm), file, line);
}

ServerStringArray* QuorMemoryAllocator::NewStringArray(int32_t count, const char* file, int line) {
    auto* const array =
        static_cast<ServerStringArray*>(AllocZeroed(1, sizeof(ServerStringArray), file, line));
    try {
        array->items = static_cast<char**>(
            AllocZeroed(count > 0 ? static_cast<size_t>(count) : 0, sizeof(char*), file, line));
    } catch (...) {
        Free(array);
        throw;
    }
    array->count = count;
    return array;
}

void QuorMemoryAllocator::FreeStringArrayRecord(ServerStringArray* array) {
    if (!array) {
        return;
    }
    if (array->items) {
        for (int32_t i = 0; i < array->count; ++i) {
            Free(array->items[i]);
        }
        Free(array->items);
    }
    Free(array);
}

void* QuorMemoryAllocator::AllocRecord12(const char* file, int line) {
    static_assert(sizeof(QuorvelValueSubRecord) == sizeof(QuorvelValuePointers));
    return AllocZeroed(1, sizeof(QuorvelValueSubRecord), file, line);
}

void QuorMemoryAllocator::FreeIfNotNull(void* block) {
    if (block) {
        Free(block);
    }
}

void QuorMemoryAllocator::InitAddressAttr(int32_t count, QuorvelAddressAttr* attr, const char* file,
                                          int line) {
    attr->name = nullptr;
    attr->values = nullptr;
    attr->numVals = count;
    if (count > 0) {
        attr->values = static_cast<QuorvelAddressValue*>(
            AllocZeroed(count, sizeof(QuorvelAddressValue), file, line));
    }
}

void QuorMemoryAllocator::FreeAddressAttrContents(QuorvelAddressAttr* attr) {
    if (!attr) {
        return;
    }
    if (attr->values) {
        for (int32_t i = 0; i < attr->numVals; ++i) {
            Free(attr->values[i].data);
        }
        Free(attr->values);
        attr->values = nullptr;
    }
    Free(attr->name);
    attr->name = nullptr;
}

QuorvelAddressEntry* QuorMemoryAllocator::AllocAddressEntry(int32_t count, const char* file,
                                                            int line) {
    auto* const entry =
        static_cast<QuorvelAddressEntry*>(AllocZeroed(1, sizeof(QuorvelAddressEntry), file, line));
    if (count >= 1) {
        try {
            entry->attrs = static_cast<QuorvelAddressAttr*>(
                AllocZeroed(count, sizeof(QuorvelAddressAttr), file, line));
        } catch (...) {
            Free(entry);
            throw;
        }
    }
    entry->numAttrs = count;
    return entry;
}

void QuorMemoryAllocator::FreeAddressEntry(QuorvelAddressEntry* entry) {
    if (!entry) {
        return;
    }
    Free(entry->name);
    if (entry->attrs) {
        for (int32_t i = 0; i < entry->numAttrs; ++i) {
            FreeAddressAttrContents(&entry->attrs[i]);
        }
        Free(entry->attrs);
    }
    Free(entry);
}

QuorvelAddressEntryList* QuorMemoryAllocator::AllocAddressEntryList(int32_t count, const char* file,
                                                                    int line) {
    auto* const list = static_cast<QuorvelAddressEntryList*>(
        AllocZeroed(1, sizeof(QuorvelAddressEntryList), file, line));
    if (count >= 1) {
        try {
            list->items = static_cast<QuorvelAddressEntry**>(
                AllocZeroed(count, sizeof(QuorvelAddressEntry*), file, line));
        } catch (...) {
            Free(list);
            throw;
        }
    }
    list->count = count;
    return list;
}

void QuorMemoryAllocator::FreeAddressEntryList(QuorvelAddressEntryList* list) {
    if (!list) {
        return;
    }
    if (list->items) {
        for (int32_t i = 0; i < list->count; ++i) {
            FreeAddressEntry(list->items[i]);
        }
        Free(list->items);
    }
    Free(list);
}

void QuorMemoryAllocator::AllocAttributeList(int32_t count, ServerAttributeList** out,
                                             const char* file, int line) {
    auto* const list =
        static_cast<ServerAttributeList*>(AllocZeroed(1, sizeof(ServerAttributeList), file, line));
    try {
        InitAttributeList(count, list, file, line);
    } catch (...) {
        Free(list);
        throw;
    }
    *out = list;
}

void QuorMemoryAllocator::InitAttributeList(int32_t count, ServerAttributeList* list,
                                            const char* file, int line) {
    list->keys = nullptr;
    list->values = nullptr;
    list->count = count;
    if (count >= 1) {
        list->keys = static_cast<char**>(AllocZeroed(count, sizeof(char*), file, line));
        try {
            list->values = static_cast<char**>(AllocZeroed(count, sizeof(char*), file, line));
        } catch (...) {
            Free(list->keys);
            list->keys = nullptr;
            list->count = 0;
            throw;
        }
    }
}

void QuorMemoryAllocator::FreeAttributeList(ServerAttributeList** list, bool freeRecord) {
    if (!list || !*list) {
        return;
    }
    FreeAttributeListContents(*list);
    if (freeRecord) {
        Free(*list);
        *list = nullptr;
    }
}

void QuorMemoryAllocator::FreeAttributeListContents(ServerAttributeList* list) {
    if (!list) {
        return;
    }
    for (int32_t i = 0; i < list->count; ++i) {
        if (list->keys) {
            Free(list->keys[i]);
        }
        if (list->values) {
            Free(list->values[i]);
        }
    }
    Free(list->keys);
    Free(list->values);
    list->keys = nullptr;
    list->values = nullptr;
    list->count = 0;
}

void QuorMemoryAllocator::AllocJobList(int32_t count, ScanJobList** out, const char* file,
                                       int line) {
    auto* const list = static_cast<ScanJobList*>(AllocZeroed(1, sizeof(ScanJobList), file, line));
    if (count >= 1) {
        try {
            list->entries =
                static_cast<ScanJobEntry*>(AllocZeroed(count, sizeof(ScanJobEntry), file, line));
        } catch (...) {
            Free(list);
            throw;
        }
    }
    list->count = count;
    *out = list;
}

void QuorMemoryAllocator::FreeJobList(ScanJobList** list) {
    if (!list || !*list) {
        return;
    }
    if ((*list)->entries) {
        for (int32_t i = 0; i < (*list)->count; ++i) {
            ServerAttributeList* attributes = &(*list)->entries[i].attributes;
            FreeAttributeList(&attributes, false);
        }
        Free((*list)->entries);
    }
    Free(*list);
    *list = nullptr;
}

ScanAlertEventRecord* QuorMemoryAllocator::CopyAlertEvent(const ScanAlertEventRecord* source,
                                                          const char* file, int line) {
    auto* const copy = static_cast<ScanAlertEventRecord*>(
        AllocZeroed(1, sizeof(ScanAlertEventRecord), file, line));
    if (!source) {
        return copy;
    }
    copy->word0 = source->word0;
    copy->word1 = source->word1;
    copy->word3 = source->word3;
    copy->word4 = source->word4;
    copy->word5 = 0;
    if (source->text) {
        try {
            copy->text = DuplicateString(source->text, __FILE__, __LINE__);
        } catch (...) {
            Free(copy);
            throw;
        }
    }
    return copy;
}

void QuorMemoryAllocator::FreeAlertEvent(ScanAlertEventRecord** record) {
    if (!record || !*record) {
        return;
    }
    Free((*record)->text);
    Free(*record);
    *record = nullptr;
}

void FreeReceivedAttributeList(QuorvelWrapperIntf* wrapper, ServerAttributeList** list) {
    if (auto* const allocator = dynamic_cast<QuorMemoryAllocator*>(wrapper)) {
        allocator->FreeAttributeList(list, true);
    } else {
        QuorMemoryAllocator().FreeAttributeList(list, true);
    }
}
