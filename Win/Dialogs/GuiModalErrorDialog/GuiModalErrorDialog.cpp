#include "GuiModalErrorDialog.h"

#include "GuiModalErrorDialog_rc.h"
#include "HostTopmost.h"

GuiModalErrorDialog::GuiModalErrorDialog(GuiWindowsDialog* owner, const std::string& text)
    : GuiWindowsDialog(IDD_MODAL_ERROR, owner, nullptr), m_text(text) {}

GuiModalErrorDialog::~GuiModalErrorDialog() = default;

INT_PTR GuiModalErrorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return GuiWindowsDialog::WindowProc(message, wParam, lParam);
}

bool GuiModalErrorDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    m_messageField = GetItem(IDC_MODAL_ERROR_TEXT);
    HideCaret(m_messageField);
    if (m_messageField != nullptr) {
        ForwardSetControlText(m_messageField, m_text);
    }
    ApplyHostTopmostRule(GetHwnd());
    return true;
}

void GuiModalErrorDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    if (controlId == IDOK) {
        EndDialog(1);
    } else if (controlId == IDCANCEL) {
        EndDialog(2);
    } else {
        GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
    }
    HideCaret(m_messageField);
}

void GuiModalErrorDialog::PaintBanner(HDC dc) {
    GuiWindowsDialog::PaintBanner(dc);
}
