#pragma once
// A tab control, such as the frame of a multi-pane dialog.

#include "GuiControl.h"

#include <string>

class TabCtrl : public GuiControl {
public:
    TabCtrl() = default;
    // Removes every tab while the control still exists.
    ~TabCtrl() override;

    // Appends a tab; its index, or -1 when the control refuses.
    int AddTab(const std::string& caption);
};
