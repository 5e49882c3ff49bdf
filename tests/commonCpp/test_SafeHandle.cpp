#include "Exception.h"
#include "SafeHandle.h"

#include <gtest/gtest.h>

#include <cstring>

using CommonCpp::BadHandleException;
using CommonCpp::HandleLocker;
using CommonCpp::SafeHandle;

namespace {

UINT SystemLockCount(HGLOBAL handle) {
    return GlobalFlags(handle) & GMEM_LOCKCOUNT;
}

// GlobalFlags of a freed block answers GMEM_INVALID_HANDLE.
bool IsAllocated(HGLOBAL handle) {
    return GlobalFlags(handle) != GMEM_INVALID_HANDLE;
}

} // namespace

TEST(SafeHandle, NestedLocksReachTheSystemOnce) {
    SafeHandle handle(16, true);
    HGLOBAL block = handle.GetHandle();
    ASSERT_NE(nullptr, block);
    EXPECT_FALSE(handle.IsLocked());

    void* first = handle.Lock();
    {
        SafeHandle copy(handle);
        HandleLocker lock(copy);
        EXPECT_EQ(first, lock.GetPointer());
        EXPECT_EQ(1u, SystemLockCount(block));
    }
    EXPECT_TRUE(handle.IsLocked());
    EXPECT_EQ(1u, SystemLockCount(block));
    handle.Unlock();
    EXPECT_FALSE(handle.IsLocked());
    EXPECT_EQ(0u, SystemLockCount(block));
    handle.Unlock(); // ignored
    EXPECT_EQ(0u, SystemLockCount(block));
    EXPECT_THROW(handle.GetPointer(), BadHandleException);
}

TEST(SafeHandle, EmptyHandleRefusesUse) {
    SafeHandle empty;
    EXPECT_EQ(nullptr, empty.GetHandle());
    EXPECT_FALSE(empty.IsLocked());
    EXPECT_EQ(0u, empty.GetSize());
    EXPECT_EQ(nullptr, empty.Detach());
    EXPECT_THROW(empty.Lock(), BadHandleException);
    EXPECT_THROW(empty.Unlock(), BadHandleException);
    EXPECT_THROW(empty.GetPointer(), BadHandleException);
}

TEST(SafeHandle, LastOwnerFreesUnlessDetached) {
    HGLOBAL freed;
    {
        SafeHandle handle(8, false);
        freed = handle.GetHandle();
        SafeHandle copy = handle;
        handle = SafeHandle();
        EXPECT_TRUE(IsAllocated(freed)); // the copy still holds it
    }
    // A freed handle may be reused by the next allocation; only check while nothing else ran.
    EXPECT_FALSE(IsAllocated(freed));

    HGLOBAL detached;
    {
        SafeHandle handle(8, true);
        handle.Lock();
        SafeHandle copy(handle);
        detached = copy.Detach();
        EXPECT_EQ(handle.GetHandle(), detached);
    }
    ASSERT_TRUE(IsAllocated(detached));
    // Handed over unlocked, so the receiver's own locks balance.
    EXPECT_EQ(0u, SystemLockCount(detached));
    EXPECT_EQ(nullptr, GlobalFree(detached));
}

TEST(SafeHandle, ForeignBlockIsNeverFreedWhenNotOwned) {
    HGLOBAL foreign = GlobalAlloc(GMEM_MOVEABLE, 4);
    ASSERT_NE(nullptr, foreign);
    {
        SafeHandle wrapped(foreign, 1);
        HandleLocker lock(wrapped);
        std::memcpy(lock.GetPointer(), "abc", 4);
    }
    ASSERT_TRUE(IsAllocated(foreign));
    EXPECT_EQ(0u, SystemLockCount(foreign));
    EXPECT_EQ(nullptr, GlobalFree(foreign));
}

TEST(SafeHandle, AssignmentKeepsCountsOfASharedRecord) {
    SafeHandle handle(4, true);
    SafeHandle copy(handle);
    handle = handle;
    handle = copy;
    copy = SafeHandle(handle);
    handle.Lock();
    EXPECT_TRUE(copy.IsLocked());
    copy.Unlock();
    EXPECT_FALSE(handle.IsLocked());
}

TEST(SafeHandle, CloneCopiesExactlyOrPadsWithZeros) {
    SafeHandle source(4, false);
    {
        HandleLocker lock(source);
        std::memcpy(lock.GetPointer(), "\x11\x22\x33\x44", 4);
    }
    struct Case {
        std::uint32_t size;
        std::uint32_t expectedSize;
        const char* expected;
    } cases[] = {
        {0, 4, "\x11\x22\x33\x44"},
        {2, 2, "\x11\x22"},
        {8, 8, "\x11\x22\x33\x44\0\0\0\0"},
    };
    for (const Case& c : cases) {
        SafeHandle copy = source.Clone(c.size);
        EXPECT_NE(source.GetHandle(), copy.GetHandle());
        ASSERT_EQ(c.expectedSize, copy.GetSize()) << c.size;
        HandleLocker lock(copy);
        EXPECT_EQ(0, std::memcmp(c.expected, lock.GetPointer(), c.expectedSize)) << c.size;
    }
    EXPECT_FALSE(source.IsLocked());
}
