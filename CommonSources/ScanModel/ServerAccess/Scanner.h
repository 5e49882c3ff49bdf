#pragma once
// The data source's session with one Orvex server: connecting and logging in, the server's
// capabilities, and the server's events, which the library delivers on its own thread and the
// Scanner hands to the user-interface handler; the job list and its file-system tree, the
// page-transfer machine, page data, sending and saving to disk. Everything but the events runs
// on the application's thread. The class is spread over several source files by what it
// answers: Scanner.cpp, ScannerDirectory.cpp, ScannerJobs.cpp, ScannerPageData.cpp.

#include <memory>
#include <string>

#include "ScannerIntf.h"

class QuorvelWrapperIntf;
class ScannerUiIntf;
struct ScannerData;

class Scanner : public ScannerIntf {
public:
    // Not connected; no server call. Becomes the process-wide event handler's owner and clears
    // the server-down flag.
    Scanner(QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui);
    // Connects, opens the scan session and, when the server asks for it, runs the login.
    // Throws QuorvelWrapperException when the connection cannot be made; a cancelled login
    // returns normally, not connected.
    Scanner(QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui, const std::string& address,
            const std::string& displayName);
    ~Scanner() override;

    bool GetUserMailInfo(std::string& displayName, std::string& mailAddress) override;
    bool IsConnected() override;
    void StartNotifications() override;
    int RegisterEventCallbacks() override;
    int StartServerMonitor() override;
    // Never null: the empty set while not connected, else the server's, read once.
    ScanServerCapabilities* GetServerCapabilities() override;
    int32_t GetInitiatedScanJobID() override;
    int32_t SetInitiatedScanJobID(int32_t jobId) override;
    bool IsInitiatingScan() override;
    void SetInitiatingScan(bool initiating) override;
    bool GetIgnoreJobID() override;
    void SetIgnoreJobID(bool ignore) override;
    bool IsServerDown() override;
    Localizer* GetLocalizer() override;

    int LookUpUserMail(QuorvelLdapSession* session) override;
    int GetDefaultNamingContext(QuorvelLdapSession* session, std::string& text) override;
    // The entry list stays the directory session's.
    int LdapSearch(QuorvelLdapSession* session, const std::string& filter, const std::string& base,
                   int32_t scope, char** attributeNames, int32_t attributeCount,
                   CorpLdapEntryList** entries) override;

    int Connect(const std::string& address) override;
    void Disconnect() override;

    // The job list and the tree (ScannerJobs.cpp). In mailbox mode (the server's
    // E_MBOX_PASSWORD) every job call names the stored mailbox and its password.
    using ScannerIntf::GetJobList;
    // Shows the wait text while the server answers; true when it answered 0.
    bool GetJobList(const std::string& mailbox, const std::string& password,
                    ScanJobList** list) override;
    void FreeJobList() override;
    // Free the old list, fetch, new tree, current directory the root. A failed reload leaves
    // no tree: its image files would point into the freed list.
    bool RefreshJobs() override;
    bool RefreshJobsInMailbox(const std::string& name, const std::string& password) override;
    void CreateRootDirectory() override;
    // ServerDownException once the server is reported down.
    void BuildJobTree() override;
    void DeleteRootDirectory() override;
    bool IsJobTreeLoaded() override;
    // The caller owns the detached copy answered.
    zylDirectory* OpenMailbox(const std::string& name, const std::string& password) override;
    // OpenMailbox without a reload; only another password for the open mailbox (mailbox mode)
    // goes through OpenMailbox, whose reload lets the server check it.
    zylDirectory* SelectMailbox(const std::string& name, const std::string& password) override;
    void SetCurrentDirectory(zylDirectory* directory) override;
    void ChangeDirectory(zylDirectory* directory) override;
    void ChangeDirectoryByPath(const std::string& name) override;
    void SetCurrentImageFile(zylImageFile* image) override;
    void SetCurrentImageFileFromJobID(int32_t jobId) override;
    zylImageFile* GetCurrentImageFile() override;
    bool HasCurrentImageFile() override;
    // Reloads once when the job is not in the tree.
    zylImageFile* FindImageFileByJobID(int32_t jobId) override;
    zylImageFile* GetImageFileByJobID(int32_t jobId) override;
    // The tree is left as it is; callers reload.
    int DeleteJob(int32_t jobId) override;
    // The library's description, for the caller to free; null when none.
    ScanPageInfo* GetPageInfo(zylImageFile* image, int32_t page) override;
    bool GetJobPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info,
                        bool useStoredMailbox) override;
    bool IsJobInMailbox(const std::string& mailbox, const std::string& password,
                        int32_t jobId) override;
    int32_t GetNumDevices() override;
    int32_t GetNumPagesInJob(int32_t jobId) override;

    // The page-transfer machine, page data, sending and saving (ScannerPageData.cpp).
    bool IsLocalPageReady() override;
    // Made on first use; never null.
    ScanCommandIntf* GetScanCommand() override;
    void DeleteScanCommand() override;
    int DoSend(int32_t jobId, ServerAttributeList* attributes) override;
    int GetData(int32_t jobId, ServerAttributeList* attributes, int32_t offset, void* buffer,
                int32_t* size, zylImageFile* image) override;
    // From the prepared page file when it holds what the request asks for, else from the
    // server; ServerDownException once the server is reported down.
    void ReadData(int32_t jobId, ServerAttributeList* attributes, int32_t offset, void* buffer,
                  int32_t* size) override;
    // Fetches the job (page 0: all of it) in a format into the file, 1 MB a request. False
    // after a user's stop or a lost connection (the application is asked to close the
    // source); QuorvelWrapperException for other server failures, CommonCpp::Exception when
    // nothing came.
    bool SaveASCanJobToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                            const std::string& format, int32_t page, zylImageFile* image) override;
    // "TIFF", "PDF" or "JPEG" (one file per page); any other format is saved as PDF.
    void ProcessSaveToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                           const std::string& format, int32_t page) override;
    void SaveJobToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page) override;
    void ProcessSavePdfToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                              int32_t page) override;
    // Every page of a job into its own file, the page number before the extension
    // (scan.jpg: scan1.jpg, scan2.jpg ...); QuorvelWrapperException (JOB_NOT_FOUND) for a job
    // the server does not list.
    void ProcessSaveJpegToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                               int32_t page) override;
    void SaveJpegPageToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page);
    int ValidateFtpDestination(const std::string& server, const std::string& port,
                               const std::string& user, const std::string& password,
                               const std::string& directory, const std::string& proxyServer,
                               const std::string& proxyPort, const std::string& proxyUser,
                               const std::string& proxyPassword) override;
    // "DOMAIN\user" asks the server for the user's id; any other name is its own answer.
    bool GetAuthID(const std::string& userName, std::string& id) override;

    // Handed to the library; called on its thread.
    static void QUORVEL_CALL OnServerDown(void* ignored);
    static void QUORVEL_CALL OnScanEvent(void* record);
    static void QUORVEL_CALL OnAlertEvent(void* record);

    // A text as an RFC 4515 filter value: "*", "(", ")", "\" and NUL become \2a, \28, \29, \5c
    // and \00, so that no text can change the filter it is put in.
    static std::string EscapeFilterValue(const std::string& text);

private:
    // The process-wide user-interface handler.
    static ScannerUiIntf* Handler();
    bool IsMailboxMode();
    // The image's mailbox name and password for a job call: the stored ones when the image
    // lies in the stored mailbox, else both empty.
    void MailboxOf(const zylImageFile* image, std::string& mailbox, std::string& password);
    // Sorts the entries of the tree's mailbox directories, then the root's.
    void SortTree();
    // The name of a mailbox's directory in the tree ("007" is "7" on a server without text
    // mailbox names).
    std::string MailboxDirectoryName(const std::string& name);
    // The tree's image of the job, without a reload.
    zylImageFile* FindImageFileInTree(int32_t jobId) const;
    // The job list goes; kept for the scan command while its image may point into it.
    void RetireJobList();
    // Free the old list, fetch the mailbox's (or the session's), build the tree afresh.
    bool Reload(const std::string& mailbox, const std::string& password);

    void RunLogin();
    // One OK of the login prompt: the directory log-in and look-up; the last result.
    int LogInToDirectory();

    std::unique_ptr<ScannerData> m_data;
};
