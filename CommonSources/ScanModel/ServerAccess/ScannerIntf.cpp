#include "ScannerIntf.h"

#include "ScanServerCapabilities.h"

ScannerIntf::ScannerIntf() : m_emptyCapabilities(std::make_unique<ScanServerCapabilities>()) {}

ScannerIntf::~ScannerIntf() = default;

bool ScannerIntf::GetUserMailInfo(std::string&, std::string&) {
    return false;
}

bool ScannerIntf::IsConnected() {
    return false;
}

void ScannerIntf::StartNotifications() {}

int ScannerIntf::RegisterEventCallbacks() {
    return 0;
}

int ScannerIntf::StartServerMonitor() {
    return 0;
}

ScanServerCapabilities* ScannerIntf::GetServerCapabilities() {
    return m_emptyCapabilities.get();
}

int32_t ScannerIntf::GetInitiatedScanJobID() {
    return 0;
}

int32_t ScannerIntf::SetInitiatedScanJobID(int32_t jobId) {
    return jobId;
}

bool ScannerIntf::IsInitiatingScan() {
    return false;
}

void ScannerIntf::SetInitiatingScan(bool) {}

bool ScannerIntf::GetIgnoreJobID() {
    return false;
}

void ScannerIntf::SetIgnoreJobID(bool) {}

bool ScannerIntf::IsLocalPageReady() {
    return false;
}

ScanCommandIntf* ScannerIntf::GetScanCommand() {
    return nullptr;
}

bool ScannerIntf::IsServerDown() {
    return false;
}

bool ScannerIntf::GetJobList(const std::string&, const std::string&, ScanJobList**) {
    return false;
}

int ScannerIntf::DoSend(int32_t, ServerAttributeList*) {
    return 0;
}

int ScannerIntf::GetData(int32_t, ServerAttributeList*, int32_t, void*, int32_t*, zylImageFile*) {
    return 0;
}

void ScannerIntf::ReadData(int32_t, ServerAttributeList*, int32_t, void*, int32_t*) {}

ScanPageInfo* ScannerIntf::GetPageInfo(zylImageFile*, int32_t) {
    return nullptr;
}

int ScannerIntf::DeleteJob(int32_t) {
    return 0;
}

void ScannerIntf::ProcessSaveToDisk(int32_t, const CommonCpp::FileSpec&, const std::string&,
                                    int32_t) {}

bool ScannerIntf::SaveASCanJobToDisk(int32_t, const CommonCpp::FileSpec&, const std::string&,
                                     int32_t, zylImageFile*) {
    return false;
}

int ScannerIntf::ValidateFtpDestination(const std::string&, const std::string&, const std::string&,
                                        const std::string&, const std::string&, const std::string&,
                                        const std::string&, const std::string&,
                                        const std::string&) {
    return 0;
}

void ScannerIntf::ChangeDirectoryByPath(const std::string&) {}
void ScannerIntf::SetCurrentDirectory(zylDirectory*) {}
void ScannerIntf::SetCurrentImageFile(zylImageFile*) {}
void ScannerIntf::SetCurrentImageFileFromJobID(int32_t) {}

zylImageFile* ScannerIntf::GetCurrentImageFile() {
    return nullptr;
}

bool ScannerIntf::HasCurrentImageFile() {
    return false;
}

bool ScannerIntf::IsJobTreeLoaded() {
    return false;
}

void ScannerIntf::CreateRootDirectory() {}
void ScannerIntf::BuildJobTree() {}

zylDirectory* ScannerIntf::OpenMailbox(const std::string&, const std::string&) {
    return nullptr;
}

zylDirectory* ScannerIntf::SelectMailbox(const std::string&, const std::string&) {
    return nullptr;
}

zylImageFile* ScannerIntf::FindImageFileByJobID(int32_t) {
    return nullptr;
}

bool ScannerIntf::GetJobList(ScanJobList**) {
    return false;
}

bool ScannerIntf::RefreshJobsInMailbox(const std::string&, const std::string&) {
    return false;
}

bool ScannerIntf::RefreshJobs() {
    return false;
}

zylImageFile* ScannerIntf::GetImageFileByJobID(int32_t) {
    return nullptr;
}

void ScannerIntf::DeleteScanCommand() {}

bool ScannerIntf::IsJobInMailbox(const std::string&, const std::string&, int32_t) {
    return false;
}

bool ScannerIntf::GetJobPageInfo(int32_t, int32_t, ScanPageInfo**, bool) {
    return false;
}

int32_t ScannerIntf::GetNumDevices() {
    return 0;
}

bool ScannerIntf::GetAuthID(const std::string&, std::string&) {
    return false;
}

int32_t ScannerIntf::GetNumPagesInJob(int32_t) {
    return 0;
}

Localizer* ScannerIntf::GetLocalizer() {
    return nullptr;
}

int ScannerIntf::LookUpUserMail(QuorvelLdapSession*) {
    return 0;
}

int ScannerIntf::GetDefaultNamingContext(QuorvelLdapSession*, std::string&) {
    return 0;
}

int ScannerIntf::LdapSearch(QuorvelLdapSession*, const std::string&, const std::string&, int32_t,
                            char**, int32_t, CorpLdapEntryList**) {
    return 0;
}

void ScannerIntf::SaveJobToDisk(int32_t, const CommonCpp::FileSpec&, int32_t) {}
void ScannerIntf::ProcessSavePdfToDisk(int32_t, const CommonCpp::FileSpec&, int32_t) {}
void ScannerIntf::ProcessSaveJpegToDisk(int32_t, const CommonCpp::FileSpec&, int32_t) {}

int ScannerIntf::Connect(const std::string&) {
    return 0;
}

void ScannerIntf::Disconnect() {}
void ScannerIntf::DeleteRootDirectory() {}
void ScannerIntf::ChangeDirectory(zylDirectory*) {}
void ScannerIntf::FreeJobList() {}
