#pragma once
// The server chooser as the user-interface handler drives it.

#include "UiWindowIntf.h"

class ChooserWindowIntf : public virtual UiWindowIntf {
public:
    // Modeless: creates the window; it lives until Close.
    virtual void Show() = 0;
    // Modal: runs the window until the user leaves it and deletes the object; 1 when the user
    // chose a server whose log-in went through and the source is connected, else 2.
    virtual int RunModal() = 0;
};
