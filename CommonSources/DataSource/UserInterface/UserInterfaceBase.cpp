#include "UserInterfaceBase.h"

#include <cstdint>

UserInterfaceBase::~UserInterfaceBase() = default;

bool UserInterfaceBase::IsDat(TW_UINT16) const {
    return true;
}

TW_UINT16 UserInterfaceBase::MsgDisableDS(pTW_IDENTITY, TW_MEMREF) {
    return TWRC_SUCCESS;
}

TW_UINT16 UserInterfaceBase::MsgEnableDS(pTW_IDENTITY, TW_MEMREF) {
    return TWRC_SUCCESS;
}

TW_UINT16 UserInterfaceBase::MsgEnableDSUIOnly(pTW_IDENTITY, TW_MEMREF) {
    return TWRC_SUCCESS;
}

void UserInterfaceBase::ReportServerError(int) {}
void UserInterfaceBase::ShowErrorMessage(int) {}
void UserInterfaceBase::ShowErrorDialog(const std::string&) {}
void UserInterfaceBase::ShowWarning(const std::string&) {}
void UserInterfaceBase::CloseWarning() {}
void UserInterfaceBase::ShowProgress(unsigned long) {}

bool UserInterfaceBase::IsProgressShown() {
    return true;
}

bool UserInterfaceBase::IsCloseRequested() {
    return true;
}

void UserInterfaceBase::RequestClose() {}
void UserInterfaceBase::ClearCloseRequest() {}
void UserInterfaceBase::SetProgressPos(unsigned long) {}
void UserInterfaceBase::EndProgress() {}

bool UserInterfaceBase::GetShowUI() {
    return true;
}

bool UserInterfaceBase::GetUiFlagB() {
    return true;
}

void UserInterfaceBase::NotifyCloseRequest() {}
void UserInterfaceBase::NotifyTransferReady() {}

void UserInterfaceBase::SwitchToAcquireJobsDialog() {
    CloseChooserDialog();
    ShowAcquireJobsDialog();
}

void UserInterfaceBase::SwitchToChooserDialog() {
    CloseAcquireJobsDialog();
    ShowChooserDialog();
}

void UserInterfaceBase::NotifyAcquireDialog() {}
void UserInterfaceBase::StartBusyAnimation(const std::string&) {}
void UserInterfaceBase::StopBusyAnimation() {}
void UserInterfaceBase::ShowLoginDialog(std::string&, std::string&, int*) {}
void UserInterfaceBase::CloseLoginDialog() {}
void UserInterfaceBase::ShowChooserDialog() {}
void UserInterfaceBase::CloseChooserDialog() {}
void UserInterfaceBase::ShowAcquireJobsDialog() {}
void UserInterfaceBase::CloseAcquireJobsDialog() {}
void UserInterfaceBase::StartGuilessAcquire() {}
void UserInterfaceBase::CloseGuilessAcquire() {}
void UserInterfaceBase::OnScanEvent(ScanEventRecord*) {}
void UserInterfaceBase::OnAlertEvent(ScanAlertEventRecord*) {}

bool UserInterfaceBase::IsDialogMessage(MSG*) {
    return false;
}

bool UserInterfaceBase::IsPageDone() {
    return false;
}

void UserInterfaceBase::SetPageDone(bool) {}
void UserInterfaceBase::PumpMessages() {}
void UserInterfaceBase::PostToAcquireWindow(WPARAM, LPARAM) {}

bool UserInterfaceBase::IsAcquireActive() {
    return IsCloseRequested();
}

void UserInterfaceBase::PostToCurrentWindow(int32_t startPage) {
    PostToAcquireWindow(static_cast<WPARAM>(static_cast<std::uint16_t>(startPage)), 0);
}
