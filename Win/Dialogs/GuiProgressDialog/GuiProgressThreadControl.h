#pragma once
// The progress window's thread: it builds the window, runs its message loop until a stop is
// requested, and closes it. The only handle the rest of the data source holds; every call on
// it comes from the thread that started it.

#include "ProgressWindowIntf.h"
#include "Runnable.h"

#include <windows.h>

#include <cstdint>

class GuiProgressDialog;
class GuiWindowsDialog;

class GuiProgressThreadControl : public CommonCpp::Runnable, public ProgressWindowIntf {
public:
    // The thread stays suspended until Resume. Throws CommonCpp::Exception when the ready event
    // cannot be made.
    explicit GuiProgressThreadControl(GuiWindowsDialog* owner);
    // Stops the thread and waits for it, dispatching the caller's messages.
    ~GuiProgressThreadControl() override;

    void Run(void* argument) override;
    void RequestStop() override;
    void StopAndWait() override;
    void SetPos(int32_t position) override;
    void SetRange(int32_t low, int32_t high) override;

    // Set by the window once it exists.
    HANDLE GetReadyEvent() const { return m_readyEvent; }
    GuiWindowsDialog* GetOwner() const { return m_owner; }
    // Null before the window is built and after it closed.
    GuiProgressDialog* GetDialog() const { return m_dialog; }

    // Resumes the thread and waits, dispatching the caller's messages, until the window is
    // ready or the thread ended without one; true when ready.
    bool StartAndWait();

private:
    HANDLE m_readyEvent;
    GuiWindowsDialog* m_owner;
    GuiProgressDialog* m_dialog = nullptr;
};
