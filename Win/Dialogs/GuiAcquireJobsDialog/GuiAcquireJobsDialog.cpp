#include "GuiAcquireJobsDialog.h"

#include "AbstractSource.h"
#include "AcquireJobsMediator.h"
#include "AnimationControl.h"
#include "BinaryFileException.h"
#include "DataArg_UserInterface.h"
#include "FileSpec.h"
#include "GuiAcquireJobsDialog_rc.h"
#include "GuiMultiPane.h"
#include "InitiateMediator.h"
#include "Localizer.h"
#include "MessageWaits.h"
#include "QuorMemoryAllocator.h"
#include "QuorvelWrapper.h"
#include "QuorvelWrapperException.h"
#include "QuorvelWrapperIntf.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScanCommandIntf.h"
#include "ScanEventQueueManager.h"
#include "ScanPreferences.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "SendMediatorClient.h"
#include "SendMediatorExisting.h"
#include "SendMediatorInitiater.h"
#include "ServerInfo.h"
#include "ServerList.h"
#include "StringTable_rc.h"
#include "TabCtrl.h"
#include "zylImageFile.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kEventServerDown = -8;
constexpr int32_t kEventJobEnded = 0;
constexpr int32_t kEventScanCanceled = 2;
constexpr int32_t kEventScanFailed = 3;
constexpr int32_t kEventResetPages = 5;
constexpr int32_t kEventStatus = 7;
constexpr int32_t kEventPageReady = 9;
constexpr int kBitmapLogo = 203;
constexpr int kDialogSend = 1600;
constexpr int kDialogChangeMailbox = 1650;
constexpr uint32_t kFlagsQueuedPage = 6;
constexpr uint32_t kFlagsScanEnded = 5;
constexpr int32_t kPrefetchThreshold = 2;
const char* const kAnimationResource = "IDR_PROGRESS_ANIMATION";

AcquireWindowParts& DefaultParts() {
    static AcquireWindowParts parts;
    return parts;
}

AcquireWindowParts*& PartsSlot() {
    static AcquireWindowParts* parts = nullptr;
    return parts;
}

AcquireWindowParts& Parts() {
    AcquireWindowParts* const parts = PartsSlot();
    return parts != nullptr ? *parts : DefaultParts();
}

// A job record for one queued page: the page's attributes copied out of the library's memory.
// The page's image and its copies keep it.
struct QueuedJobRecord {
    ScanJobEntry entry = {};
    std::vector<std::string> keys;
    std::vector<std::string> values;
    std::vector<char*> keyPointers;
    std::vector<char*> valuePointers;
};

std::shared_ptr<ScanJobEntry> MakeJobRecord(int32_t jobId, const ServerAttributeList& page) {
    auto record = std::make_shared<QueuedJobRecord>();
    record->entry.jobId = jobId;
    for (int32_t i = 0; page.keys != nullptr && page.values != nullptr && i < page.count; ++i) {
        record->keys.emplace_back(page.keys[i] != nullptr ? page.keys[i] : "");
        record->values.emplace_back(page.values[i] != nullptr ? page.values[i] : "");
    }
    for (size_t i = 0; i < record->keys.size(); ++i) {
        record->keyPointers.push_back(&record->keys[i][0]);
        record->valuePointers.push_back(&record->values[i][0]);
    }
    record->entry.attributes.keys = record->keyPointers.data();
    record->entry.attributes.values = record->valuePointers.data();
    record->entry.attributes.count = static_cast<int32_t>(record->keys.size());
    ScanJobEntry* const entry = &record->entry;
    return std::shared_ptr<ScanJobEntry>(std::move(record), entry);
}

// The help page beside the module that holds the resources.
std::string HelpPagePath() {
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(ResourceLoader::Instance()->GetModule(), modulePath, sizeof(modulePath));
    std::string folder = CommonCpp::FileSpec(modulePath).GetDirectory();
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder + "\\NBLHelp" + "\\Nimbrel.htm";
}

TW_UINT16 ShowAcquireGui() {
    AbstractSource* const source = AbstractSource::Instance();
    return source != nullptr ? source->GetShowAcquireGUI() : 1;
}

} // namespace

struct GuiAcquireJobsDialog::State {
    State(QuorvelWrapperIntf* wrapper, ScanPreferences* preferences, Scanner* scanner,
          AcquireJobsMediatorClient* client)
        : attributes(wrapper, nullptr), mediator(wrapper, preferences, scanner, client) {}

    TabCtrl tabs;
    AnimationControl animation;
    bool busy = false;
    int sendPaneIndex = 0;
    // Owned by the multi-pane base; seen here through their interfaces.
    AcquireRetrievePaneIntf* retrievePane = nullptr;
    AcquireInitiatePaneIntf* initiatePane = nullptr;
    int retrieveIndex = -1;
    int initiateIndex = -1;
    ScanAttributeWrapper attributes;
    int32_t followedJobId = 0;
    bool scanPending = false;
    bool acquireAfterScan = false;
    bool followAnyJob = false;
    HBITMAP logo = nullptr;
    HBRUSH statusBrush = nullptr;
    COLORREF statusColor = RGB(255, 0, 0);
    ScanEventQueueManager events;
    // Events that came while a page was still being transferred: handled once it is.
    std::vector<ScanEventRecord> deferredEvents;
    bool saveAfterScan = false;
    CommonCpp::FileSpec saveTarget;
    std::string saveFileName;
    int32_t saveJobId = 0;
    int32_t savePage = 0;
    AcquireJobsMediator mediator;
    bool imagePosted = false;
    int32_t pageEvents = 0;
    bool hostRestricted = false;
    bool nextOriginalShown = false;
    bool nextOriginalPending = false;
    int32_t pagesAnnounced = 0;
    int32_t pagesSkipped = 0;
};

void GuiAcquireJobsDialog::SetParts(AcquireWindowParts* parts) {
    PartsSlot() = parts;
}

GuiAcquireJobsDialog::GuiAcquireJobsDialog(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                                           ScanPreferences& preferences, Scanner* scanner)
    : GuiMultiPaneDialog(IDD_ACQUIRE_JOBS, IDC_PANE_FRAME, owner), m_wrapper(wrapper),
      m_preferences(preferences), m_scanner(scanner),
      m_state(std::make_unique<State>(wrapper, &preferences, scanner, this)) {
    ResetBusyPreferences();
    const std::string product = getApplicationProductName();
    m_state->hostRestricted =
        product.find("Adobe") != std::string::npos || product.find("eCopy") != std::string::npos;
}

GuiAcquireJobsDialog::~GuiAcquireJobsDialog() {
    try {
        ResetBusyPreferences();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
    if (m_state->logo != nullptr) {
        DeleteObject(m_state->logo);
    }
    if (m_state->statusBrush != nullptr) {
        DeleteObject(m_state->statusBrush);
    }
}

void GuiAcquireJobsDialog::ResetBusyPreferences() {
    ScanPreferences* const preferences = m_state->mediator.GetPreferences();
    preferences->SetScanFTPPassword("");
    preferences->SetScanProxyPassword("");
    preferences->SetScanBusy(false);
}

void GuiAcquireJobsDialog::Close() {
    m_state->animation.Stop();
    if (const HWND tabs = m_state->tabs.GetHandle()) {
        SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0);
    }
    if (m_state->statusBrush != nullptr) {
        DeleteObject(std::exchange(m_state->statusBrush, nullptr));
    }
    GuiMultiPaneDialog::Close();
}

void GuiAcquireJobsDialog::Activate() {
    if (!IsEnabled()) {
        EnableWindow(GetHwnd(), TRUE);
    }
    SetForegroundWindow(GetHwnd());
}

void GuiAcquireJobsDialog::Deactivate() {
    if (IsEnabled()) {
        EnableWindow(GetHwnd(), FALSE);
    }
}

INT_PTR GuiAcquireJobsDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NIMBREL_OPERATION_ENDED:
        OnOperationEnded();
        return 1;
    case WM_NIMBREL_SCAN_EVENT:
        OnScanEvent(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
        return 0;
    case WM_NIMBREL_ALERT_EVENT:
        HandleAlertEvent(reinterpret_cast<ScanAlertEventRecord*>(wParam));
        return 0;
    case WM_NIMBREL_SAVE_JOB:
        ProcessSaveToDisk();
        return 0;
    case WM_NIMBREL_ACQUIRE_IMAGE:
        m_state->imagePosted = true;
        if (auto* const image = reinterpret_cast<zylImageFile*>(lParam)) {
            image->BeginTransfer();
            OnJobReady(image);
        }
        return 0;
    case WM_TIMER:
        if (m_state->scanPending) {
            // Keeps the session alive while the copier scans; the answer is not needed.
            m_scanner->GetNumDevices();
        } else {
            KillTimer(GetHwnd(), kPollTimer);
        }
        return GuiMultiPaneDialog::WindowProc(message, wParam, lParam);
    default:
        return GuiMultiPaneDialog::WindowProc(message, wParam, lParam);
    }
}

bool GuiAcquireJobsDialog::OnInitDialog() {
    if (!CommonCpp::FileSpec(HelpPagePath()).Exists()) {
        ShowItem(IDC_HELP_BUTTON, false);
    }
    CreatePanes();
    GuiWindowsDialog::OnInitDialog();
    GuiMultiPaneDialog::OnInitDialog();
    ShowItem(IDC_BUSY_ANIMATION, false);
    ShowItem(IDC_BUSY_TEXT, false);
    m_state->animation.SetHandle(GetItem(IDC_BUSY_ANIMATION));
    m_state->logo = ResourceLoader::Instance()->LoadBitmap(kBitmapLogo);
    SendMessageA(GetItem(IDC_ABOUT_LOGO), BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(m_state->logo));
    SetWindowPos(GetHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ShowItem(IDC_PREVIEW_PAGE, false);
    if (ShowAcquireGui() == 0) {
        ShowItem(IDC_SEND, m_state->mediator.IsRemoteSendEnabled());
        ShowItem(IDOK, false);
        SendMessageA(GetHwnd(), DM_SETDEFID, IDC_SEND, 0);
    } else {
        ShowItem(IDC_SEND, false);
        ShowItem(IDOK, m_state->mediator.IsRemoteGetEnabled());
    }
    ShowSelectedServer();
    return true;
}

bool GuiAcquireJobsDialog::IsRetrievePaneCurrent() const {
    return GetCurrentPaneIndex() == m_state->retrieveIndex;
}

bool GuiAcquireJobsDialog::IsInitiateAllowed() {
    AcquireJobsMediator& mediator = m_state->mediator;
    return mediator.GetScanInitMode() && !mediator.IsInitiateDisabled() && mediator.IsScanEnabled();
}

void GuiAcquireJobsDialog::CreatePanes() {
    m_state->tabs.SetHandle(GetItem(IDC_PANE_FRAME));
    AcquireWindowParts& parts = Parts();
    if (GuiMultiPane* const pane =
            parts.CreateRetrievePane(*this, m_state->attributes, m_preferences, m_scanner)) {
        m_state->retrievePane = dynamic_cast<AcquireRetrievePaneIntf*>(pane);
        m_state->tabs.AddTab(LoadString(IDS_TAB_RETRIEVE));
        m_state->retrieveIndex = GetPaneCount();
        AddPane(pane);
    }
    if (IsInitiateAllowed()) {
        if (GuiMultiPane* const pane =
                parts.CreateInitiatePane(*this, m_wrapper, m_scanner, m_state->attributes)) {
            m_state->initiatePane = dynamic_cast<AcquireInitiatePaneIntf*>(pane);
            m_state->tabs.AddTab(LoadString(IDS_TAB_INITIATE));
            m_state->initiateIndex = GetPaneCount();
            AddPane(pane);
        }
    }
}

void GuiAcquireJobsDialog::ShowSelectedServer() {
    AbstractSource* const source = AbstractSource::Instance();
    const ServerInfo* const server =
        source != nullptr ? source->GetServerList().GetSelected() : nullptr;
    if (server == nullptr) {
        return;
    }
    std::string text = server->showNickname ? server->nickname : server->ipAddress;
    if (!server->deviceName.empty()) {
        text += " - " + server->deviceName;
    }
    SetItemText(IDC_SELECTED_SERVER, text);
}

void GuiAcquireJobsDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    if (notifyCode != 0) {
        GuiMultiPaneDialog::OnCommand(controlId, notifyCode, control);
        return;
    }
    switch (controlId) {
    case IDOK:
        OnAcquire();
        break;
    case IDCANCEL:
        OnClose();
        break;
    case IDC_CHOOSE_DEVICE:
        ChooseServer();
        break;
    case IDC_ABOUT_LOGO:
        ShowAbout();
        break;
    case IDC_SEND:
        if (IsItemVisible(IDC_SEND)) {
            OpenSendDialog();
        } else if (IsItemVisible(IDOK)) {
            OnAcquire();
        }
        break;
    case IDC_PREVIEW_PAGE:
        break;
    case IDC_HELP_BUTTON:
        OpenHelp();
        break;
    default:
        GuiMultiPaneDialog::OnCommand(controlId, notifyCode, control);
        break;
    }
}

void GuiAcquireJobsDialog::PaintBanner(HDC) {}

HBRUSH GuiAcquireJobsDialog::OnCtlColorStatic(HDC dc, HWND control) {
    if (control != GetItem(IDC_STATUS_LINE) || !IsControlVisible(control)) {
        return nullptr;
    }
    if (m_state->statusBrush == nullptr) {
        m_state->statusBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    }
    SetTextColor(dc, m_state->statusColor);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return m_state->statusBrush;
}

void GuiAcquireJobsDialog::ChooseServer() {
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        // Closes this window: nothing of it may be touched afterwards.
        ui->SwitchToChooserDialog();
    }
}

void GuiAcquireJobsDialog::ShowAbout() {
    Parts().RunAboutDialog(*this);
}

void GuiAcquireJobsDialog::OpenChangeMailboxDialog() {
    const std::string mailbox =
        m_state->retrievePane != nullptr ? m_state->retrievePane->GetMailboxName() : "";
    if (GuiWindowsDialog* const dialog = Parts().CreateChangeMailboxDialog(*this, mailbox)) {
        OpenChildDialog(std::unique_ptr<GuiWindowsDialog>(dialog));
    }
}

void GuiAcquireJobsDialog::OpenHelp() {
    const std::string page = HelpPagePath();
    DataArg_UserInterface* const ui = GetUserInterface();
    UiWindowIntf* const current = ui != nullptr ? ui->GetCurrentWindow() : nullptr;
    ShellExecuteA(current != nullptr ? current->GetHwnd() : GetHwnd(), "open", page.c_str(),
                  nullptr, nullptr, SW_SHOWNORMAL);
}

void GuiAcquireJobsDialog::OnClose() {
    DataArg_UserInterface* const ui = GetUserInterface();
    if (ui != nullptr) {
        ui->RequestClose();
    }
    if (m_state->scanPending) {
        m_state->scanPending = false;
        KillTimer(GetHwnd(), kPollTimer);
        if (m_state->followedJobId != 0) {
            ScanJobTicket ticket;
            ticket.jobId = m_state->followedJobId;
            m_state->mediator.CancelScan(ticket);
        }
    }
    if (ui != nullptr) {
        ui->NotifyCloseRequest();
    }
}

void GuiAcquireJobsDialog::StartBusyAnimation(const std::string& text) {
    if (IsItemVisible(IDC_BUSY_ANIMATION)) {
        return;
    }
    m_state->busy = true;
    DisableButtons();
    ShowItem(IDC_BUSY_ANIMATION, true);
    m_state->animation.Play(kAnimationResource);
    SetFocus(GetItem(IDCANCEL));
    SetItemText(IDC_BUSY_TEXT, text);
    ShowItem(IDC_BUSY_TEXT, true);
}

void GuiAcquireJobsDialog::StopBusyAnimation() {
    if (!m_state->busy) {
        return;
    }
    ShowItem(IDC_BUSY_ANIMATION, false);
    m_state->animation.Stop();
    SetItemText(IDC_BUSY_TEXT, "");
    ShowItem(IDC_BUSY_TEXT, false);
    m_state->busy = false;
    EnableButtons();
}

void GuiAcquireJobsDialog::OnOperationEnded() {
    StopBusyAnimation();
}

void GuiAcquireJobsDialog::DisableButtons() {
    if (GuiMultiPane* const pane = GetCurrentPane()) {
        pane->DisableControls();
    }
    for (const int id : {IDC_PANE_FRAME, IDC_CHOOSE_DEVICE, IDC_SELECTED_SERVER, IDOK, IDC_SEND}) {
        EnableItem(id, false);
    }
}

void GuiAcquireJobsDialog::EnableButtons() {
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            // WM_QUIT belongs to the application's loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!*alive) {
            // Closed by what was dispatched: the rest of the queue is the application's.
            return;
        }
    }
    if (GuiMultiPane* const pane = GetCurrentPane()) {
        pane->EnableControls();
    }
    for (const int id :
         {IDC_PANE_FRAME, IDC_CHOOSE_DEVICE, IDC_SELECTED_SERVER, IDC_ABOUT_LOGO, IDOK, IDC_SEND}) {
        EnableItem(id, true);
    }
}

void GuiAcquireJobsDialog::DisableSend() {
    if (GetCurrentPaneIndex() == m_state->sendPaneIndex) {
        EnableItem(IDC_SEND, false);
        if (ShowAcquireGui() != 0) {
            EnableItem(IDOK, false);
        }
    }
}

void GuiAcquireJobsDialog::EnableSend() {
    if (GetCurrentPaneIndex() == m_state->sendPaneIndex) {
        EnableItem(IDC_SEND, true);
        if (ShowAcquireGui() != 0) {
            EnableItem(IDOK, true);
        }
    }
}

void GuiAcquireJobsDialog::SetStateValue(int sendPaneIndex) {
    m_state->sendPaneIndex = sendPaneIndex;
}

void GuiAcquireJobsDialog::ShowStatusMessage() {
    ServerAttributeList* list = nullptr;
    ScanServerCapabilities capabilities;
    if (m_wrapper->ScanServerAttributes(&list) == 0 && list != nullptr) {
        {
            const ScanAttributeWrapper attributes(m_wrapper, list);
            capabilities.LoadFromServerAttributes(attributes, m_scanner->GetLocalizer());
        }
        FreeReceivedAttributeList(m_wrapper, &list);
    }
    if (capabilities.IsScanInitAllowed()) {
        ShowItem(IDC_STATUS_LINE, false);
    } else {
        SetItemText(IDC_STATUS_LINE, LoadString(IDS_ENABLE_FROM_COPIER));
        ShowItem(IDC_STATUS_LINE, true);
    }
}

// Scan events and alerts.

void GuiAcquireJobsDialog::PostEvent(int32_t type, int32_t jobId) {
    if (const HWND window = GetHwnd()) {
        PostMessageA(window, WM_NIMBREL_SCAN_EVENT, static_cast<WPARAM>(type),
                     static_cast<LPARAM>(jobId));
    }
}

void GuiAcquireJobsDialog::PostAlertEvent(const ScanAlertEventRecord* record) {
    if (record == nullptr) {
        return;
    }
    QuorMemoryAllocator allocator;
    ScanAlertEventRecord* copy = allocator.CopyAlertEvent(record, __FILE__, __LINE__);
    if (copy == nullptr) {
        return;
    }
    const HWND window = GetHwnd();
    if (window == nullptr ||
        !PostMessageA(window, WM_NIMBREL_ALERT_EVENT, reinterpret_cast<WPARAM>(copy), 0)) {
        // Nobody will receive it.
        allocator.FreeAlertEvent(&copy);
    }
}

void GuiAcquireJobsDialog::HandleAlertEvent(ScanAlertEventRecord* copy) {
    if (copy == nullptr) {
        return;
    }
    try {
        ShowScannerAlert(copy);
    } catch (...) {
        QuorMemoryAllocator().FreeAlertEvent(&copy);
        throw;
    }
    QuorMemoryAllocator().FreeAlertEvent(&copy);
}

void GuiAcquireJobsDialog::ShowScannerAlert(const ScanAlertEventRecord* alert) {
    m_state->nextOriginalShown = false;
    const std::string text = m_state->mediator.GetAlertText(*alert);
    if (text == LoadString(IDS_NEXT_ORIGINALS)) {
        m_state->nextOriginalShown = true;
    }
    if (text.empty()) {
        if (IsItemVisible(IDC_STATUS_LINE)) {
            ShowItem(IDC_STATUS_LINE, false);
        }
    } else if (!IsItemVisible(IDC_STATUS_LINE)) {
        SetItemText(IDC_STATUS_LINE, text);
        ShowItem(IDC_STATUS_LINE, true);
    } else if (GetItemText(IDC_STATUS_LINE) != text) {
        SetItemText(IDC_STATUS_LINE, text);
    }
}

bool GuiAcquireJobsDialog::IsNextOriginalPromptShown() {
    return m_state->nextOriginalShown;
}

void GuiAcquireJobsDialog::OnScanEvent(int32_t type, int32_t jobId) {
    ScanEventQueueManager& events = m_state->events;
    if (events.IsBusy()) {
        const ScanEventRecord record = {type, jobId, 0};
        events.PushEvent(&record);
        return;
    }
    events.SetBusy(true);
    if (m_state->nextOriginalShown) {
        m_state->nextOriginalShown = false;
        m_state->nextOriginalPending = true;
    }
    // Handling runs message loops: the window may be closed by the time an event is done.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    try {
        RunOneEvent(type, jobId);
        while (*alive) {
            const std::unique_ptr<ScanEventRecord> next = events.PopEvent();
            if (!next) {
                break;
            }
            RunOneEvent(next->type, next->jobId);
        }
    } catch (...) {
        if (*alive) {
            events.SetBusy(false);
        }
        throw;
    }
    if (*alive) {
        events.SetBusy(false);
    }
}

void GuiAcquireJobsDialog::RunOneEvent(int32_t type, int32_t jobId) {
    try {
        ProcessScanEvent(type, jobId);
    } catch (std::exception& e) {
        // One event's failure must not cost the events queued behind it.
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
}

void GuiAcquireJobsDialog::ProcessScanEvent(int32_t type, int32_t jobId) {
    DataArg_UserInterface* const ui = GetUserInterface();
    if (ui != nullptr && !ui->IsPageDone() && m_state->pagesAnnounced == 0) {
        // A page is still on its way to the application: the event waits for its end.
        m_state->deferredEvents.push_back({type, jobId, 0});
        return;
    }
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    if (type == kEventServerDown) {
        OnServerUnreachable();
    } else if (!m_state->followAnyJob && jobId != m_state->followedJobId) {
        if (type == kEventStatus) {
            ShowStatusMessage();
        }
    } else {
        switch (type) {
        case kEventJobEnded:
            if (!m_state->imagePosted && m_state->pagesAnnounced == 0) {
                OnScanCompleted(jobId);
                if (!*alive || !IsInitiateAllowed()) {
                    return;
                }
                EnableItem(IDCANCEL, false);
                try {
                    ContinueAcquire();
                } catch (CommonCpp::BinaryFileException& e) {
                    CommonCpp::NoteException(&e, __FILE__, __LINE__);
                    if (*alive && m_state->saveAfterScan) {
                        m_state->saveAfterScan = false;
                        m_state->pagesAnnounced = 0;
                        m_state->pagesSkipped = 0;
                        if (ui != nullptr) {
                            ui->ShowErrorDialog(LoadString(IDS_FILE_LOCKED));
                        }
                    }
                }
                if (!*alive) {
                    return;
                }
                EnableItem(IDCANCEL, true);
            }
            if (m_state->pagesAnnounced != 0) {
                HandleJobEnded(jobId);
                if (!*alive) {
                    return;
                }
            }
            m_state->pagesAnnounced = 0;
            m_state->pageEvents = 0;
            if (m_state->nextOriginalPending) {
                m_state->nextOriginalPending = false;
                m_state->nextOriginalShown = false;
            }
            break;
        case kEventScanCanceled:
            OnScanCanceled();
            break;
        case kEventScanFailed:
            OnScanFailed();
            break;
        case kEventResetPages:
            m_state->pagesAnnounced = 0;
            m_state->pagesSkipped = 0;
            m_state->imagePosted = false;
            m_scanner->GetScanCommand()->DeletePending();
            m_state->pageEvents = 0;
            break;
        case kEventPageReady:
            HandlePageReady(jobId);
            break;
        default:
            break;
        }
    }
    if (!*alive) {
        return;
    }
    if (m_state->retrievePane != nullptr && IsRetrievePaneCurrent()) {
        ScanEventRecord record{};
        record.type = type;
        record.jobId = jobId;
        m_state->retrievePane->OnScanEvent(&record);
        if (!*alive) {
            return;
        }
    }
    if (const int current = GetCurrentPaneIndex(); current != -1) {
        SelectPane(current);
    }
    if (m_state->nextOriginalPending) {
        m_state->nextOriginalShown = true;
    }
}

// The copier has finished a job whose pages were being handed over while it scanned: the
// pages it scanned after the last page-ready event are added to the job being transferred.
void GuiAcquireJobsDialog::HandleJobEnded(int32_t jobId) {
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    ScanCommandIntf* const command = m_scanner->GetScanCommand();
    zylImageFile* image = command->GetImageFile();
    if (image == nullptr) {
        if (m_scanner->GetNumPagesInJob(m_state->followedJobId) != m_state->pagesAnnounced) {
            ++m_state->pagesAnnounced;
            QueuePageTransfer(m_state->pagesAnnounced, m_state->followedJobId, false);
            if (!*alive) {
                return;
            }
            ++m_state->pagesSkipped;
            image = command->GetImageFile();
        }
    }
    if (image != nullptr) {
        const int32_t pages = m_scanner->GetNumPagesInJob(static_cast<int32_t>(image->GetJobID()));
        if (pages > 0 && pages != m_state->pagesAnnounced) {
            const int32_t missing = pages - m_state->pagesSkipped - image->GetNumPages();
            for (int32_t i = 0; i < missing; ++i) {
                ++m_state->pagesAnnounced;
                AddPageToAttachedImage();
                ++m_state->pagesSkipped;
            }
        }
        image->SetFlags(kFlagsScanEnded);
    }
    OnScanCompleted(jobId);
    if (*alive) {
        m_state->pagesSkipped = 0;
    }
}

void GuiAcquireJobsDialog::AddPageToAttachedImage() {
    zylImageFile* const image = m_scanner->GetScanCommand()->GetImageFile();
    if (image == nullptr) {
        return;
    }
    image->SetNumPages(static_cast<std::int16_t>(image->GetNumPages() + 1));
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->CountPage();
    }
}

void GuiAcquireJobsDialog::HandlePageReady(int32_t jobId) {
    if (m_state->hostRestricted || ShowAcquireGui() == 0) {
        return;
    }
    ++m_state->pageEvents;
    if (m_state->pageEvents < kPrefetchThreshold) {
        return;
    }
    if (m_state->pagesAnnounced == 0) {
        m_state->followedJobId = jobId;
        const std::shared_ptr<const bool> alive = GetAliveFlag();
        QueuePageTransfer(1, jobId, true);
        if (!*alive) {
            return;
        }
        m_state->pagesAnnounced = 1;
        for (int32_t i = 1; i < kPrefetchThreshold; ++i) {
            AddPageToAttachedImage();
            ++m_state->pagesAnnounced;
        }
        return;
    }
    ++m_state->pagesAnnounced;
    if (m_scanner->GetScanCommand()->GetImageFile() == nullptr) {
        m_state->pagesSkipped = m_state->pagesAnnounced - 1;
        QueuePageTransfer(m_state->pagesAnnounced, m_state->followedJobId, false);
    } else {
        AddPageToAttachedImage();
    }
}

void GuiAcquireJobsDialog::FinishTransfer(bool done) {
    if (m_state->deferredEvents.empty()) {
        return;
    }
    if (!done && m_state->retrievePane != nullptr) {
        m_state->retrievePane->ReloadJobList(-1);
    }
    // Every event that waited is handled now, in the order it came.
    for (const ScanEventRecord& event : std::exchange(m_state->deferredEvents, {})) {
        PostEvent(event.type, event.jobId);
    }
}

void GuiAcquireJobsDialog::OnScanCompleted(int32_t jobId) {
    m_state->scanPending = false;
    KillTimer(GetHwnd(), kPollTimer);
    if (m_state->followedJobId == 0) {
        m_state->followedJobId = jobId;
    }
    StopBusyAnimation();
}

void GuiAcquireJobsDialog::OnScanCanceled() {
    if (m_state->scanPending) {
        EndScan(IDS_SCAN_CANCELED);
    }
}

void GuiAcquireJobsDialog::OnScanFailed() {
    EndScan(IDS_SCAN_FAILED);
}

void GuiAcquireJobsDialog::EndScan(int messageId) {
    m_state->scanPending = false;
    m_state->saveAfterScan = false;
    KillTimer(GetHwnd(), kPollTimer);
    DataArg_UserInterface* const ui = GetUserInterface();
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    StopBusyAnimation();
    // A window closed meanwhile has nobody left to tell.
    if (*alive && ui != nullptr) {
        ui->ShowErrorMessage(messageId);
    }
}

void GuiAcquireJobsDialog::OnServerUnreachable() {
    DataArg_UserInterface* const ui = GetUserInterface();
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    StopBusyAnimation();
    if (*alive && ui != nullptr) {
        ui->ShowErrorMessage(IDS_RESULT_SERVER_UNREACHABLE);
    }
    if (*alive) {
        OnClose();
    }
}

// Acquiring, sending and saving.

void GuiAcquireJobsDialog::OnAcquire() {
    const int current = GetCurrentPaneIndex();
    if (current != m_state->retrieveIndex) {
        if (current == m_state->initiateIndex && current != -1 && IsInitiateAllowed()) {
            m_state->acquireAfterScan = true;
            m_state->attributes.Clear();
            if (m_state->initiatePane != nullptr) {
                if (InitiateMediator* const settings =
                        m_state->initiatePane->GetInitiateMediator()) {
                    settings->ApplyAll();
                }
            }
            InitiateScan();
        }
        return;
    }
    // Finding the job may reload the server's list, showing the wait window.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    zylImageFile* const job =
        m_state->retrievePane != nullptr ? m_state->retrievePane->GetSelectedImageFile() : nullptr;
    if (job == nullptr || !*alive) {
        return;
    }
    const std::int16_t pages = job->GetNumPages();
    if (pages == 1) {
        job->SetStartPage(1);
        job->SetXferCount(1);
    } else if (pages >= 2) {
        const int page = m_state->retrievePane->GetSelectedPage();
        job->SetStartPage(static_cast<std::int16_t>(page));
        job->SetXferCount(page == -1 ? static_cast<std::uint16_t>(pages) : 1);
    }
    job->BeginTransfer();
    OnJobReady(job);
}

void GuiAcquireJobsDialog::InitiateScan() {
    m_state->attributes.SetUserName();
    ScanJobTicket ticket;
    ticket.jobId = m_state->followedJobId;
    const int rc = m_state->mediator.InitiateScan(m_state->attributes.GetServerList(), ticket);
    m_state->followedJobId = ticket.jobId;
    if (rc == 0) {
        m_state->scanPending = true;
        m_state->followAnyJob = false;
        SetTimer(GetHwnd(), kPollTimer, kPollPeriod, nullptr);
        if (ticket.jobId == 0) {
            m_state->followAnyJob = true;
        }
        m_preferences.SetScanBusy(false);
        StartBusyAnimation(LoadString(IDS_INITIATING_SCAN));
        return;
    }
    m_state->followedJobId = 0;
    m_state->acquireAfterScan = false;
    m_state->saveAfterScan = false;
    DataArg_UserInterface* const ui = GetUserInterface();
    if (rc == QUORVEL_BUSY) {
        m_preferences.SetScanBusy(true);
        if (ui != nullptr) {
            ui->ShowErrorMessage(IDS_SCANNER_BUSY);
        }
    } else if (ui != nullptr) {
        // The user must learn why nothing happens.
        ui->ReportServerError(rc);
    }
}

void GuiAcquireJobsDialog::ContinueAcquire() {
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    if (m_state->acquireAfterScan) {
        ScanJobTicket ticket;
        ticket.jobId = m_state->followedJobId;
        m_state->mediator.AcquireJob(ticket);
        if (!*alive) {
            return;
        }
    }
    if (m_state->saveAfterScan) {
        m_state->mediator.ProcessSaveToDisk(m_state->followedJobId, m_state->saveTarget,
                                            m_state->saveFileName, 0);
        if (*alive) {
            m_state->saveAfterScan = false;
        }
    }
}

void GuiAcquireJobsDialog::OnJobReady(zylImageFile* job) {
    m_state->acquireAfterScan = false;
    DataArg_UserInterface* const ui = GetUserInterface();
    if (ui == nullptr || job == nullptr) {
        return;
    }
    // Fetching the page and the pumps run message loops: a window closed meanwhile announces
    // nothing more.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    try {
        ScanCommandIntf* const command = m_scanner->GetScanCommand();
        const ScanCommandIntf::JobPages pages = command->BeginJob(job);
        ui->SetTotalPageToAcquire(pages.count);
        const int kind = m_state->mediator.GetJobColorClass(job);
        bool ready = true;
        if (kind == AcquireJobsMediator::kBitonal || kind == AcquireJobsMediator::kContinuousTone) {
            command->SetSaveRequest(static_cast<int32_t>(job->GetJobID()));
            if (kind == AcquireJobsMediator::kContinuousTone) {
                command->SelectJpegConversion();
            } else {
                command->SelectTiffConversion();
            }
            ready = command->StartPage(pages.first);
            if (!*alive) {
                return;
            }
            StopBusyAnimation();
            if (!*alive) {
                return;
            }
        }
        PumpMessages();
        if (!*alive) {
            return;
        }
        if (ui->IsCloseRequested()) {
            ui->NotifyCloseRequest();
        } else if (ready) {
            ui->NotifyTransferReady();
        }
    } catch (QuorvelWrapperException& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        ui->AbandonAcquire();
        ui->ReportServerError(e.GetResultCode());
    } catch (CommonCpp::Exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        ui->AbandonAcquire();
        ui->ShowErrorMessage(IDS_SCAN_FAILED);
    }
}

void GuiAcquireJobsDialog::QueuePageTransfer(int32_t page, int32_t jobId, bool allPages) {
    ScanPageInfo* info = nullptr;
    const bool failed = m_scanner->GetJobPageInfo(jobId, page, &info, true);
    if (failed || info == nullptr) {
        return;
    }
    std::shared_ptr<ScanJobEntry> record = MakeJobRecord(jobId, *info);
    FreeReceivedAttributeList(m_wrapper, &info);
    auto image = std::make_unique<zylImageFile>(std::move(record), m_scanner, m_wrapper, nullptr);
    if (allPages) {
        image->SetStartPage(-1);
        image->SetXferCount(static_cast<std::uint16_t>(-1));
    } else {
        image->SetStartPage(static_cast<std::int16_t>(page));
        image->SetXferCount(1);
        image->ResizePageTables(page);
    }
    image->SetFlags(kFlagsQueuedPage);
    ScanCommandIntf* const command = m_scanner->GetScanCommand();
    zylImageFile* const queued = image.release();
    command->PushPending(queued);
    if (!command->HasImageFile()) {
        queued->BeginTransfer();
        OnJobReady(queued);
    }
}

void GuiAcquireJobsDialog::ShowPreview(int32_t jobId) {
    QueuePageTransfer(1, jobId, true);
}

void GuiAcquireJobsDialog::OpenSendDialog() {
    m_state->mediator.ResetScanCommand();
    m_state->attributes.Clear();
    const bool retrieve = IsRetrievePaneCurrent();
    zylImageFile* job = nullptr;
    int32_t page = 0;
    if (retrieve) {
        if (m_state->retrievePane == nullptr) {
            return;
        }
        const std::shared_ptr<const bool> alive = GetAliveFlag();
        m_state->retrievePane->RememberSelectedJob();
        page = m_state->retrievePane->GetSelectedPage();
        job = m_state->retrievePane->GetSelectedImageFile();
        if (!*alive) {
            return;
        }
        if (page == -1) {
            page = 0;
        }
    } else {
        if (!IsInitiateAllowed() || m_state->initiatePane == nullptr) {
            return;
        }
        if (InitiateMediator* const settings = m_state->initiatePane->GetInitiateMediator()) {
            settings->ApplyAll();
        }
    }
    std::unique_ptr<SendMediator> mediator;
    if (retrieve) {
        mediator =
            std::make_unique<SendMediatorExisting>(&m_state->attributes, m_scanner, &m_preferences);
    } else {
        mediator = std::make_unique<SendMediatorInitiater>(&m_state->attributes, m_scanner,
                                                           &m_preferences);
    }
    // The dialog owns the mediator from here on.
    SendMediator* const sendMediator = mediator.get();
    GuiWindowsDialog* const dialog =
        Parts().CreateSendDialog(*this, std::move(mediator), job, page);
    if (dialog == nullptr) {
        return;
    }
    sendMediator->SetClient(dynamic_cast<SendMediatorClient*>(dialog));
    OpenChildDialog(std::unique_ptr<GuiWindowsDialog>(dialog));
}

void GuiAcquireJobsDialog::OnCloseRequest(int dialogId, int result) {
    GuiWindowsDialog* const child = GetChildDialog();
    DataArg_UserInterface* const ui = GetUserInterface();
    if (dialogId == kDialogSend && child != nullptr) {
        child->Hide();
        auto* const send = dynamic_cast<AcquireSendDialogIntf*>(child);
        if (result != 1 || send == nullptr) {
            GuiMultiPaneDialog::OnCloseRequest(dialogId, result);
            return;
        }
        m_state->saveTarget = send->GetFileSpec();
        m_state->saveFileName = send->GetFileName();
        const bool save = send->IsSaveToDiskSelected();
        const bool destination = send->IsEmailSelected() || send->IsFtpSelected() ||
                                 send->IsHoldQueueSelected() || send->IsInternetFaxSelected();
        const bool retrieve = IsRetrievePaneCurrent();
        const std::shared_ptr<const bool> alive = GetAliveFlag();
        if (retrieve) {
            GuiMultiPaneDialog::OnCloseRequest(dialogId, result);
            if (destination) {
                SendJob();
            }
        } else {
            m_state->savePage = 0;
            const bool start = destination || send->IsMailboxSelected() || save;
            GuiMultiPaneDialog::OnCloseRequest(dialogId, result);
            if (start) {
                InitiateScan();
            }
        }
        if (!save || !*alive) {
            return;
        }
        if (!retrieve) {
            // The scan may have been refused: then there is nothing to save.
            m_state->saveAfterScan = m_state->scanPending;
            return;
        }
        zylImageFile* const job = m_state->retrievePane->GetRememberedImageFile();
        if (!*alive) {
            return;
        }
        if (job != nullptr) {
            m_state->saveJobId = static_cast<int32_t>(job->GetJobID());
            m_state->savePage = job->GetStartPage();
            InvalidateRect(GetHwnd(), nullptr, TRUE);
            UpdateWindow(GetHwnd());
            PostMessageA(GetHwnd(), WM_NIMBREL_SAVE_JOB, 0, 0);
        } else if (ui != nullptr) {
            ui->ShowErrorDialog(QuorvelWrapper::ResultToString(QUORVEL_JOB_NOT_FOUND));
        }
        return;
    }
    if (dialogId == kDialogChangeMailbox && child != nullptr) {
        std::string name;
        std::string password;
        if (auto* const mailbox = dynamic_cast<AcquireMailboxDialogIntf*>(child)) {
            name = mailbox->GetMailbox();
            password = mailbox->GetPassword();
        }
        GuiMultiPaneDialog::OnCloseRequest(dialogId, result);
        const std::shared_ptr<const bool> alive = GetAliveFlag();
        if (result == 1 && m_state->retrievePane != nullptr &&
            !m_state->retrievePane->ChangeMailbox(name, password) && *alive) {
            const std::string format = LoadString(IDS_CANNOT_OPEN_MAILBOX);
            std::vector<char> text(format.size() + name.size() + 1);
            std::snprintf(text.data(), text.size(), format.c_str(), name.c_str());
            if (ui != nullptr) {
                ui->ShowErrorDialog(text.data());
            }
            if (*alive) {
                OpenChangeMailboxDialog();
            }
        }
        return;
    }
    GuiMultiPaneDialog::OnCloseRequest(dialogId, result);
}

void GuiAcquireJobsDialog::SendJob() {
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    zylImageFile* const job = m_state->retrievePane != nullptr
                                  ? m_state->retrievePane->GetRememberedImageFile()
                                  : nullptr;
    if (job == nullptr || !*alive) {
        return;
    }
    const int rc = m_state->mediator.SendJob(static_cast<int32_t>(job->GetJobID()),
                                             m_state->attributes.GetServerList());
    if (rc != 0) {
        if (DataArg_UserInterface* const ui = GetUserInterface()) {
            // A send that did not happen must not look as if it did.
            ui->ReportServerError(rc);
        }
    }
}

void GuiAcquireJobsDialog::ProcessSaveToDisk() {
    DataArg_UserInterface* const ui = GetUserInterface();
    try {
        m_state->mediator.ProcessSaveToDisk(m_state->saveJobId, m_state->saveTarget,
                                            m_state->saveFileName, m_state->savePage);
    } catch (CommonCpp::BinaryFileException& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        if (ui != nullptr) {
            ui->ShowErrorDialog(LoadString(IDS_FILE_LOCKED));
        }
    } catch (QuorvelWrapperException& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        if (ui != nullptr) {
            ui->ReportServerError(e.GetResultCode());
        }
    }
}

void GuiAcquireJobsDialog::PumpMessages() {
    MessageWaits::DispatchPending();
}

bool GuiAcquireJobsDialog::IsBusy() const {
    return m_state->busy;
}
bool GuiAcquireJobsDialog::IsScanPending() const {
    return m_state->scanPending;
}
int32_t GuiAcquireJobsDialog::GetFollowedJobId() const {
    return m_state->followedJobId;
}
bool GuiAcquireJobsDialog::IsFollowingAnyJob() const {
    return m_state->followAnyJob;
}
bool GuiAcquireJobsDialog::IsHostRestricted() const {
    return m_state->hostRestricted;
}
bool GuiAcquireJobsDialog::IsSaveAfterScan() const {
    return m_state->saveAfterScan;
}
bool GuiAcquireJobsDialog::IsAcquireAfterScan() const {
    return m_state->acquireAfterScan;
}
bool GuiAcquireJobsDialog::IsEventDeferred() const {
    return !m_state->deferredEvents.empty();
}
bool GuiAcquireJobsDialog::IsImagePosted() const {
    return m_state->imagePosted;
}
int32_t GuiAcquireJobsDialog::GetPagesAnnounced() const {
    return m_state->pagesAnnounced;
}
int32_t GuiAcquireJobsDialog::GetPagesSkipped() const {
    return m_state->pagesSkipped;
}
int32_t GuiAcquireJobsDialog::GetPageEvents() const {
    return m_state->pageEvents;
}
AcquireRetrievePaneIntf* GuiAcquireJobsDialog::GetRetrievePane() const {
    return m_state->retrievePane;
}
AcquireInitiatePaneIntf* GuiAcquireJobsDialog::GetInitiatePane() const {
    return m_state->initiatePane;
}
ScanAttributeWrapper& GuiAcquireJobsDialog::GetJobAttributes() const {
    return m_state->attributes;
}
