#include "GuiProgressDialog.h"

#include "DataArg_UserInterface.h"
#include "GuiProgressDialog_rc.h"
#include "GuiProgressThreadControl.h"
#include "HostTopmost.h"
#include "MessageWaits.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kWakeTimer = 1010;
// Bounds how long the window thread takes to see a stop when nothing else arrives.
constexpr UINT kWakeMilliseconds = 100;

} // namespace

GuiProgressDialog::GuiProgressDialog(GuiProgressThreadControl* control)
    : GuiWindowsDialog(IDD_PROGRESS_WINDOW, nullptr, nullptr), m_control(control) {
    SetTopLevel(false);
    SetOnOwnThread();
}

GuiProgressDialog::~GuiProgressDialog() = default;

void GuiProgressDialog::Close() {
    m_progressBar.SetHandle(nullptr);
    GuiWindowsDialog::Close();
}

INT_PTR GuiProgressDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && m_timerId != 0) {
        KillTimer(GetHwnd(), m_timerId);
        m_timerId = 0;
    }
    return GuiWindowsDialog::WindowProc(message, wParam, lParam);
}

bool GuiProgressDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    m_progressBar.SetHandle(GetItem(IDC_PROGRESS_WINDOW_BAR));
    m_timerId = SetTimer(GetHwnd(), kWakeTimer, kWakeMilliseconds, nullptr);
    // Topmost before the starter goes on, so that it never sees the window otherwise.
    ApplyHostTopmostRule(GetHwnd());
    if (m_control != nullptr) {
        SetEvent(m_control->GetReadyEvent());
    }
    return true;
}

void GuiProgressDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    if (controlId == IDCANCEL) {
        if (notifyCode == BN_CLICKED) {
            OnCancel();
        }
        return;
    }
    GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
}

void GuiProgressDialog::PaintBanner(HDC dc) {
    GuiWindowsDialog::PaintBanner(dc);
}

void GuiProgressDialog::SetPos(int32_t position) {
    SendMessageA(m_progressBar.GetHandle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    MessageWaits::DispatchPending();
}

void GuiProgressDialog::SetRange(int32_t low, int32_t high) {
    SendMessageA(m_progressBar.GetHandle(), PBM_SETRANGE32, static_cast<WPARAM>(low),
                 static_cast<LPARAM>(high));
}

void GuiProgressDialog::OnCancel() {
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->RequestClose();
    }
}
