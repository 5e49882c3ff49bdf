#pragma once
// A dialog that shows one of several panes at a time over a frame (a tab control whose tabs
// choose the pane). Pane i belongs to tab i; a pane's window is made on its first selection.
// The dialog owns its panes and closes them with itself.

#include "GuiWindowsDialog.h"

#include <vector>

class GuiMultiPane;

class GuiMultiPaneDialog : public GuiWindowsDialog {
public:
    GuiMultiPaneDialog(int dialogId, int paneFrameId, GuiWindowsDialog* owner);
    // Closes panes that were never closed.
    ~GuiMultiPaneDialog() override;

    // The owner comes to the front, the panes close last to first, then the dialog.
    void Close() override;
    // A selection change of the frame selects its pane: 1; anything else 0.
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    // Selects pane 0 when none is selected; does not run the base's step (a subclass that
    // needs it calls it itself).
    bool OnInitDialog() override;

    virtual int GetCurrentPaneIndex() const;
    virtual int GetPaneCount() const;
    // Null while no pane is selected.
    virtual GuiMultiPane* GetCurrentPane() const;
    virtual int GetPaneFrameId() const;
    // Takes ownership; the pane's index is the next tab index.
    virtual void AddPane(GuiMultiPane* pane);
    // Hides the current pane and shows pane index, creating its window the first time. An
    // index outside the panes, or the current one, changes nothing.
    virtual void SelectPane(int index);

private:
    void ClosePanes();

    int m_paneFrameId;
    std::vector<GuiMultiPane*> m_panes;
    int m_currentPane = -1;
};
