#include "ScannerUiIntf.h"

ScannerUiIntf::~ScannerUiIntf() = default;

void ScannerUiIntf::OnScanEvent(ScanEventRecord*) {}
void ScannerUiIntf::OnAlertEvent(ScanAlertEventRecord*) {}
void ScannerUiIntf::ShowWarning(const std::string&) {}
void ScannerUiIntf::CloseWarning() {}
void ScannerUiIntf::ShowLoginDialog(std::string&, std::string&, int*) {}
void ScannerUiIntf::CloseLoginDialog() {}
void ScannerUiIntf::ShowErrorMessage(int) {}
void ScannerUiIntf::ShowProgress(unsigned long) {}
void ScannerUiIntf::SetProgressPos(unsigned long) {}
void ScannerUiIntf::EndProgress() {}
void ScannerUiIntf::SetTotalPageToAcquire(int32_t) {}

bool ScannerUiIntf::IsAcquireActive() {
    return false;
}

void ScannerUiIntf::StartBusyAnimation(const std::string&) {}
void ScannerUiIntf::StopBusyAnimation() {}
void ScannerUiIntf::NotifyAcquireDialog() {}
void ScannerUiIntf::PumpMessages() {}
void ScannerUiIntf::PostToCurrentWindow(int32_t) {}
void ScannerUiIntf::NotifyTransferReady() {}
void ScannerUiIntf::NotifyCloseRequest() {}
