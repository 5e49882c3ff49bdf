#include "AcquireJobsMediator.h"

#include <memory>

#include "AcquireJobsMediatorClient.h"
#include "FileSpec.h"
#include "Localizer.h"
#include "QuorvelWrapperIntf.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScanCommandIntf.h"
#include "ScanPreferences.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "StringTable_rc.h"
#include "zylImageFile.h"

namespace {

// Alert codes of the copier's feeder and of a reload prompt.
enum AlertCode : int32_t {
    kAlertNone = 0,
    kAlertAdfJam = 1,
    kAlertAdfOpen = 2,
    kAlertSetDocuments = 3,
    kAlertServerError = 4,
    kAlertSilent = 5,
    kAlertAdfAlarm = 6,
    kAlertReloadPages = 7,
};

int AlertStringId(int32_t code) {
    switch (code) {
    case kAlertAdfJam:
        return IDS_ALERT_ADF_JAM;
    case kAlertAdfOpen:
        return IDS_ALERT_ADF_OPEN;
    case kAlertSetDocuments:
        return IDS_ALERT_SET_DOCUMENTS;
    case kAlertAdfAlarm:
        return IDS_ALERT_ADF_ALARM;
    case kAlertReloadPages:
        return IDS_ALERT_RELOAD_PAGES;
    case kAlertServerError:
    default:
        return IDS_UNEXPECTED_SERVER_ERROR;
    }
}

bool IsColorModeWord(const std::string& mode) {
    return mode == "COLOR" || mode == "GRAYSCALE" || mode == "GREYSCALE" || mode == "BLACK_WHITE";
}

} // namespace

AcquireJobsMediator::AcquireJobsMediator(QuorvelWrapperIntf* wrapper, ScanPreferences* preferences,
                                         Scanner* scanner, AcquireJobsMediatorClient* client)
    : m_wrapper(wrapper), m_scanner(scanner), m_preferences(preferences), m_client(client) {}

AcquireJobsMediator::~AcquireJobsMediator() = default;

int AcquireJobsMediator::CancelScan(ScanJobTicket& ticket) {
    return m_wrapper->ScanCancelScan(ticket.jobId);
}

int AcquireJobsMediator::GetJobColorClass(zylImageFile* job) {
    if (!job) {
        return kBitonal;
    }
    const ScanAttributeWrapper attributes(m_wrapper, job->GetJobAttributes());
    std::string mode = attributes.GetAttribute("COLOR_MODE");
    if (!IsColorModeWord(mode)) {
        mode = attributes.GetAttribute("COLOR_MODE_STR");
    }
    return mode == "COLOR" || mode == "GRAYSCALE" || mode == "GREYSCALE" ? kContinuousTone
                                                                         : kBitonal;
}

int AcquireJobsMediator::InitiateScan(ServerAttributeList* attributes, ScanJobTicket& ticket) {
    return m_wrapper->ScanInitiateScan(attributes, &ticket.jobId);
}

int AcquireJobsMediator::SendJob(int32_t jobId, ServerAttributeList* destinations) {
    return m_scanner->DoSend(jobId, destinations);
}

bool AcquireJobsMediator::IsRemoteSendEnabled() {
    return m_scanner->GetServerCapabilities()->IsScanRemoteSendEnabled();
}

bool AcquireJobsMediator::IsRemoteGetEnabled() {
    return m_scanner->GetServerCapabilities()->IsScanRemoteGetEnabled();
}

bool AcquireJobsMediator::GetScanInitMode() {
    return m_scanner->GetServerCapabilities()->IsScanInitAllowed();
}

void AcquireJobsMediator::ProcessSaveToDisk(int32_t jobId, CommonCpp::FileSpec& file,
                                            const std::string& format, int32_t page) {
    const CommonCpp::FileSpec target(file);
    m_scanner->ProcessSaveToDisk(jobId, target, format, page);
}

void AcquireJobsMediator::AcquireJob(ScanJobTicket& ticket) {
    m_scanner->RefreshJobs();
    zylImageFile* const job = m_scanner->GetImageFileByJobID(ticket.jobId);
    if (!job) {
        return;
    }
    job->SetStartPage(-1);
    job->BeginTransfer();
    m_client->OnJobReady(job);
}

bool AcquireJobsMediator::IsDeveloperMode() {
    return m_preferences->GetDeveloperMode();
}

void AcquireJobsMediator::ResetScanCommand() {
    m_scanner->GetScanCommand()->Reset();
}

ScanPreferences* AcquireJobsMediator::GetPreferences() {
    return m_preferences;
}

Scanner* AcquireJobsMediator::GetScanner() {
    return m_scanner;
}

QuorvelWrapperIntf* AcquireJobsMediator::GetServerWrapper() {
    return m_wrapper;
}

bool AcquireJobsMediator::IsInitiateDisabled() {
    return m_scanner->GetServerCapabilities()->IsInitiateDisabled();
}

bool AcquireJobsMediator::IsScanEnabled() {
    return m_scanner->GetServerCapabilities()->IsScanEnabled();
}

std::string AcquireJobsMediator::GetAlertText(const ScanAlertEventRecord& alert) {
    const auto code = static_cast<int32_t>(alert.word0);
    if (code == kAlertNone || code == kAlertSilent) {
        return std::string();
    }
    if (alert.word1 != 0 && alert.text) {
        if (Localizer* const localizer = m_scanner->GetLocalizer()) {
            return localizer->GetString(alert.text);
        }
        // Before the capabilities are read the scanner has no localizer of its own.
        Localizer temporary(m_wrapper, false);
        return temporary.GetString(alert.text);
    }
    return ResourceLoader::Instance()->LoadString(AlertStringId(code));
}
