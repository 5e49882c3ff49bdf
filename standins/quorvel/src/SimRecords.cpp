#include "SimRecords.h"

#include <cstring>

#include "SimHeap.h"

namespace orvexsim {

namespace {

void FreeBlock(void* block) {
    SimHeap::Instance().Free(block);
}

} // namespace

ServerAttributeList* BuildAttributeList(const Pairs& pairs) {
    SimHeap& heap = SimHeap::Instance();
    auto* const list =
        static_cast<ServerAttributeList*>(heap.Allocate(sizeof(ServerAttributeList)));
    if (!list) {
        return nullptr;
    }
    std::memset(list, 0, sizeof(*list));
    if (pairs.empty()) {
        return list;
    }
    const size_t bytes = pairs.size() * sizeof(char*);
    list->keys = static_cast<char**>(heap.Allocate(bytes));
    list->values = static_cast<char**>(heap.Allocate(bytes));
    if (!list->keys || !list->values) {
        FreeAttributeListContents(list);
        FreeBlock(list);
        return nullptr;
    }
    std::memset(list->keys, 0, bytes);
    std::memset(list->values, 0, bytes);
    list->count = static_cast<int32_t>(pairs.size());
    for (size_t i = 0; i < pairs.size(); ++i) {
        list->keys[i] = heap.DuplicateString(pairs[i].first);
        list->values[i] = heap.DuplicateString(pairs[i].second);
        if (!list->keys[i] || !list->values[i]) {
            FreeAttributeListContents(list);
            FreeBlock(list);
            return nullptr;
        }
    }
    return list;
}

void FreeAttributeListContents(ServerAttributeList* list) {
    if (!list) {
        return;
    }
    for (int32_t i = 0; i < list->count; ++i) {
        if (list->keys) {
            FreeBlock(list->keys[i]);
        }
        if (list->values) {
            FreeBlock(list->values[i]);
        }
    }
    FreeBlock(list->keys);
    FreeBlock(list->values);
    list->keys = nullptr;
    list->values = nullptr;
    list->count = 0;
}

bool FreeStringArray(ServerStringArray* array) {
    if (!SimHeap::Instance().Owns(array)) {
        return false;
    }
    if (array->items) {
        for (int32_t i = 0; i < array->count; ++i) {
            FreeBlock(array->items[i]);
        }
    }
    FreeBlock(array->items);
    FreeBlock(array);
    return true;
}

bool FreeJobList(ScanJobList* list) {
    if (!SimHeap::Instance().Owns(list)) {
        return false;
    }
    if (list->entries) {
        for (int32_t i = 0; i < list->count; ++i) {
            FreeAttributeListContents(&list->entries[i].attributes);
        }
    }
    FreeBlock(list->entries);
    FreeBlock(list);
    return true;
}

bool FreeAddressEntryList(QuorvelAddressEntryList* list) {
    if (!SimHeap::Instance().Owns(list)) {
        return false;
    }
    for (int32_t i = 0; list->items && i < list->count; ++i) {
        QuorvelAddressEntry* const entry = list->items[i];
        if (!entry) {
            continue;
        }
        for (int32_t a = 0; entry->attrs && a < entry->numAttrs; ++a) {
            QuorvelAddressAttr& attr = entry->attrs[a];
            for (int32_t v = 0; attr.values && v < attr.numVals; ++v) {
                FreeBlock(attr.values[v].data);
            }
            FreeBlock(attr.values);
            FreeBlock(attr.name);
        }
        FreeBlock(entry->attrs);
        FreeBlock(entry->name);
        FreeBlock(entry);
    }
    FreeBlock(list->items);
    FreeBlock(list);
    return true;
}

} // namespace orvexsim
