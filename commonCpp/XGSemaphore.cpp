#include "XGSemaphore.h"

namespace CommonCpp {

XGSemaphore::XGSemaphore(int count) : m_handle(CreateSemaphoreA(nullptr, count, count, nullptr)) {}

XGSemaphore::~XGSemaphore() {
    if (m_handle != nullptr) {
        CloseHandle(m_handle);
    }
}

void XGSemaphore::Wait() {
    WaitForSingleObject(m_handle, INFINITE);
}

void XGSemaphore::Release() {
    ReleaseSemaphore(m_handle, 1, nullptr);
}

} // namespace CommonCpp
