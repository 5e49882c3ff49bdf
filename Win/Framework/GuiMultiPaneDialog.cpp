#include "GuiMultiPaneDialog.h"

#include "GuiMultiPane.h"

#include <commctrl.h>

GuiMultiPaneDialog::GuiMultiPaneDialog(int dialogId, int paneFrameId, GuiWindowsDialog* owner)
    : GuiWindowsDialog(dialogId, owner, nullptr), m_paneFrameId(paneFrameId) {}

GuiMultiPaneDialog::~GuiMultiPaneDialog() {
    ClosePanes();
}

void GuiMultiPaneDialog::Close() {
    if (GuiWindowsDialog* const owner = GetOwner()) {
        SetForegroundWindow(owner->GetHwnd());
    }
    ClosePanes();
    GuiWindowsDialog::Close();
}

void GuiMultiPaneDialog::ClosePanes() {
    while (!m_panes.empty()) {
        GuiMultiPane* const pane = m_panes.back();
        m_panes.pop_back();
        pane->Close();
    }
    m_currentPane = -1;
}

LRESULT GuiMultiPaneDialog::OnNotify(WPARAM, NMHDR* header) {
    if (header == nullptr || static_cast<int>(header->idFrom) != m_paneFrameId ||
        header->code != static_cast<UINT>(TCN_SELCHANGE)) {
        return 0;
    }
    SelectPane(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
    return 1;
}

bool GuiMultiPaneDialog::OnInitDialog() {
    if (m_currentPane == -1 && GetPaneCount() != 0) {
        SelectPane(0);
    }
    return true;
}

int GuiMultiPaneDialog::GetCurrentPaneIndex() const {
    return m_currentPane;
}

int GuiMultiPaneDialog::GetPaneCount() const {
    return static_cast<int>(m_panes.size());
}

GuiMultiPane* GuiMultiPaneDialog::GetCurrentPane() const {
    if (m_currentPane < 0 || m_currentPane >= GetPaneCount()) {
        return nullptr;
    }
    return m_panes[static_cast<size_t>(m_currentPane)];
}

int GuiMultiPaneDialog::GetPaneFrameId() const {
    return m_paneFrameId;
}

void GuiMultiPaneDialog::AddPane(GuiMultiPane* pane) {
    m_panes.push_back(pane);
}

void GuiMultiPaneDialog::SelectPane(int index) {
    if (index < 0 || m_panes.empty() || index >= GetPaneCount() || index == m_currentPane) {
        return;
    }
    if (GuiMultiPane* const current = GetCurrentPane()) {
        current->ShowPane(false);
    }
    m_currentPane = index;
    GuiMultiPane* const pane = m_panes[static_cast<size_t>(index)];
    if (pane->GetHwnd() == nullptr) {
        pane->Create();
        SetWindowPos(pane->GetHwnd(), GetItem(m_paneFrameId), 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    pane->ShowPane(true);
}
