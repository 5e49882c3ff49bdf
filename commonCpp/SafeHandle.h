#pragma once
// Owner of a movable global memory block, shared between copies by reference counting, with
// nested locks that reach the system only on the first lock and the last unlock. Detach gives
// the block away (to a TWAIN application, which frees it).

#include <windows.h>

#include <cstdint>
#include <memory>

namespace CommonCpp {

class SafeHandle {
public:
    SafeHandle();
    // GMEM_MOVEABLE, or GHND when zeroFill; std::bad_alloc when the system has no memory.
    SafeHandle(std::uint32_t size, bool zeroFill);
    // Wraps a block made elsewhere; it is never freed when doNotOwn is non-zero.
    SafeHandle(HGLOBAL handle, int doNotOwn);
    SafeHandle(const SafeHandle& other) = default;
    SafeHandle& operator=(const SafeHandle& other);
    virtual ~SafeHandle();

    // BadHandleException for an empty handle or a block the system cannot lock.
    void* Lock();
    // An unlock without a lock is ignored; BadHandleException for an empty handle.
    void Unlock();
    // BadHandleException for an empty handle or while unlocked.
    void* GetPointer() const;
    bool IsLocked() const;
    HGLOBAL GetHandle() const;
    // GlobalSize of the block; 0 for an empty handle.
    std::uint32_t GetSize() const;
    HGLOBAL Detach();
    // A new owned block: size 0 copies the whole block; a smaller size its first bytes; a
    // larger size the whole block followed by zeros.
    SafeHandle Clone(std::uint32_t size) const;

private:
    struct Record;
    std::shared_ptr<Record> m_record;
};

// Keeps a SafeHandle locked for the length of a scope.
class HandleLocker {
public:
    explicit HandleLocker(SafeHandle& handle);
    HandleLocker(const HandleLocker&) = delete;
    HandleLocker& operator=(const HandleLocker&) = delete;
    virtual ~HandleLocker();

    void* GetPointer() const { return m_pointer; }

private:
    SafeHandle& m_handle;
    void* m_pointer;
};

} // namespace CommonCpp
