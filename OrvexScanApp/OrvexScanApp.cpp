#include "OrvexScanApp.h"

#include "CInstanceChecker.h"
#include "Exception.h"
#include "LoadResourceString.h"
#include "OrvexScanApp_rc.h"

#include <exception>

namespace {

const char* const AppSource = "OrvexScanApp/OrvexScanApp";
const char* const InstanceMutexName = "ZYL_NBL_3F1C8A27-6D4E-4b19-A5C2-7E90D1B64F08";
const char* const SourceName = "Nimbrel 5";
// The source's own capability: cleared, its acquire window offers sending instead of handing
// pages to the application.
constexpr TW_UINT16 CapOffersAcquire = 0x8002;

} // namespace

OrvexScanApp::OrvexScanApp() = default;

OrvexScanApp::~OrvexScanApp() {
    if (m_sessionMutex != nullptr) {
        CloseHandle(m_sessionMutex);
    }
    m_mainDialog.reset();
    // Disables, closes and unloads whatever is still open.
    m_wrapper.reset();
}

bool OrvexScanApp::InitInstance() {
    CInstanceChecker checker(InstanceMutexName);
    // A copy started while the first is still starting waits here for its window.
    checker.AcquireInstanceLock();
    if (checker.IsAnotherInstanceRunning()) {
        checker.BringPreviousInstanceToFront();
        m_startFailureCode = 0;
        return false;
    }
    m_mainDialog = std::make_unique<MainDialog>();
    if (!m_mainDialog->Create(GetInstance(), IDD_NIMBRELAPP_MAIN)) {
        m_startFailureCode = ExitNoSession;
        return false;
    }
    const HWND window = m_mainDialog->GetWindow();
    SetMainWindow(window);
    checker.RecordRunningInstance();

    HICON icon = LoadIconA(GetInstance(), MAKEINTRESOURCEA(IDI_NIMBRELAPP));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    // Present and "visible", but off-screen and empty: the source's windows are what the user
    // sees, owned by this one.
    SetWindowPos(window, HWND_BOTTOM, -5000, -5000, 0, 0, SWP_SHOWWINDOW);

    const bool started = StartSession();
    m_startFailureCode = started ? 0 : ExitNoSession;
    return started;
}

bool OrvexScanApp::StartSession() {
    if (IsSessionRunning()) {
        return false;
    }
    try {
        m_wrapper = std::make_unique<CommonTwain::TwainWrapper>(GetMainWindow(), this);
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, AppSource, __LINE__);
        return false;
    }
    InitTwain();
    if (m_wrapper->GetNumSources() == 0) {
        ReportSessionFailure();
        return false;
    }
    if (m_wrapper->OpenSource(SourceName) != TWRC_SUCCESS) {
        ReportSessionFailure();
        return false;
    }
    m_wrapper->SetBool_Current(CapOffersAcquire, FALSE);
    if (m_wrapper->EnableSource(true) == TWRC_SUCCESS) {
        return true;
    }
    ReportSessionFailure();
    return false;
}

void OrvexScanApp::ReportSessionFailure() {
    // State 8: the source has shown the failure to the user already.
    if (m_wrapper->GetState() != CommonTwain::TwainWrapper::StateOperationError) {
        ShowError(LoadResourceString(IDS_APP_NO_SOURCE));
    }
}

void OrvexScanApp::InitTwain() {
    bool loaded = false;
    try {
        loaded = m_wrapper->LoadDSM();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, AppSource, __LINE__);
        ShowError(LoadResourceString(IDS_APP_NO_DSM));
    }
    // A manager that could not be loaded is not tried again for opening: the user has been
    // told once, and the session then ends on "no source".
    if (loaded) {
        try {
            m_wrapper->OpenSourceManager();
        } catch (std::exception& e) {
            CommonCpp::NoteException(&e, AppSource, __LINE__);
            ShowError(LoadResourceString(IDS_APP_DSM_NOT_OPEN));
        }
    }
    // After opening: the manager has filled in the identity's Id, which is kept.
    m_wrapper->SetAppIdentity(1, 2, TWLG_ENGLISH, TWCY_USA, "NimbrelApp 1.2", "Halcyra, Inc.",
                              "ZYL", "NimbrelApp");
}

void OrvexScanApp::ShowError(std::string text) {
    // Task-modal rather than owned: the main window lies off-screen, and a box centred on it
    // would be out of sight.
    MessageBoxW(nullptr, WideFromUtf8(text).c_str(), WideFromUtf8(GetAppName()).c_str(),
                MB_OK | MB_ICONHAND | MB_TASKMODAL);
}

void OrvexScanApp::Quit() {
    PostQuitMessage(0);
}

bool OrvexScanApp::IsSessionRunning() {
    m_sessionMutex = CreateMutexA(nullptr, FALSE, "NimbrelApp");
    return m_sessionMutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool OrvexScanApp::PreTranslateMessage(MSG* message) {
    if (m_wrapper != nullptr && m_wrapper->ProcessEvent(message)) {
        return true;
    }
    return WinApplication::PreTranslateMessage(message);
}

void OrvexScanApp::OnTransferReady() {
    OnCloseRequest();
}

void OrvexScanApp::OnCloseRequest() {
    m_wrapper->SetCloseRequestReceived(0);
    m_wrapper->DisableSource();
    m_wrapper->CloseSource();
    m_wrapper->CloseSourceManager();
    Quit();
}

void OrvexScanApp::OnCloseOk() {
    OnCloseRequest();
}
