#pragma once
// Tool tip for a list box (a combo box's drop-down list among them): the entry under the mouse,
// in full, when it is at least as wide as the list.

#include "CCtrlTipHandler.h"

#include <string>

class CListBoxTipHandler : public CCtrlTipHandler {
public:
    void OnMouseMove(int x, int y) override;
    void OnMouseLeave() override;

    // The entry at (x, y) (client coordinates), its text and the rectangle that text takes
    // drawn from the entry's top-left corner; -1 when there is none.
    int MeasureItemText(int x, int y, RECT* textRect, std::string* text) const;
};
