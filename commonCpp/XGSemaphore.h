#pragma once
// A counting semaphore (initial and maximum count alike) and a scope guard that holds one unit.

#include <windows.h>

namespace CommonCpp {

class XGSemaphore {
public:
    explicit XGSemaphore(int count);
    XGSemaphore(const XGSemaphore&) = delete;
    XGSemaphore& operator=(const XGSemaphore&) = delete;
    virtual ~XGSemaphore();

    void Wait();
    void Release();

private:
    HANDLE m_handle;
};

class XGSemaphoreLock {
public:
    explicit XGSemaphoreLock(XGSemaphore& semaphore) : m_semaphore(semaphore) {
        m_semaphore.Wait();
    }
    XGSemaphoreLock(const XGSemaphoreLock&) = delete;
    XGSemaphoreLock& operator=(const XGSemaphoreLock&) = delete;
    ~XGSemaphoreLock() { m_semaphore.Release(); }

private:
    XGSemaphore& m_semaphore;
};

} // namespace CommonCpp
