#pragma once
// The data source's session with one Orvex server, as the rest of the data source sees it.
// The defaults answer as a session that is not connected: false, 0 or null, and nothing done;
// GetServerCapabilities answers an empty set of its own, never null.

#include <windows.h>
// windows.h maps SetCurrentDirectory to its A/W variant; every unit must see the plain name.
#undef SetCurrentDirectory

#include <cstdint>
#include <memory>
#include <string>

#include "quorvel_api.h"

class ScanServerCapabilities;
class ScanCommandIntf;
class Localizer;
class zylDirectory;
class zylImageFile;
namespace CommonCpp {
class FileSpec;
}

class ScannerIntf {
public:
    ScannerIntf();
    ScannerIntf(const ScannerIntf&) = delete;
    ScannerIntf& operator=(const ScannerIntf&) = delete;
    virtual ~ScannerIntf();

    // Connection, capabilities and events.
    virtual bool GetUserMailInfo(std::string& displayName, std::string& mailAddress);
    virtual bool IsConnected();
    virtual void StartNotifications();
    virtual int RegisterEventCallbacks();
    virtual int StartServerMonitor();
    virtual ScanServerCapabilities* GetServerCapabilities();
    virtual int32_t GetInitiatedScanJobID();
    // Returns the id it was given.
    virtual int32_t SetInitiatedScanJobID(int32_t jobId);
    virtual bool IsInitiatingScan();
    virtual void SetInitiatingScan(bool initiating);
    virtual bool GetIgnoreJobID();
    virtual void SetIgnoreJobID(bool ignore);
    virtual bool IsLocalPageReady();
    virtual ScanCommandIntf* GetScanCommand();
    virtual bool IsServerDown();

    // Jobs, page data and saving.
    virtual bool GetJobList(const std::string& mailbox, const std::string& password,
                            ScanJobList** list);
    virtual int DoSend(int32_t jobId, ServerAttributeList* attributes);
    virtual int GetData(int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                        void* buffer, int32_t* size, zylImageFile* image);
    virtual void ReadData(int32_t jobId, ServerAttributeList* attributes, int32_t offset,
                          void* buffer, int32_t* size);
    virtual ScanPageInfo* GetPageInfo(zylImageFile* image, int32_t page);
    virtual int DeleteJob(int32_t jobId);
    virtual void ProcessSaveToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                                   const std::string& format, int32_t page);
    virtual bool SaveASCanJobToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                                    const std::string& format, int32_t page, zylImageFile* image);
    virtual int ValidateFtpDestination(const std::string& server, const std::string& port,
                                       const std::string& user, const std::string& password,
                                       const std::string& directory, const std::string& proxyServer,
                                       const std::string& proxyPort, const std::string& proxyUser,
                                       const std::string& proxyPassword);

    // The job tree.
    virtual void ChangeDirectoryByPath(const std::string& name);
    virtual void SetCurrentDirectory(zylDirectory* directory);
    virtual void SetCurrentImageFile(zylImageFile* image);
    virtual void SetCurrentImageFileFromJobID(int32_t jobId);
    virtual zylImageFile* GetCurrentImageFile();
    virtual bool HasCurrentImageFile();
    virtual bool IsJobTreeLoaded();
    virtual void CreateRootDirectory();
    virtual void BuildJobTree();
    virtual zylDirectory* OpenMailbox(const std::string& name, const std::string& password);
    virtual zylDirectory* SelectMailbox(const std::string& name, const std::string& password);
    virtual zylImageFile* FindImageFileByJobID(int32_t jobId);
    // Only the interface has this form; it answers false.
    virtual bool GetJobList(ScanJobList** list);
    virtual bool RefreshJobsInMailbox(const std::string& name, const std::string& password);
    virtual bool RefreshJobs();
    virtual zylImageFile* GetImageFileByJobID(int32_t jobId);
    virtual void DeleteScanCommand();
    virtual bool IsJobInMailbox(const std::string& mailbox, const std::string& password,
                                int32_t jobId);
    // True when the server call failed.
    virtual bool GetJobPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info,
                                bool useStoredMailbox);
    virtual int32_t GetNumDevices();
    virtual bool GetAuthID(const std::string& userName, std::string& id);
    virtual int32_t GetNumPagesInJob(int32_t jobId);
    virtual Localizer* GetLocalizer();

    // The corporate directory.
    virtual int LookUpUserMail(QuorvelLdapSession* session);
    virtual int GetDefaultNamingContext(QuorvelLdapSession* session, std::string& text);
    virtual int LdapSearch(QuorvelLdapSession* session, const std::string& filter,
                           const std::string& base, int32_t scope, char** attributeNames,
                           int32_t attributeCount, CorpLdapEntryList** entries);

    virtual void SaveJobToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page);
    virtual void ProcessSavePdfToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page);
    virtual void ProcessSaveJpegToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                                       int32_t page);
    virtual int Connect(const std::string& address);
    virtual void Disconnect();
    virtual void DeleteRootDirectory();
    virtual void ChangeDirectory(zylDirectory* directory);
    virtual void FreeJobList();

private:
    std::unique_ptr<ScanServerCapabilities> m_emptyCapabilities;
};
