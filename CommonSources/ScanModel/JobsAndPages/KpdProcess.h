#pragma once
// Owner of one process handle of the image library: made on construction, ended on
// destruction or by Destroy, whichever comes first.

#include "zyl_kpd_api.h"

class KpdProcess {
public:
    KpdProcess();
    ~KpdProcess();
    KpdProcess(const KpdProcess&) = delete;
    KpdProcess& operator=(const KpdProcess&) = delete;

    // False when the library could not make a process.
    bool IsValid() const { return m_handle != nullptr; }
    KPD_HANDLE Get() const { return m_handle; }
    // Ends the process now; later calls do nothing.
    void Destroy();

private:
    KPD_HANDLE m_handle;
};
