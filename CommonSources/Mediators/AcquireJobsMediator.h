#pragma once
// The logic behind the main acquire window: scans started and cancelled at the copier, stored
// jobs prepared for the application, sent and saved, the server's answers to the window's
// questions, and the display text of a scanner alert. Every pointer is borrowed; result codes
// of the server and the scanner come back unchanged for the window to interpret.

#include <cstdint>
#include <string>

#include "quorvel_api.h"

class AcquireJobsMediatorClient;
class QuorvelWrapperIntf;
class ScanPreferences;
class Scanner;
class zylImageFile;
namespace CommonCpp {
class FileSpec;
}

// What the server fills in for a scan it started; only the job id is read.
struct ScanJobTicket {
    int32_t jobId = 0;
};

class AcquireJobsMediator {
public:
    // Colour classes of GetJobColorClass.
    static constexpr int kBitonal = 1;
    static constexpr int kContinuousTone = 2;

    AcquireJobsMediator(QuorvelWrapperIntf* wrapper, ScanPreferences* preferences, Scanner* scanner,
                        AcquireJobsMediatorClient* client);
    AcquireJobsMediator(const AcquireJobsMediator&) = delete;
    AcquireJobsMediator& operator=(const AcquireJobsMediator&) = delete;
    virtual ~AcquireJobsMediator();

    virtual int CancelScan(ScanJobTicket& ticket);
    // kContinuousTone for a colour or grey job, kBitonal for anything else (no job included).
    virtual int GetJobColorClass(zylImageFile* job);
    // 0 when the scan started; -6 when the scanner is busy.
    virtual int InitiateScan(ServerAttributeList* attributes, ScanJobTicket& ticket);
    // The stored job goes to the destinations the list holds.
    virtual int SendJob(int32_t jobId, ServerAttributeList* destinations);
    virtual bool IsRemoteSendEnabled();
    virtual bool IsRemoteGetEnabled();
    virtual bool GetScanInitMode();
    // The scanner's failures pass through as its exceptions.
    virtual void ProcessSaveToDisk(int32_t jobId, CommonCpp::FileSpec& file,
                                   const std::string& format, int32_t page);
    // Hands the job to the client once it is ready; nothing happens for a job the server no
    // longer lists.
    virtual void AcquireJob(ScanJobTicket& ticket);
    virtual bool IsDeveloperMode();
    virtual void ResetScanCommand();
    virtual ScanPreferences* GetPreferences();
    virtual Scanner* GetScanner();
    virtual QuorvelWrapperIntf* GetServerWrapper();
    virtual bool IsInitiateDisabled();
    virtual bool IsScanEnabled();

    // Empty for the alerts that need no text; the server's own words when the alert names
    // them, else the fixed text of its code.
    std::string GetAlertText(const ScanAlertEventRecord& alert);

private:
    QuorvelWrapperIntf* m_wrapper;
    Scanner* m_scanner;
    ScanPreferences* m_preferences;
    AcquireJobsMediatorClient* m_client;
};
