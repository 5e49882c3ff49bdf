#pragma once
// The progress window's thread: it builds the window, runs its message loop until a stop is
// requested, and closes it. The only handle the rest of the data source holds; every call on
// it comes from the thread that started it.

#include "GuiWindowThread.h"
#include "ProgressWindowIntf.h"

#include <windows.h>

#include <cstdint>

class GuiProgressDialog;

class GuiProgressThreadControl : public GuiWindowThread, public ProgressWindowIntf {
public:
    // The thread stays suspended until Resume. Throws CommonCpp::Exception when the ready event
    // cannot be made.
    GuiProgressThreadControl();
    // Stops the thread and waits for it, dispatching the caller's messages.
    ~GuiProgressThreadControl() override;

    void Run(void* argument) override;
    void StopAndWait() override;
    void SetPos(int32_t position) override;
    void SetRange(int32_t low, int32_t high) override;

    // Null before the window is built and after it closed.
    GuiProgressDialog* GetDialog() const { return m_dialog; }

private:
    GuiProgressDialog* m_dialog = nullptr;
};
