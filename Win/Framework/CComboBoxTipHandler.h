#pragma once
// Tool tip for a closed combo box: the selected entry, in full, below the box when it is at
// least as wide as the room beside the drop-down button.

#include "CCtrlTipHandler.h"

#include <string>

class CComboBoxTipHandler : public CCtrlTipHandler {
public:
    void OnMouseMove(int x, int y) override;
    void OnMouseLeave() override;

    // The selected entry when (x, y) lies in the box, its text and the rectangle that text
    // takes; -1 for an empty box, a point outside it or no selection.
    int MeasureText(int x, int y, RECT* textRect, std::string* text) const;
};
