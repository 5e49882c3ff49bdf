#pragma once
// What a pane tells the window that hosts it, when that window wants to know: which pane now
// governs the window's shared buttons (0 the retrieve pane, 1 the initiate pane).

#include <cstdint>

class PaneHostIntf {
public:
    virtual ~PaneHostIntf() = default;
    virtual void SetStateValue(int32_t paneIndex) = 0;
};
