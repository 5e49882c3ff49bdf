#pragma once
// The warning window's thread: it builds the window with the text, runs its message loop until
// a stop is requested or the window goes, then destroys and deletes it. Deleting the control
// stops the thread and waits for it, dispatching the caller's messages.

#include "Runnable.h"
#include "WarningWindowIntf.h"

#include <windows.h>

#include <string>

class GuiModelessWarningDialog;
class GuiWindowsDialog;

class GuiWarningThreadControl : public CommonCpp::Runnable, public WarningWindowIntf {
public:
    // The thread stays suspended until Resume. Throws CommonCpp::Exception when the ready event
    // cannot be made.
    GuiWarningThreadControl(GuiWindowsDialog* owner, const std::string& text);
    ~GuiWarningThreadControl() override;

    void Resume() override;
    void Run(void* argument) override;
    void RequestStop() override;

    HANDLE GetReadyEvent() const { return m_readyEvent; }
    const std::string& GetText() const { return m_text; }
    GuiWindowsDialog* GetOwner() const { return m_owner; }

    // Resumes the thread and waits, dispatching the caller's messages, until the window is
    // shown or the thread ended without one; true when shown.
    bool StartAndWait();

private:
    HANDLE m_readyEvent;
    std::string m_text;
    GuiWindowsDialog* m_owner;
};
