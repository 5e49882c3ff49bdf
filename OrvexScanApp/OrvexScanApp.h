#pragma once
// The scan application: opens the "Nimbrel 5" data source through the TWAIN source manager
// with its user interface, so that the user scans, sends and saves in the source's windows,
// and ends on the first event the source sends.

#include "MainDialog.h"
#include "TwainEventHandler.h"
#include "TwainWrapper.h"
#include "WinApplication.h"

#include <memory>
#include <string>

class OrvexScanApp : public WinApplication, public CommonTwain::TwainEventHandler {
public:
    // Exit code when the program ends without a session (the user has been told why, or the
    // source told the user itself).
    static constexpr int ExitNoSession = 1;

    OrvexScanApp();
    ~OrvexScanApp() override;

    // True only when the source was enabled.
    virtual bool StartSession();
    virtual void InitTwain();
    virtual void ShowError(std::string text);
    virtual void Quit();
    // Whether a session of this program already runs (the session mutex exists).
    virtual bool IsSessionRunning();

    void OnTransferReady() override;
    void OnCloseRequest() override;
    void OnCloseOk() override;

protected:
    bool InitInstance() override;
    bool PreTranslateMessage(MSG* message) override;
    int GetStartFailureCode() const override { return m_startFailureCode; }

private:
    void ReportSessionFailure();

    std::unique_ptr<MainDialog> m_mainDialog;
    HANDLE m_sessionMutex = nullptr;
    std::unique_ptr<CommonTwain::TwainWrapper> m_wrapper;
    int m_startFailureCode = 0;
};
