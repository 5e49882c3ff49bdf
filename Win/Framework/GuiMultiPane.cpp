#include "GuiMultiPane.h"

#include "GuiMultiPaneDialog.h"

GuiMultiPane::GuiMultiPane(int dialogId, GuiMultiPaneDialog* owner)
    : GuiWindowsDialog(dialogId, owner, owner->GetHwnd()), m_paneOwner(owner) {
    SetTopLevel(false);
}

GuiMultiPane::~GuiMultiPane() = default;

bool GuiMultiPane::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    const RECT frame = m_paneOwner->GetItemRect(m_paneOwner->GetPaneFrameId());
    UpdateWindow(m_paneOwner->GetHwnd());
    UpdateWindow(m_paneOwner->GetItem(m_paneOwner->GetPaneFrameId()));
    RECT pane = {};
    GetWindowRect(GetHwnd(), &pane);
    const int frameWidth = frame.right - frame.left;
    const int paneWidth = pane.right - pane.left;
    const int x = frame.left + (frameWidth - paneWidth) / 2;
    const int y = frame.top + 40;
    SetWindowPos(GetHwnd(), nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return true;
}

void GuiMultiPane::ShowPane(bool show) {
    if (GetHwnd() == nullptr) {
        return;
    }
    if (show) {
        SetWindowPos(GetHwnd(), nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        Show(false);
    }
}

void GuiMultiPane::DisableControls() {
    if (!IsEnabled()) {
        return;
    }
    m_disabledControls.clear();
    Enable(false);
    m_disabledControls.push_back(GetHwnd());
    for (HWND child = GetWindow(GetHwnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsControlEnabled(child)) {
            EnableControl(child, false);
            m_disabledControls.push_back(child);
        }
    }
}

void GuiMultiPane::EnableControls() {
    if (m_disabledControls.empty()) {
        return;
    }
    for (size_t i = 1; i < m_disabledControls.size(); ++i) {
        EnableControl(m_disabledControls[i], true);
    }
    Enable(true);
    m_disabledControls.clear();
}
