#pragma once
// What the user-interface handler asks of any of the data source's windows. The windows
// themselves live in a layer above the data source, which registers a UiWindowFactoryIntf that
// makes them; the handler holds them only through these interfaces.

#include <windows.h>
// windows.h maps this to its A/W variant; every unit must see the plain method name.
#undef IsDialogMessage

class UiWindowIntf {
public:
    UiWindowIntf() = default;
    UiWindowIntf(const UiWindowIntf&) = delete;
    UiWindowIntf& operator=(const UiWindowIntf&) = delete;
    virtual ~UiWindowIntf() = default;

    // The window; null before it is created and after it is destroyed.
    virtual HWND GetHwnd() const = 0;
    // Destroys the window and deletes the object.
    virtual void Close() = 0;
    // Lets the window take a message of the application's loop (keyboard navigation).
    virtual bool IsDialogMessage(MSG* message) = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual void Update() = 0;
};
