#pragma once
// The progress window (dialog 1450): a progress bar and Cancel, on the thread of its
// GuiProgressThreadControl. Cancel asks the acquisition to stop; it does not close the window,
// which its thread closes when the stop is requested.

#include "GuiWindowsDialog.h"
#include "ProgressBar.h"

#include <cstdint>

class GuiProgressThreadControl;

class GuiProgressDialog : public GuiWindowsDialog {
public:
    // Made only on the control's thread; no owner, no parent window and not top-level.
    explicit GuiProgressDialog(GuiProgressThreadControl* control);
    ~GuiProgressDialog() override;

    void Close() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void PaintBanner(HDC dc) override;

    // Sent to the bar; SetPos then dispatches what waits in the calling thread's queue.
    virtual void SetPos(int32_t position);
    virtual void SetRange(int32_t low, int32_t high);
    virtual void OnCancel();

private:
    ProgressBar m_progressBar;
    GuiProgressThreadControl* m_control;
    UINT_PTR m_timerId = 0;
};
