#include "GuiAcquireJobsDialog.h"

#include "DataArg_UserInterface.h"
#include "GuiAcquireJobsDialog_rc.h"
#include "QuorMemoryAllocator.h"

GuiAcquireJobsDialog::GuiAcquireJobsDialog(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                                           ScanPreferences& preferences, Scanner* scanner)
    : GuiMultiPaneDialog(IDD_ACQUIRE_JOBS, IDC_PANE_FRAME, owner), m_wrapper(wrapper),
      m_preferences(preferences), m_scanner(scanner) {}

GuiAcquireJobsDialog::~GuiAcquireJobsDialog() = default;

INT_PTR GuiAcquireJobsDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NIMBREL_SCAN_EVENT:
        return 0;
    case WM_NIMBREL_ALERT_EVENT: {
        // The copy is the receiver's to free.
        auto* alert = reinterpret_cast<ScanAlertEventRecord*>(wParam);
        QuorMemoryAllocator().FreeAlertEvent(&alert);
        return 0;
    }
    default:
        return GuiMultiPaneDialog::WindowProc(message, wParam, lParam);
    }
}

bool GuiAcquireJobsDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    GuiMultiPaneDialog::OnInitDialog();
    ShowItem(IDC_BUSY_ANIMATION, false);
    ShowItem(IDC_BUSY_TEXT, false);
    SetWindowPos(GetHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ShowItem(IDC_PREVIEW_PAGE, false);
    return true;
}

void GuiAcquireJobsDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    if (notifyCode == 0 && controlId == IDCANCEL) {
        OnClose();
        return;
    }
    GuiMultiPaneDialog::OnCommand(controlId, notifyCode, control);
}

void GuiAcquireJobsDialog::PaintBanner(HDC) {}

void GuiAcquireJobsDialog::OnClose() {
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->RequestClose();
        ui->NotifyCloseRequest();
    }
}

void GuiAcquireJobsDialog::PostEvent(int32_t type, int32_t jobId) {
    PostMessageA(GetHwnd(), WM_NIMBREL_SCAN_EVENT, static_cast<WPARAM>(type),
                 static_cast<LPARAM>(jobId));
}

void GuiAcquireJobsDialog::PostAlertEvent(const ScanAlertEventRecord* record) {
    QuorMemoryAllocator allocator;
    ScanAlertEventRecord* copy = allocator.CopyAlertEvent(record, __FILE__, __LINE__);
    if (copy != nullptr &&
        !PostMessageA(GetHwnd(), WM_NIMBREL_ALERT_EVENT, reinterpret_cast<WPARAM>(copy), 0)) {
        // Nobody will receive it.
        allocator.FreeAlertEvent(&copy);
    }
}

void GuiAcquireJobsDialog::StartBusyAnimation(const std::string&) {}

void GuiAcquireJobsDialog::StopBusyAnimation() {}

bool GuiAcquireJobsDialog::IsNextOriginalPromptShown() {
    return false;
}

void GuiAcquireJobsDialog::FinishTransfer(bool) {}

void GuiAcquireJobsDialog::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
