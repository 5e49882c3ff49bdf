#pragma once
// The warning window's thread: it builds the window with the text, runs its message loop until
// a stop is requested or the window goes, then destroys and deletes it. Deleting the control
// stops the thread and waits for it, dispatching the caller's messages.

#include "GuiWindowThread.h"
#include "WarningWindowIntf.h"

#include <windows.h>

#include <string>

class GuiModelessWarningDialog;

class GuiWarningThreadControl : public GuiWindowThread, public WarningWindowIntf {
public:
    // The thread stays suspended until Resume. Throws CommonCpp::Exception when the ready event
    // cannot be made.
    explicit GuiWarningThreadControl(const std::string& text);
    ~GuiWarningThreadControl() override;

    void Run(void* argument) override;
    void RequestStop() override { GuiWindowThread::RequestStop(); }

    const std::string& GetText() const { return m_text; }

private:
    std::string m_text;
};
