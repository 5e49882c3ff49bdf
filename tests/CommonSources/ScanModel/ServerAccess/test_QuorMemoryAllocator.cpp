// Building and freeing the libraries' records: every level through Allocate and Free, nothing
// left behind, nothing half-built handed back.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "QuorMemoryAllocator.h"

namespace {

// The ordinary heap, with every live block and its size on record, failing on request.
class CountingAllocator : public QuorMemoryAllocator {
public:
    ~CountingAllocator() override { EXPECT_TRUE(blocks.empty()) << blocks.size() << " left"; }

    void* Allocate(size_t size, const char* file, int line) override {
        if (allocationsLeft == 0) {
            throw QuorBadAllocation();
        }
        --allocationsLeft;
        void* const block = QuorMemoryAllocator::Allocate(size, file, line);
        blocks[block] = size;
        return block;
    }

    void Free(void* block) override {
        if (block) {
            EXPECT_EQ(1u, blocks.erase(block)) << "not a live block";
            QuorMemoryAllocator::Free(block);
        }
    }

    size_t SizeOf(const void* block) const {
        const auto found = blocks.find(const_cast<void*>(block));
        return found == blocks.end() ? 0 : found->second;
    }

    std::map<void*, size_t> blocks;
    int allocationsLeft = -1; // never fails
};

TEST(QuorMemoryAllocator, AttributeLists) {
    CountingAllocator allocator;
    ServerAttributeList* list = nullptr;
    allocator.AllocAttributeList(0, &list, __FILE__, __LINE__);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, list->count);
    EXPECT_EQ(nullptr, list->keys);
    EXPECT_EQ(nullptr, list->values);
    EXPECT_EQ(1u, allocator.blocks.size());
    allocator.FreeAttributeList(&list, true);
    EXPECT_EQ(nullptr, list);
    EXPECT_TRUE(allocator.blocks.empty());

    allocator.AllocAttributeList(2, &list, __FILE__, __LINE__);
    EXPECT_EQ(2, list->count);
    EXPECT_EQ(nullptr, list->keys[1]);
    list->keys[0] = allocator.DuplicateString("KEY", __FILE__, __LINE__);
    list->values[0] = allocator.DuplicateString("", __FILE__, __LINE__);
    EXPECT_EQ(1u, allocator.SizeOf(list->values[0])) << "an empty text is its terminator";
    EXPECT_EQ('\0', list->values[0][0]);
    ServerAttributeList* embedded = list;
    allocator.FreeAttributeList(&embedded, false);
    EXPECT_EQ(list, embedded) << "the record stays, as for a list inside a job entry";
    EXPECT_EQ(1u, allocator.blocks.size());
    allocator.Free(list);
}

TEST(QuorMemoryAllocator, StringArrays) {
    CountingAllocator allocator;
    ServerStringArray* array = nullptr;
    allocator.AllocStringArray(0, &array, __FILE__, __LINE__);
    EXPECT_EQ(nullptr, array->items);
    EXPECT_EQ(1u, allocator.blocks.size());
    allocator.FreeStringArray(&array);
    EXPECT_EQ(nullptr, array);

    ServerStringArray* made = allocator.NewStringArray(0, __FILE__, __LINE__);
    EXPECT_NE(nullptr, made->items) << "an empty item array all the same";
    EXPECT_EQ(2u, allocator.blocks.size());
    allocator.FreeStringArrayRecord(made);

    allocator.AllocStringArray(3, &array, __FILE__, __LINE__);
    array->items[0] = allocator.DuplicateString("one", __FILE__, __LINE__);
    array->items[2] = allocator.DuplicateString("three", __FILE__, __LINE__);
    allocator.FreeStringArray(&array);
    allocator.FreeStringArray(&array);
    allocator.FreeStringArray(nullptr);
    allocator.FreeStringArrayRecord(nullptr);
}

TEST(QuorMemoryAllocator, JobListsAndAddressEntries) {
    CountingAllocator allocator;
    ScanJobList* jobs = nullptr;
    allocator.AllocJobList(3, &jobs, __FILE__, __LINE__);
    EXPECT_EQ(3 * sizeof(ScanJobEntry), allocator.SizeOf(jobs->entries));
    EXPECT_EQ(0, jobs->entries[2].jobId);
    allocator.InitAttributeList(2, &jobs->entries[1].attributes, __FILE__, __LINE__);
    jobs->entries[1].attributes.keys[1] = allocator.DuplicateString("MAILBOX", __FILE__, __LINE__);
    allocator.FreeJobList(&jobs);
    EXPECT_EQ(nullptr, jobs);

    QuorvelAddressEntryList* list = allocator.AllocAddressEntryList(2, __FILE__, __LINE__);
    QuorvelAddressEntry* entry = allocator.AllocAddressEntry(2, __FILE__, __LINE__);
    list->items[1] = entry;
    entry->name = allocator.DuplicateString("entry", __FILE__, __LINE__);
    allocator.InitAddressAttr(1, &entry->attrs[0], __FILE__, __LINE__);
    entry->attrs[0].name = allocator.DuplicateString("mail", __FILE__, __LINE__);
    entry->attrs[0].values[0].data = allocator.DuplicateString("a@b", __FILE__, __LINE__);
    entry->attrs[0].values[0].length = 3;
    allocator.InitAddressAttr(0, &entry->attrs[1], __FILE__, __LINE__);
    EXPECT_EQ(nullptr, entry->attrs[1].values);
    allocator.FreeAddressEntryList(list);
    allocator.FreeAddressEntryList(nullptr);
    allocator.FreeAddressEntry(nullptr);
}

TEST(QuorMemoryAllocator, ValueRecordsAndFixedBlocks) {
    CountingAllocator allocator;
    QuorvelValueRecord* first = allocator.AllocValueRecord(1, __FILE__, __LINE__);
    EXPECT_EQ(sizeof(QuorvelValueFirstForm), allocator.SizeOf(first->first));
    EXPECT_EQ(nullptr, first->second);
    first->first->text = allocator.DuplicateString("t", __FILE__, __LINE__);
    first->first->sub =
        static_cast<QuorvelValueSubRecord*>(allocator.AllocRecord12(__FILE__, __LINE__));
    first->first->sub->strings = allocator.NewStringArray(1, __FILE__, __LINE__);
    first->first->sub->strings->items[0] = allocator.DuplicateString("s", __FILE__, __LINE__);
    allocator.FreeValueRecord(&first);
    EXPECT_EQ(nullptr, first);

    QuorvelValueRecord* second = allocator.AllocValueRecord(2, __FILE__, __LINE__);
    EXPECT_EQ(sizeof(QuorvelValueSecondForm), allocator.SizeOf(second->second));
    second->second->text = allocator.DuplicateString("t", __FILE__, __LINE__);
    second->second->extra = allocator.DuplicateString("x", __FILE__, __LINE__);
    second->second->pointers =
        static_cast<QuorvelValuePointers*>(allocator.AllocRecord12(__FILE__, __LINE__));
    second->second->pointers->pointer1 = allocator.AllocRecord16(__FILE__, __LINE__);
    second->second->sub =
        static_cast<QuorvelValueSubRecord*>(allocator.AllocRecord12(__FILE__, __LINE__));
    second->second->sub->text2 = allocator.DuplicateString("u", __FILE__, __LINE__);
    allocator.FreeValueRecord(&second);

    void* block = allocator.AllocRecord16(__FILE__, __LINE__);
    EXPECT_EQ(sizeof(QuorvelValueSecondForm), allocator.SizeOf(block));
    EXPECT_EQ(0, std::memcmp(block, std::string(sizeof(QuorvelValueSecondForm), '\0').data(),
                             sizeof(QuorvelValueSecondForm)));
    allocator.FreeIfNotNull(block);
    allocator.FreeIfNotNull(nullptr);
}

TEST(QuorMemoryAllocator, AlertCopies) {
    CountingAllocator allocator;
    ScanAlertEventRecord source = {1, 2, nullptr, 3, 4, 77};
    ScanAlertEventRecord* copy = allocator.CopyAlertEvent(&source, __FILE__, 1884);
    EXPECT_EQ(nullptr, copy->text);
    EXPECT_EQ(0u, copy->word5) << "the last word is never copied";
    EXPECT_EQ(3u, copy->word3);
    allocator.FreeAlertEvent(&copy);
    EXPECT_EQ(nullptr, copy);

    char text[] = "Set documents";
    source.text = text;
    copy = allocator.CopyAlertEvent(&source, __FILE__, 1884);
    EXPECT_NE(text, copy->text);
    EXPECT_STREQ("Set documents", copy->text);
    allocator.FreeAlertEvent(&copy);
    allocator.FreeAlertEvent(&copy);
}

// Whichever allocation fails, nothing stays allocated and the caller's pointer stays as it was.
TEST(QuorMemoryAllocator, FailedBuildsLeaveNothingBehind) {
    for (int allowed = 0; allowed < 2; ++allowed) {
        CountingAllocator allocator;
        allocator.allocationsLeft = allowed;
        ServerAttributeList* list = nullptr;
        EXPECT_THROW(allocator.AllocAttributeList(2, &list, __FILE__, __LINE__), std::bad_alloc);
        EXPECT_EQ(nullptr, list);
        EXPECT_TRUE(allocator.blocks.empty());
    }
    CountingAllocator allocator;
    allocator.allocationsLeft = 1;
    ScanJobList* jobs = nullptr;
    EXPECT_THROW(allocator.AllocJobList(2, &jobs, __FILE__, __LINE__), std::bad_alloc);
    EXPECT_EQ(nullptr, jobs);
    allocator.allocationsLeft = 1;
    ServerStringArray* array = nullptr;
    EXPECT_THROW(allocator.AllocStringArray(2, &array, __FILE__, __LINE__), std::bad_alloc);
    EXPECT_THROW(allocator.NewStringArray(2, __FILE__, __LINE__), std::bad_alloc);
    allocator.allocationsLeft = 1;
    EXPECT_THROW(allocator.AllocAddressEntry(2, __FILE__, __LINE__), std::bad_alloc);
    allocator.allocationsLeft = 1;
    EXPECT_THROW(allocator.AllocValueRecord(1, __FILE__, __LINE__), std::bad_alloc);
    allocator.allocationsLeft = 1;
    ScanAlertEventRecord source = {0, 0, const_cast<char*>("text"), 0, 0, 0};
    EXPECT_THROW(allocator.CopyAlertEvent(&source, __FILE__, __LINE__), std::bad_alloc);
    allocator.allocationsLeft = -1;
    EXPECT_THROW(allocator.AllocJobList(INT32_MAX, &jobs, __FILE__, __LINE__), std::bad_alloc)
        << "a count whose size does not fit";
    EXPECT_TRUE(allocator.blocks.empty());

    QuorMemoryAllocator plain;
    try {
        plain.AllocJobList(INT32_MAX, &jobs, __FILE__, __LINE__);
        FAIL();
    } catch (const std::bad_alloc& error) {
        EXPECT_STREQ("bad allocation", error.what());
    }
}

} // namespace
