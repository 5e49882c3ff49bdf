#include "SafeHandle.h"

#include "Exception.h"

#include <cstring>
#include <new>

namespace CommonCpp {

struct SafeHandle::Record {
    Record(HGLOBAL h, bool own) : handle(h), owns(own) {}
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    // The last reference is gone: an outstanding lock is released so that a block handed over
    // reaches its receiver unlocked; an owned block is freed.
    ~Record() {
        if (handle == nullptr) {
            return;
        }
        if (lockCount > 0) {
            GlobalUnlock(handle);
        }
        if (owns) {
            GlobalFree(handle);
        }
    }

    HGLOBAL handle;
    void* pointer = nullptr;
    std::int32_t lockCount = 0;
    bool owns;
};

SafeHandle::SafeHandle() = default;

SafeHandle::SafeHandle(std::uint32_t size, bool zeroFill) {
    HGLOBAL handle = GlobalAlloc(zeroFill ? GHND : GMEM_MOVEABLE, size);
    if (handle == nullptr) {
        throw std::bad_alloc();
    }
    m_record = std::make_shared<Record>(handle, true);
}

SafeHandle::SafeHandle(HGLOBAL handle, int doNotOwn) {
    if (handle != nullptr) {
        m_record = std::make_shared<Record>(handle, doNotOwn == 0);
    }
}

SafeHandle& SafeHandle::operator=(const SafeHandle& other) {
    // shared_ptr assignment covers self-assignment, a shared record and the empty cases.
    m_record = other.m_record;
    return *this;
}

SafeHandle::~SafeHandle() = default;

void* SafeHandle::Lock() {
    if (!m_record) {
        throw BadHandleException(__FILE__, __LINE__);
    }
    if (m_record->lockCount == 0) {
        void* pointer = GlobalLock(m_record->handle);
        if (pointer == nullptr) {
            throw BadHandleException(__FILE__, __LINE__);
        }
        m_record->pointer = pointer;
    }
    ++m_record->lockCount;
    return m_record->pointer;
}

void SafeHandle::Unlock() {
    if (!m_record) {
        throw BadHandleException(__FILE__, __LINE__);
    }
    if (m_record->lockCount <= 0) {
        return;
    }
    if (--m_record->lockCount == 0) {
        GlobalUnlock(m_record->handle);
        m_record->pointer = nullptr;
    }
}

void* SafeHandle::GetPointer() const {
    if (!m_record || m_record->lockCount <= 0) {
        throw BadHandleException(__FILE__, __LINE__);
    }
    return m_record->pointer;
}

bool SafeHandle::IsLocked() const {
    return m_record && m_record->lockCount > 0;
}

HGLOBAL SafeHandle::GetHandle() const {
    return m_record ? m_record->handle : nullptr;
}

std::uint32_t SafeHandle::GetSize() const {
    return m_record ? static_cast<std::uint32_t>(GlobalSize(m_record->handle)) : 0;
}

HGLOBAL SafeHandle::Detach() {
    if (!m_record) {
        return nullptr;
    }
    m_record->owns = false;
    return m_record->handle;
}

SafeHandle SafeHandle::Clone(std::uint32_t size) const {
    const std::uint32_t sourceSize = GetSize();
    std::uint32_t newSize = sourceSize;
    std::uint32_t copied = sourceSize;
    bool zeroFill = false;
    if (size != 0 && size <= sourceSize) {
        newSize = size;
        copied = size;
    } else if (size > sourceSize) {
        newSize = size;
        zeroFill = true;
    }
    SafeHandle copy(newSize, zeroFill);
    if (copied > 0) {
        SafeHandle source(*this);
        HandleLocker sourceLock(source);
        HandleLocker copyLock(copy);
        std::memcpy(copyLock.GetPointer(), sourceLock.GetPointer(), copied);
    }
    return copy;
}

HandleLocker::HandleLocker(SafeHandle& handle) : m_handle(handle), m_pointer(handle.Lock()) {}

HandleLocker::~HandleLocker() {
    try {
        m_handle.Unlock();
    } catch (const Exception&) {
        // The handle was emptied while locked: nothing left to unlock.
    }
}

} // namespace CommonCpp
