#pragma once
// The warning window (dialog 1352): one centred line of text without buttons or caption, on
// the thread of its GuiWarningThreadControl, up until that thread closes it.

#include "GuiWindowsDialog.h"

#include <string>

class GuiWarningThreadControl;

class GuiModelessWarningDialog : public GuiWindowsDialog {
public:
    // Made only on the control's thread; no owner, no parent window and not top-level.
    explicit GuiModelessWarningDialog(GuiWarningThreadControl* control);
    ~GuiModelessWarningDialog() override;

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    // Takes no input.
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void PaintBanner(HDC dc) override;

private:
    UINT_PTR m_timerId = 0;
    HWND m_textControl = nullptr;
    std::string m_text;
    GuiWarningThreadControl* m_control;
};
