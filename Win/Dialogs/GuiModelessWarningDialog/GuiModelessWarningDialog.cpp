#include "GuiModelessWarningDialog.h"

#include "GuiModelessWarningDialog_rc.h"
#include "GuiWarningThreadControl.h"
#include "HostTopmost.h"

namespace {

constexpr UINT_PTR kWakeTimer = 1010;
// Bounds how long the window thread takes to see a stop when nothing else arrives.
constexpr UINT kWakeMilliseconds = 1000;

} // namespace

GuiModelessWarningDialog::GuiModelessWarningDialog(GuiWarningThreadControl* control)
    : GuiWindowsDialog(IDD_MODELESS_WARNING, nullptr, nullptr), m_text(control->GetText()),
      m_control(control) {
    SetTopLevel(false);
    SetOnOwnThread();
}

GuiModelessWarningDialog::~GuiModelessWarningDialog() = default;

INT_PTR GuiModelessWarningDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        return 0;
    }
    if (message == WM_DESTROY && m_timerId != 0) {
        KillTimer(GetHwnd(), m_timerId);
        m_timerId = 0;
    }
    return GuiWindowsDialog::WindowProc(message, wParam, lParam);
}

bool GuiModelessWarningDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    CenterWindow(nullptr);
    m_textControl = GetItem(IDC_MODELESS_WARNING_TEXT);
    if (m_textControl != nullptr) {
        SetControlText(m_textControl, m_text);
    }
    m_timerId = SetTimer(GetHwnd(), kWakeTimer, kWakeMilliseconds, nullptr);
    // Topmost before the opener goes on, so that it never sees the window otherwise.
    ApplyHostTopmostRule(GetHwnd());
    SetEvent(m_control->GetReadyEvent());
    return true;
}

void GuiModelessWarningDialog::OnCommand(int, int, HWND) {}

void GuiModelessWarningDialog::PaintBanner(HDC dc) {
    GuiWindowsDialog::PaintBanner(dc);
}
