#include "DataArg_UserInterface.h"

#include "AbstractSource.h"
#include "AcquireWindowIntf.h"
#include "ChooserWindowIntf.h"
#include "CriticalSection.h"
#include "DataArg_Identity.h"
#include "GuilessAcquireIntf.h"
#include "LoadedModule.h"
#include "ProgressWindowIntf.h"
#include "ResourceLoader.h"
#include "StringTable_rc.h"
#include "TwainException.h"
#include "UiMessages.h"
#include "UiWindowFactoryIntf.h"
#include "WarningWindowIntf.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <utility>

namespace {

UiWindowFactoryIntf* g_windowFactory = nullptr;

struct ServerErrorText {
    int resultCode;
    int stringId;
};

const ServerErrorText kServerErrorTexts[] = {
    {0, IDS_RESULT_SUCCESS},
    {-1, IDS_RESULT_BAD_PARAMETER},
    {-2, IDS_RESULT_ACCESS_DENIED},
    {-3, IDS_RESULT_SYSTEM_ERROR},
    {-5, IDS_RESULT_FILE_NOT_FOUND},
    {-6, IDS_RESULT_SERVER_BUSY},
    {-7, IDS_RESULT_SERVER_NOT_FOUND},
    {-8, IDS_RESULT_SERVER_UNREACHABLE},
    {-9, IDS_RESULT_CONNECTION_FAILED},
    {-10, IDS_RESULT_PROTOCOL_ERROR},
    {-201, IDS_RESULT_PROTOCOL_ERROR},
    {-11, IDS_RESULT_GENERAL_FAILURE},
    {-12, IDS_RESULT_INVALID_VALUE},
    {-13, IDS_RESULT_PRINTER_NOT_FOUND},
    {-14, IDS_RESULT_PRINTER_EXISTS},
    {-15, IDS_RESULT_ITEM_NOT_FOUND},
    {-51, IDS_RESULT_BAD_PATHNAME},
    {-99, IDS_RESULT_INCOMPATIBLE},
    {-100, IDS_RESULT_NOT_AVAILABLE},
    {-101, IDS_RESULT_PENDING},
    {-102, IDS_RESULT_TIMED_OUT},
    {-103, IDS_RESULT_CANCELED},
};

} // namespace

struct DataArg_UserInterface::UiState {
    // ShowUI of the last MSG_ENABLEDS; cleared by MSG_DISABLEDS.
    bool showUI = false;
    // Pages still to be handed over in the current acquisition.
    int32_t pageCounter = 0;
    // A page is on its way to the application (its data are read, or it is dropped unread),
    // and the pages the job had left then: the page counts as handed over once the job has
    // moved past it.
    bool pageUnderway = false;
    TW_UINT16 pagesLeftAtPage = 0;
    UiWindowIntf* loginDialog = nullptr;
    UiWindowIntf* chooserDialog = nullptr;
    UiWindowIntf* currentWindow = nullptr;
    // Read by the server library's thread: set and cleared only under the lock.
    AcquireWindowIntf* acquireJobsDialog = nullptr;
    bool closeRequested = false;
    bool pageDone = true;
    HWND parentWindow = nullptr;
    LoadedModule richEdit{"RichEd32.Dll"};
    bool loginCancelled = false;
    // While set, the server library's events are dropped; under the lock.
    bool disableRequested = false;
    // Guards disableRequested and acquireJobsDialog against the server library's thread.
    CriticalSection lock;
    std::unique_ptr<ProgressWindowIntf> progress;
    std::unique_ptr<WarningWindowIntf> warning;
    // The window-less acquisition while it exists; set and cleared under the lock.
    GuilessAcquireIntf* guilessManager = nullptr;
};

DataArg_UserInterface::DataArg_UserInterface() : m_state(std::make_unique<UiState>()) {}

DataArg_UserInterface::~DataArg_UserInterface() {
    try {
        CloseAllDialogs();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    } catch (...) {
    }
}

void DataArg_UserInterface::SetWindowFactory(UiWindowFactoryIntf* factory) {
    g_windowFactory = factory;
}

UiWindowFactoryIntf* DataArg_UserInterface::GetWindowFactory() {
    return g_windowFactory;
}

bool DataArg_UserInterface::IsDat(TW_UINT16 dat) const {
    return dat == DAT_USERINTERFACE;
}

TW_UINT16 DataArg_UserInterface::MsgDisableDS(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    {
        const CriticalSection::Lock lock(m_state->lock);
        m_state->disableRequested = true;
    }
    // A source that was never opened (one kept after a cancelled open) stays in state 3.
    if (AbstractSource* source = AbstractSource::Instance();
        source != nullptr && source->IsOpen()) {
        source->SetState(4);
    }
    m_state->showUI = false;
    CloseAllDialogs();
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_UserInterface::MsgEnableDS(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource* const source = AbstractSource::Instance();
    // Enabled already (or not open): a second enable would open a second window.
    if (source == nullptr || source->GetState() != 4) {
        throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
    }
    auto* const ui = static_cast<TW_USERINTERFACE*>(pData);
    m_state->showUI = ui->ShowUI != 0;
    // The source always runs modal for the application.
    ui->ModalUI = TRUE;
    if (m_state->showUI && ui->hParent == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    m_state->parentWindow = static_cast<HWND>(ui->hParent);

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                           ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    if (!source->IsConnected()) {
        throw TwainException(__FILE__, __LINE__, TWCC_CHECKDEVICEONLINE);
    }
    if (g_windowFactory == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
    }
    source->SetState(5);
    try {
        if (m_state->showUI) {
            ShowAcquireJobsDialog();
        } else {
            StartGuilessAcquire();
        }
    } catch (...) {
        source->SetState(4);
        throw;
    }
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_UserInterface::MsgEnableDSUIOnly(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    throw TwainException(__FILE__, __LINE__, TWCC_CAPBADOPERATION);
}

void DataArg_UserInterface::ReportServerError(int resultCode) {
    int stringId = IDS_UNEXPECTED_SERVER_ERROR;
    for (const ServerErrorText& row : kServerErrorTexts) {
        if (row.resultCode == resultCode) {
            stringId = row.stringId;
        }
    }
    ShowErrorMessage(stringId);
}

void DataArg_UserInterface::ShowErrorMessage(int stringId) {
    ShowErrorDialog(ResourceLoader::Instance()->LoadString(stringId));
}

void DataArg_UserInterface::CloseAllDialogs() {
    EndProgress();
    CloseWarning();
    CloseChooserDialog();
    CloseAcquireJobsDialog();
    CloseLoginDialog();
    m_state->currentWindow = nullptr;
    CloseGuilessAcquire();
}

void DataArg_UserInterface::EndProgressIfShown() {
    if (IsProgressShown()) {
        EndProgress();
    }
}

bool DataArg_UserInterface::IsProgressShown() {
    return m_state->progress != nullptr;
}

void DataArg_UserInterface::BeginPage() {
    AbstractSource* const source = AbstractSource::Instance();
    m_state->pageUnderway = true;
    m_state->pagesLeftAtPage = source != nullptr ? source->GetPendingTransferCount() : 0;
}

void DataArg_UserInterface::ShowProgress(unsigned long total) {
    // The page counts whether or not its window can be shown.
    BeginPage();
    if (m_state->progress != nullptr || g_windowFactory == nullptr) {
        return;
    }
    UiWindowIntf* const owner = m_state->currentWindow;
    m_state->progress = g_windowFactory->StartProgressWindow();
    if (m_state->progress == nullptr) {
        return;
    }
    // The start dispatched messages: a window closed meanwhile is no longer the current one.
    if (owner != nullptr && owner == m_state->currentWindow) {
        owner->Deactivate();
        owner->Update();
    }
    m_state->progress->SetRange(0, static_cast<int32_t>(total));
}

void DataArg_UserInterface::SetProgressPos(unsigned long position) {
    if (m_state->progress != nullptr) {
        m_state->progress->SetPos(static_cast<int32_t>(position));
    }
}

void DataArg_UserInterface::ShowWarning(const std::string& text) {
    AbstractSource* const source = AbstractSource::Instance();
    if (source == nullptr || !source->GetConnectWarning() || m_state->warning != nullptr ||
        g_windowFactory == nullptr) {
        return;
    }
    UiWindowIntf* const owner = m_state->currentWindow;
    m_state->warning = g_windowFactory->OpenWarningWindow(text);
    // The start dispatched messages: a window closed meanwhile is no longer the current one.
    if (m_state->warning != nullptr && owner != nullptr && owner == m_state->currentWindow) {
        owner->Deactivate();
        owner->Update();
    }
}

void DataArg_UserInterface::CloseWarning() {
    if (std::unique_ptr<WarningWindowIntf> warning = std::move(m_state->warning)) {
        warning->RequestStop();
        // Its destructor waits for the window's thread.
        warning.reset();
        if (UiWindowIntf* const current = m_state->currentWindow) {
            current->Activate();
            current->Update();
        }
    }
}

void DataArg_UserInterface::ShowErrorDialog(const std::string& text) {
    CloseWarning();
    if (g_windowFactory != nullptr) {
        g_windowFactory->RunErrorDialog(m_state->currentWindow, text);
    }
}

void DataArg_UserInterface::ShowLoginDialog(std::string& user, std::string& password, int* result) {
    m_state->loginCancelled = false;
    const int choice = g_windowFactory != nullptr
                           ? g_windowFactory->RunLoginDialog(m_state->currentWindow, user, password)
                           : 2;
    if (result != nullptr) {
        *result = choice;
    }
    if (choice != 1) {
        m_state->loginCancelled = true;
    }
    if (m_state->parentWindow != nullptr) {
        EnableWindow(m_state->parentWindow, FALSE);
    }
}

int DataArg_UserInterface::RunChooserDialogModal() {
    AbstractSource* const source = AbstractSource::Instance();
    if (g_windowFactory == nullptr || source == nullptr) {
        // No window to ask: the user is taken to have cancelled.
        return 2;
    }
    ChooserWindowIntf* const chooser =
        g_windowFactory->CreateChooserDialog(m_state->currentWindow, source->GetServerList(), true);
    m_state->chooserDialog = chooser;
    int result = 2;
    try {
        // Deletes the window, also when it throws.
        result = chooser->RunModal();
    } catch (...) {
        m_state->chooserDialog = nullptr;
        throw;
    }
    m_state->chooserDialog = nullptr;
    return result;
}

void DataArg_UserInterface::ShowChooserDialog() {
    AbstractSource* const source = AbstractSource::Instance();
    if (g_windowFactory == nullptr || source == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
    }
    m_state->chooserDialog = nullptr;
    std::unique_ptr<ChooserWindowIntf, void (*)(ChooserWindowIntf*)> chooser(
        g_windowFactory->CreateChooserDialog(m_state->currentWindow, source->GetServerList(),
                                             false),
        [](ChooserWindowIntf* window) { window->Close(); });
    chooser->Show();
    m_state->chooserDialog = chooser.release();
    SetForegroundWindow(m_state->chooserDialog->GetHwnd());
    if (m_state->parentWindow != nullptr) {
        EnableWindow(m_state->parentWindow, FALSE);
    }
}

bool DataArg_UserInterface::GetUiStateFlag() const {
    return m_state->loginCancelled;
}

bool DataArg_UserInterface::IsCloseRequested() {
    return m_state->closeRequested;
}

void DataArg_UserInterface::RequestClose() {
    m_state->closeRequested = true;
    m_state->pageDone = true;
    m_state->pageCounter = 0;
}

void DataArg_UserInterface::ClearCloseRequest() {
    m_state->closeRequested = false;
}

void DataArg_UserInterface::EndProgress() {
    if (std::unique_ptr<ProgressWindowIntf> progress = std::move(m_state->progress)) {
        progress->StopAndWait();
    }
    // Once per page, however often its end is reported; a strip that failed leaves its page
    // underway.
    if (m_state->pageUnderway) {
        AbstractSource* const source = AbstractSource::Instance();
        const TW_UINT16 left = source != nullptr ? source->GetPendingTransferCount() : 0;
        if (left < m_state->pagesLeftAtPage || left == 0) {
            m_state->pageUnderway = false;
            if (!m_state->closeRequested && m_state->pageCounter > 0) {
                --m_state->pageCounter;
            }
        }
    }
    if (UiWindowIntf* current = m_state->currentWindow) {
        current->Activate();
        current->Update();
    }
    if (m_state->pageCounter != 0) {
        return;
    }
    m_state->pageDone = true;
    AcquireWindowIntf* const acquire = m_state->acquireJobsDialog;
    if (m_state->showUI && acquire != nullptr && m_state->currentWindow == acquire) {
        acquire->FinishTransfer(true);
    } else if (!m_state->showUI && m_state->guilessManager != nullptr) {
        m_state->guilessManager->CancelScan();
    }
}

bool DataArg_UserInterface::GetShowUI() {
    return m_state->showUI;
}

bool DataArg_UserInterface::GetUiFlagB() {
    return false;
}

bool DataArg_UserInterface::IsPageDone() {
    return m_state->pageDone;
}

void DataArg_UserInterface::SetPageDone(bool done) {
    m_state->pageDone = done;
}

void DataArg_UserInterface::SetTotalPageToAcquire(int32_t pages) {
    m_state->pageCounter = pages;
}

void DataArg_UserInterface::AbandonAcquire() {
    RequestClose();
    StopBusyAnimation();
    EndProgressIfShown();
    CloseWarning();
    SetTotalPageToAcquire(0);
}

bool DataArg_UserInterface::HasPagesDone() {
    return m_state->pageCounter > 0;
}

void DataArg_UserInterface::CountPage() {
    ++m_state->pageCounter;
}

UiWindowIntf* DataArg_UserInterface::GetCurrentWindow() {
    return m_state->currentWindow;
}

void DataArg_UserInterface::SetCurrentWindow(UiWindowIntf* window) {
    m_state->currentWindow = window;
}

HWND DataArg_UserInterface::GetParentWindow() {
    return m_state->parentWindow;
}

AcquireWindowIntf* DataArg_UserInterface::GetAcquireJobsDialog() const {
    return m_state->acquireJobsDialog;
}

void DataArg_UserInterface::NotifyAcquireDialog() {}

void DataArg_UserInterface::StartBusyAnimation(const std::string& text) {
    AcquireWindowIntf* const acquire = m_state->acquireJobsDialog;
    if (acquire != nullptr && m_state->currentWindow == acquire) {
        acquire->StartBusyAnimation(text);
    }
}

void DataArg_UserInterface::StopBusyAnimation() {
    AcquireWindowIntf* const acquire = m_state->acquireJobsDialog;
    if (acquire != nullptr && m_state->currentWindow == acquire &&
        !acquire->IsNextOriginalPromptShown()) {
        acquire->StopBusyAnimation();
    }
}

void DataArg_UserInterface::ShowAcquireJobsDialog() {
    AbstractSource* const source = AbstractSource::Instance();
    if (g_windowFactory == nullptr || source == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
    }
    // Never two acquire windows: an old one would stay on screen with nobody to close it.
    if (m_state->acquireJobsDialog != nullptr) {
        CloseAcquireJobsDialog();
    }
    AcquireWindowIntf* const dialog = g_windowFactory->CreateAcquireJobsDialog(
        m_state->currentWindow, source->GetQuorvelWrapper(), source->GetScanPreferences(),
        source->GetScanner());
    {
        // Events flow again only now that there is a window to take them.
        const CriticalSection::Lock lock(m_state->lock);
        m_state->acquireJobsDialog = dialog;
        m_state->disableRequested = false;
    }
    m_state->pageDone = true;
    m_state->closeRequested = false;
    if (m_state->parentWindow != nullptr) {
        EnableWindow(m_state->parentWindow, FALSE);
    }
    const HWND window = dialog->GetHwnd();
    SetForegroundWindow(window);
    if (getApplicationProductName().find("eCopy") != std::string::npos) {
        const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    }
}

void DataArg_UserInterface::CloseAcquireJobsDialog() {
    if (AcquireWindowIntf* const dialog = m_state->acquireJobsDialog) {
        RequestClose();
        SetPageDone(false);
        {
            // The server library's thread never posts to a window that is going.
            const CriticalSection::Lock lock(m_state->lock);
            m_state->acquireJobsDialog = nullptr;
        }
        dialog->Close();
    }
    RestoreParentWindow();
}

void DataArg_UserInterface::CloseChooserDialog() {
    if (UiWindowIntf* const chooser = std::exchange(m_state->chooserDialog, nullptr)) {
        chooser->Close();
    }
    RestoreParentWindow();
}

void DataArg_UserInterface::CloseLoginDialog() {
    if (UiWindowIntf* const login = std::exchange(m_state->loginDialog, nullptr)) {
        login->Close();
    }
    RestoreParentWindow();
}

void DataArg_UserInterface::StartGuilessAcquire() {
    AbstractSource* const source = AbstractSource::Instance();
    if (g_windowFactory == nullptr || source == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
    }
    if (m_state->guilessManager != nullptr) {
        CloseGuilessAcquire();
    }
    {
        // Events of the scan the manager starts while it is made must reach it.
        const CriticalSection::Lock lock(m_state->lock);
        m_state->disableRequested = false;
    }
    // The close request of an earlier acquisition must not end this one at once; the
    // manager marks it itself when its scan cannot start.
    m_state->closeRequested = false;
    m_state->pageDone = true;
    GuilessAcquireIntf* const manager = g_windowFactory->CreateGuilessAcquireJobManager(
        m_state->currentWindow, source->GetQuorvelWrapper(), source->GetScanPreferences(),
        source->GetScanner());
    if (manager == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
    }
    {
        const CriticalSection::Lock lock(m_state->lock);
        m_state->guilessManager = manager;
    }
    if (m_state->parentWindow != nullptr) {
        EnableWindow(m_state->parentWindow, FALSE);
    }
}

void DataArg_UserInterface::CloseGuilessAcquire() {
    GuilessAcquireIntf* manager = nullptr;
    {
        const CriticalSection::Lock lock(m_state->lock);
        manager = std::exchange(m_state->guilessManager, nullptr);
    }
    if (manager != nullptr) {
        manager->Close();
    }
    RestoreParentWindow();
}

GuilessAcquireIntf* DataArg_UserInterface::GetGuilessAcquireJobManager() const {
    return m_state->guilessManager;
}

void DataArg_UserInterface::RestoreParentWindow() {
    if (m_state->parentWindow != nullptr) {
        EnableWindow(m_state->parentWindow, TRUE);
        SetForegroundWindow(m_state->parentWindow);
    }
}

void DataArg_UserInterface::OnScanEvent(ScanEventRecord* record) {
    if (record == nullptr) {
        return;
    }
    try {
        const CriticalSection::Lock lock(m_state->lock);
        if (m_state->disableRequested) {
            return;
        }
        if (m_state->guilessManager != nullptr) {
            m_state->guilessManager->PostEvent(record->type, record->jobId);
        } else if (m_state->acquireJobsDialog != nullptr) {
            m_state->acquireJobsDialog->PostEvent(record->type, record->jobId);
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    } catch (...) {
    }
}

void DataArg_UserInterface::OnAlertEvent(ScanAlertEventRecord* record) {
    if (record == nullptr) {
        return;
    }
    try {
        const CriticalSection::Lock lock(m_state->lock);
        if (!m_state->disableRequested && m_state->acquireJobsDialog != nullptr) {
            m_state->acquireJobsDialog->PostAlertEvent(record);
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    } catch (...) {
    }
}

bool DataArg_UserInterface::IsDialogMessage(MSG* message) {
    // The windows' own scan messages are handled here: answered TWRC_DSEVENT while a notice is
    // pending, they would never reach the window.
    if (message != nullptr && message->hwnd != nullptr &&
        message->message >= WM_NIMBREL_CLOSE_REQUEST &&
        message->message <= WM_NIMBREL_ACQUIRE_IMAGE) {
        const GuilessAcquireIntf* const manager = m_state->guilessManager;
        const AcquireWindowIntf* const acquire = m_state->acquireJobsDialog;
        if ((manager != nullptr && manager->GetHwnd() == message->hwnd) ||
            (acquire != nullptr && acquire->GetHwnd() == message->hwnd)) {
            DispatchMessageA(message);
            return true;
        }
    }
    UiWindowIntf* const windows[] = {m_state->currentWindow, m_state->loginDialog,
                                     m_state->chooserDialog, m_state->acquireJobsDialog};
    for (UiWindowIntf* window : windows) {
        if (window != nullptr && window->IsDialogMessage(message)) {
            return true;
        }
    }
    return false;
}

void DataArg_UserInterface::PumpMessages() {
    if (AcquireWindowIntf* const acquire = m_state->acquireJobsDialog) {
        acquire->PumpMessages();
    }
}

void DataArg_UserInterface::PostToAcquireWindow(WPARAM wParam, LPARAM lParam) {
    if (AcquireWindowIntf* const acquire = m_state->acquireJobsDialog) {
        PostMessageA(acquire->GetHwnd(), WM_NIMBREL_ACQUIRE_IMAGE, wParam, lParam);
    }
}

void DataArg_UserInterface::NotifyTransferReady() {
    m_state->pageDone = false;
    try {
        // The application may ask for the page as soon as it hears of it.
        if (AbstractSource* const source = AbstractSource::Instance()) {
            source->SetState(6);
        }
        Notify(MSG_XFERREADY);
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        m_state->pageDone = true;
    }
}

void DataArg_UserInterface::NotifyCloseRequest() {
    try {
        if (AbstractSource* const source = AbstractSource::Instance();
            source != nullptr && source->GetState() == 7) {
            source->SetState(6);
        }
        Notify(MSG_CLOSEDSREQ);
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
}

void DataArg_UserInterface::Notify(TW_UINT16 message) {
    AbstractSource* const source = AbstractSource::Instance();
    if (source == nullptr || SendToApplication(message)) {
        return;
    }
    // No source manager took it: DAT_EVENT reports it once, with the application's next
    // message, which is sent for that in case its loop is idle.
    if (message == MSG_XFERREADY) {
        source->SetTransferReadyPending(true);
    } else {
        source->SetCloseRequestPending(true);
    }
    WakeApplication();
}

void DataArg_UserInterface::WakeApplication() {
    if (m_state->parentWindow != nullptr && PostMessageA(m_state->parentWindow, WM_NULL, 0, 0)) {
        return;
    }
    // Enabled without a window: the thread's own queue (notices go out on the application's
    // thread).
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool DataArg_UserInterface::SendToApplication(TW_UINT16 message) {
    DataArg_Identity* const identities = AbstractSource::Instance()->GetIdentityArg();
    // The manager that loaded the source, looked up anew for every message: only it knows the
    // source and the application by the Ids it gave them. An application that calls DS_Entry
    // itself exports no DSM_Entry.
    const LoadedModule manager = LoadedModule::Containing(identities->GetOpenerAddress());
    if (!manager.Get()) {
        return false;
    }
    // Through a plain pointer: the export's type is known only by its name.
    const auto entry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(manager.Get(), "DSM_Entry")));
    return entry != nullptr &&
           entry(identities->GetSourceIdentity(), identities->GetApplicationIdentity(), DG_CONTROL,
                 DAT_NULL, message, nullptr) == TWRC_SUCCESS;
}

std::string getApplicationProductName() {
    AbstractSource* const source = AbstractSource::Instance();
    if (source == nullptr) {
        return std::string();
    }
    const TW_IDENTITY* const application = source->GetIdentityArg()->GetApplicationIdentity();
    const char* const name = application->ProductName;
    return std::string(name, strnlen(name, sizeof(application->ProductName)));
}
