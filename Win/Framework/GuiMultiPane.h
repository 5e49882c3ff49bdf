#pragma once
// One pane of a multi-pane dialog: a child dialog of its own template laid over the owner's
// frame, centred across it and 40 pixels below its top.

#include "GuiWindowsDialog.h"

#include <vector>

class GuiMultiPaneDialog;

class GuiMultiPane : public GuiWindowsDialog {
public:
    // The owner's window must exist: it is the pane's parent.
    GuiMultiPane(int dialogId, GuiMultiPaneDialog* owner);
    ~GuiMultiPane() override;

    // Places the pane over the owner's frame, hidden.
    bool OnInitDialog() override;
    // A pane lies inside its owner: no banner, and so no band that would drag it around there.
    void PaintBanner(HDC) override {}

    // Nothing while the pane has no window.
    virtual void ShowPane(bool show);
    // Re-enables what DisableControls disabled; nothing without an earlier call.
    virtual void EnableControls();
    // Disables the pane and every child control that is enabled, remembering them; a second
    // call keeps the first list.
    virtual void DisableControls();

private:
    GuiMultiPaneDialog* m_paneOwner;
    // Entry 0 the pane's own window, then the controls DisableControls disabled.
    std::vector<HWND> m_disabledControls;
};
