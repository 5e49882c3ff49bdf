#pragma once
// The main acquire window (dialog 1100): the modeless window the user-interface handler opens
// over the application's window when the source is enabled with its user interface. Closing
// it only asks the application to close the source. Scan events (1138) and copier alerts
// (1139) arrive as posted messages from the server library's thread; the panes, the other
// buttons and the handling of the events are not built yet.

#include "AcquireWindowIntf.h"
#include "GuiMultiPaneDialog.h"

class QuorvelWrapperIntf;
class ScanPreferences;
class Scanner;

class GuiAcquireJobsDialog : public GuiMultiPaneDialog, public AcquireWindowIntf {
public:
    // The wrapper, preferences and scanner are the source's; the window only borrows them.
    GuiAcquireJobsDialog(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                         ScanPreferences& preferences, Scanner* scanner);
    ~GuiAcquireJobsDialog() override;

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    // No banner on this window.
    void PaintBanner(HDC dc) override;

    void PostEvent(int32_t type, int32_t jobId) override;
    void PostAlertEvent(const ScanAlertEventRecord* record) override;
    void StartBusyAnimation(const std::string& text) override;
    void StopBusyAnimation() override;
    bool IsNextOriginalPromptShown() override;
    void FinishTransfer(bool done) override;
    void PumpMessages() override;

    // Marks the close request and asks the application to close the source.
    virtual void OnClose();

protected:
    QuorvelWrapperIntf* GetWrapper() const { return m_wrapper; }
    ScanPreferences& GetPreferences() const { return m_preferences; }
    Scanner* GetScanner() const { return m_scanner; }

private:
    QuorvelWrapperIntf* m_wrapper;
    ScanPreferences& m_preferences;
    Scanner* m_scanner;
};
