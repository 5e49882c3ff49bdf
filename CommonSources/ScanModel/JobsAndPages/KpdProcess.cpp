#include "KpdProcess.h"

KpdProcess::KpdProcess() : m_handle(KPD_createProcessADT()) {}

KpdProcess::~KpdProcess() {
    Destroy();
}

void KpdProcess::Destroy() {
    if (m_handle) {
        KPD_destroyProcessADT(&m_handle);
        m_handle = nullptr;
    }
}
