#pragma once
// The data source's message box (dialog 1350): one text in a read-only field and OK, run
// modally; Escape closes it as OK does.

#include "GuiWindowsDialog.h"

#include <string>

class GuiModalErrorDialog : public GuiWindowsDialog {
public:
    GuiModalErrorDialog(GuiWindowsDialog* owner, const std::string& text);
    ~GuiModalErrorDialog() override;

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    // OK ends with 1, Escape with 2; the field's caret is hidden again after every command.
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void PaintBanner(HDC dc) override;

private:
    HWND m_messageField = nullptr;
    std::string m_text;
};
