// Scanner: construction, connecting and logging in, the cached capabilities, event
// registration, the library's callbacks and teardown.

#include "Scanner.h"

#include <atomic>

#include "Exception.h"
#include "QuorMemoryAllocator.h"
#include "QuorvelWrapperException.h"
#include "QuorvelWrapperIntf.h"
#include "ScanAttributeWrapper.h"
#include "ScanCommand.h"
#include "ScannerData.h"
#include "ScannerSupport.h"
#include "ScannerUiIntf.h"
#include "StringTable_rc.h"

namespace {

// Written and read by the library's thread as well, with no lock of ours.
std::atomic<ScannerUiIntf*> g_handler{nullptr};
std::atomic<bool> g_serverDown{false};

constexpr int32_t kConnectTimeoutSeconds = 180;
constexpr int32_t kMonitorInterval = 16;
constexpr int kLoginOk = 1;
constexpr int kLoginCancel = 2;
constexpr int32_t kServerDownEvent = -8;
// Types from here on are not events the receivers know.
constexpr int32_t kFirstUnknownEvent = 10;

// An attribute list the library handed out goes back to the heap it came from: the wrapper's
// allocator, or the ordinary heap for server access that is not one.
class ReceivedAttributeList {
public:
    explicit ReceivedAttributeList(QuorvelWrapperIntf* wrapper) : m_wrapper(wrapper) {}
    ReceivedAttributeList(const ReceivedAttributeList&) = delete;
    ReceivedAttributeList& operator=(const ReceivedAttributeList&) = delete;
    ~ReceivedAttributeList() {
        if (!m_list) {
            return;
        }
        FreeReceivedAttributeList(m_wrapper, &m_list);
    }

    ServerAttributeList** Out() { return &m_list; }
    const ServerAttributeList* Get() const { return m_list; }

private:
    QuorvelWrapperIntf* m_wrapper;
    ServerAttributeList* m_list = nullptr;
};

// The login prompt is closed after each answer, also when an exception leaves the round.
class LoginPromptScope {
public:
    explicit LoginPromptScope(ScannerUiIntf* ui) : m_ui(ui) {}
    LoginPromptScope(const LoginPromptScope&) = delete;
    LoginPromptScope& operator=(const LoginPromptScope&) = delete;
    ~LoginPromptScope() {
        if (m_ui) {
            m_ui->CloseLoginDialog();
        }
    }

private:
    ScannerUiIntf* m_ui;
};

} // namespace

using scanner_support::WaitText;
using scanner_support::WithName;

Scanner::Scanner(QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui)
    : m_data(std::make_unique<ScannerData>()) {
    g_handler = ui;
    g_serverDown = false;
    m_data->wrapper = wrapper;
}

Scanner::Scanner(QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui, const std::string& address,
                 const std::string& displayName)
    : Scanner(wrapper, ui) {
    m_data->serverDisplayName = displayName;
    const int result = Connect(address);
    if (result != 0) {
        throw QuorvelWrapperException(__FILE__, __LINE__, result);
    }
    // An exception out of here (the capabilities read by Connect included) runs the
    // destructor, which closes the session: the constructor this one delegates to has ended.
    RunLogin();
}

Scanner::~Scanner() {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (m_data->jobList && wrapper) {
        wrapper->ScanFreeScanJobList(m_data->jobList);
    }
    m_data->jobList = nullptr;
    for (ScanJobList* const retired : m_data->retiredJobLists) {
        if (wrapper) {
            wrapper->ScanFreeScanJobList(retired);
        }
    }
    m_data->retiredJobLists.clear();
    m_data->currentDirectory = nullptr;
    m_data->currentImage = nullptr;
    m_data->treeRoot.reset();
    m_data->localizer.reset();
    m_data->capabilities.reset();
    if (m_data->connected) {
        m_data->connected = false;
        if (wrapper) {
            wrapper->ScanCloseSession();
            wrapper->InitDisconnectFromServer();
        }
    }
    // Its image copies may point into the job lists freed above: a copy never reads its entry
    // as it goes.
    m_data->scanCommand.reset();
}

ScannerUiIntf* Scanner::Handler() {
    return g_handler;
}

int Scanner::Connect(const std::string& address) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    wrapper->AvoidBrokenWinsockSelect();
    const int connected = wrapper->InitConnectToNonStandardServer(
        address.c_str(), m_data->userName.c_str(), m_data->userPassword.c_str());
    if (connected != 0) {
        return connected;
    }
    wrapper->InitSetTimeout(kConnectTimeoutSeconds);
    const int opened = wrapper->ScanOpenSession();
    m_data->connected = opened == 0;
    if (!m_data->connected) {
        wrapper->InitDisconnectFromServer();
    } else {
        // The capabilities and the localizer exist as soon as the session does.
        GetServerCapabilities();
    }
    return opened;
}

void Scanner::Disconnect() {
    if (!m_data->connected) {
        return;
    }
    m_data->connected = false;
    m_data->wrapper->ScanCloseSession();
    m_data->localizer.reset();
    m_data->wrapper->InitDisconnectFromServer();
}

void Scanner::RunLogin() {
    if (!GetServerCapabilities()->IsCorpMailFromEnabled()) {
        return;
    }
    ScannerUiIntf* const ui = g_handler;
    for (;;) {
        // A prompt that answers nothing, or fails, is a cancel: never ask for ever.
        int choice = kLoginCancel;
        int result = 0;
        {
            const LoginPromptScope prompt(ui);
            if (ui) {
                ui->ShowLoginDialog(m_data->userName, m_data->userPassword, &choice);
            }
            if (choice != kLoginOk) {
                Disconnect();
                return;
            }
            if (!m_data->userName.empty()) {
                result = LogInToDirectory();
            }
        }
        if (result == 0 && !m_data->userName.empty()) {
            return;
        }
    }
}

int Scanner::LogInToDirectory() {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    QuorvelLdapSession session = {};
    int result = wrapper->CorpLdapOpenSession(&session);
    if (result != 0) {
        return result;
    }
    // The directory session is closed whatever happens after it opened.
    struct SessionCloser {
        QuorvelWrapperIntf* wrapper;
        QuorvelLdapSession* session;
        ~SessionCloser() { wrapper->CorpLdapCloseSession(session); }
    } const closer{wrapper, &session};
    result = wrapper->CorpAuthenticate(m_data->userName, m_data->userPassword);
    if (result == 0) {
        result = wrapper->CorpLdapBindEx(&session, m_data->userName, m_data->userPassword);
    }
    if (result == 0) {
        // A user without a directory entry still logs in, only without a sender address.
        LookUpUserMail(&session);
    }
    return result;
}

bool Scanner::GetUserMailInfo(std::string& displayName, std::string& mailAddress) {
    if (m_data->userDisplayName.empty() && m_data->userMailAddress.empty()) {
        return false;
    }
    displayName = m_data->userDisplayName;
    mailAddress = m_data->userMailAddress;
    return true;
}

bool Scanner::IsConnected() {
    return m_data->connected;
}

void Scanner::StartNotifications() {
    StartServerMonitor();
    RegisterEventCallbacks();
}

int Scanner::RegisterEventCallbacks() {
    m_data->wrapper->ScanGetEventsEx(&Scanner::OnScanEvent);
    return m_data->wrapper->ScanGetAlertEvents(&Scanner::OnAlertEvent);
}

int Scanner::StartServerMonitor() {
    const int result = m_data->wrapper->InitMonitorServer(kMonitorInterval, 0);
    if (result != 0) {
        return result;
    }
    return m_data->wrapper->NbRegisterCallback(&Scanner::OnServerDown);
}

ScanServerCapabilities* Scanner::GetServerCapabilities() {
    if (!m_data->connected) {
        return ScannerIntf::GetServerCapabilities();
    }
    if (m_data->capabilities) {
        return m_data->capabilities.get();
    }
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    const WaitText wait(g_handler, WithName(IDS_GETTING_DATA, m_data->serverDisplayName));
    // Cached at once: a failed read leaves the empty set for the rest of the session.
    m_data->capabilities = std::make_unique<ScanServerCapabilities>();
    ReceivedAttributeList list(wrapper);
    if (wrapper->ScanServerAttributes(list.Out()) == 0 && list.Get()) {
        const ScanAttributeWrapper attributes(wrapper, list.Get());
        m_data->localizer = std::make_unique<Localizer>(wrapper, true);
        m_data->capabilities->LoadFromServerAttributes(attributes, m_data->localizer.get());
        m_data->capabilities->LoadLdapCapability(wrapper);
    }
    return m_data->capabilities.get();
}

int32_t Scanner::GetInitiatedScanJobID() {
    return m_data->initiatedJobId;
}

int32_t Scanner::SetInitiatedScanJobID(int32_t jobId) {
    m_data->initiatedJobId = jobId;
    return jobId;
}

bool Scanner::IsInitiatingScan() {
    return m_data->initiatingScan;
}

void Scanner::SetInitiatingScan(bool initiating) {
    m_data->initiatingScan = initiating;
}

bool Scanner::GetIgnoreJobID() {
    return m_data->ignoreJobId;
}

void Scanner::SetIgnoreJobID(bool ignore) {
    m_data->ignoreJobId = ignore;
}

bool Scanner::IsServerDown() {
    return g_serverDown;
}

Localizer* Scanner::GetLocalizer() {
    return m_data->localizer.get();
}

namespace {

// The library calls back on its own thread: nothing may escape into it, or the process ends.
template <typename Body> void OnLibraryThread(const char* file, int line, Body body) {
    try {
        body();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, file, line);
    } catch (...) {
        CommonCpp::NoteException(nullptr, file, line);
    }
}

} // namespace

void QUORVEL_CALL Scanner::OnServerDown(void*) {
    g_serverDown = true;
    OnLibraryThread(__FILE__, __LINE__, [] {
        if (ScannerUiIntf* const ui = g_handler) {
            ScanEventRecord record = {kServerDownEvent, 0, 0};
            ui->OnScanEvent(&record);
        }
    });
}

void QUORVEL_CALL Scanner::OnScanEvent(void* record) {
    OnLibraryThread(__FILE__, __LINE__, [record] {
        auto* const event = static_cast<ScanEventRecord*>(record);
        ScannerUiIntf* const ui = g_handler;
        if (event && ui && event->type < kFirstUnknownEvent) {
            ui->OnScanEvent(event);
        }
    });
}

void QUORVEL_CALL Scanner::OnAlertEvent(void* record) {
    OnLibraryThread(__FILE__, __LINE__, [record] {
        auto* const alert = static_cast<ScanAlertEventRecord*>(record);
        ScannerUiIntf* const ui = g_handler;
        if (alert && ui) {
            ui->OnAlertEvent(alert);
        }
    });
}
