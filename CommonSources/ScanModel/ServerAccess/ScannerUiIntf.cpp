#include "ScannerUiIntf.h"

ScannerUiIntf::~ScannerUiIntf() = default;

void ScannerUiIntf::OnScanEvent(ScanEventRecord*) {}
void ScannerUiIntf::OnAlertEvent(ScanAlertEventRecord*) {}
void ScannerUiIntf::ShowWarning(const std::string&) {}
void ScannerUiIntf::CloseWarning() {}
void ScannerUiIntf::ShowLoginDialog(std::string&, std::string&, int*) {}
void ScannerUiIntf::CloseLoginDialog() {}
