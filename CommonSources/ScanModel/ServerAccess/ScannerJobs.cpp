// Scanner: the server's job list and the file-system tree built from it (a root with the
// "CAMERA" entry and one directory per mailbox, each holding the image files of its jobs),
// mailboxes, the current directory and image, page descriptions and deleting jobs.

#include "Scanner.h"

#include <windows.h>
// windows.h maps SetCurrentDirectory to its A/W variant; the method keeps its plain name.
#undef SetCurrentDirectory

#include <algorithm>
#include <cstring>

#include "QuorvelWrapperIntf.h"
#include "ScanServerCapabilities.h"
#include "ScannerData.h"
#include "ScannerSupport.h"
#include "ServerDownException.h"
#include "StringTable_rc.h"
#include "zylImageFile.h"

namespace {

constexpr const char* kCameraName = "CAMERA";
constexpr const char* kDefaultMailbox = "IMAGES";
constexpr int kMaxNumericMailbox = 9999;

// A text field of a job entry, which need not end in a NUL.
std::string FieldText(const char* field, size_t size) {
    const void* const nul = std::memchr(field, '\0', size);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : size);
}

// The mailbox a job is filed under: its "MAILBOX" value, else its owner, else "IMAGES". Each
// job is looked at on its own.
std::string MailboxOfJob(const ScanJobEntry& entry) {
    std::string name;
    const ServerAttributeList& attributes = entry.attributes;
    for (int32_t i = 0; attributes.keys && attributes.values && i < attributes.count; ++i) {
        const char* const key = attributes.keys[i];
        if (key && std::strcmp(key, "MAILBOX") == 0) {
            name = attributes.values[i] ? attributes.values[i] : "";
        }
    }
    if (name.empty()) {
        name = FieldText(entry.owner, sizeof(entry.owner));
    }
    if (name.empty()) {
        name = kDefaultMailbox;
    }
    return name;
}

// On a server without text mailbox names a name of digits worth 0..9999 is a number: "007"
// is "7" (and "" is "0").
std::string NumericMailbox(const std::string& name) {
    int value = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') {
            return name;
        }
        value = value * 10 + (c - '0');
        if (value > kMaxNumericMailbox) {
            return name;
        }
    }
    return std::to_string(value);
}

// The root's mailbox directory of that name; other entries of the name do not count.
zylDirectory* FindDirectory(const zylDirectory* root, const std::string& name) {
    if (!root) {
        return nullptr;
    }
    for (std::uint32_t i = 0; i < root->GetCount(); ++i) {
        zylDirectory* const directory = root->GetDirectoryAt(i);
        if (directory && directory->GetName() == name) {
            return directory;
        }
    }
    return nullptr;
}

// Ascending in the entry order; holes last.
void SortEntries(zylDirectory& directory) {
    zylDirectory::Entries& entries = directory.GetEntries();
    if (entries.GetCount() < 2) {
        return;
    }
    zylFileObj** const first = entries.GetData();
    std::stable_sort(first, first + entries.GetCount(),
                     [](const zylFileObj* a, const zylFileObj* b) {
                         if (!a || !b) {
                             return a != nullptr && b == nullptr;
                         }
                         return zylFileObj::IsLess(a, b);
                     });
}

} // namespace

bool Scanner::IsMailboxMode() {
    return GetServerCapabilities()->IsMailboxPasswordEnabled();
}

bool Scanner::GetJobList(const std::string& mailbox, const std::string& password,
                         ScanJobList** list) {
    if (!list) {
        return false;
    }
    *list = nullptr;
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper) {
        return false;
    }
    const bool mailboxMode = IsMailboxMode();
    const scanner_support::WaitText wait(
        Handler(), scanner_support::WithName(IDS_GETTING_DATA, m_data->serverDisplayName));
    Sleep(0);
    const int result = mailboxMode ? wrapper->ScanGetJobListInMailbox(mailbox, password, list)
                                   : wrapper->ScanGetJobList(list);
    Sleep(0);
    if (result != 0 && *list) {
        // A failed call hands nothing over, whatever it left behind.
        wrapper->ScanFreeScanJobList(*list);
        *list = nullptr;
    }
    return result == 0;
}

void Scanner::FreeJobList() {
    // The tree's image files point into the list: they go with it.
    DeleteRootDirectory();
    RetireJobList();
}

void Scanner::RetireJobList() {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    const bool inUse = m_data->scanCommand && m_data->scanCommand->HasImageFile();
    if (!inUse && wrapper) {
        for (ScanJobList* const retired : m_data->retiredJobLists) {
            wrapper->ScanFreeScanJobList(retired);
        }
        m_data->retiredJobLists.clear();
    }
    ScanJobList* const list = m_data->jobList;
    m_data->jobList = nullptr;
    if (!list) {
        return;
    }
    if (inUse) {
        // The scan command's copy of an image still reads its job entry.
        m_data->retiredJobLists.push_back(list);
    } else if (wrapper) {
        wrapper->ScanFreeScanJobList(list);
    }
}

bool Scanner::Reload(const std::string& mailbox, const std::string& password) {
    FreeJobList();
    if (!GetJobList(mailbox, password, &m_data->jobList)) {
        return false;
    }
    CreateRootDirectory();
    BuildJobTree();
    m_data->treeLoaded = true;
    m_data->currentDirectory = m_data->treeRoot.get();
    m_data->currentImage = nullptr;
    return true;
}

bool Scanner::RefreshJobs() {
    return Reload(std::string(), std::string());
}

bool Scanner::RefreshJobsInMailbox(const std::string& name, const std::string& password) {
    if (!Reload(name, password)) {
        return false;
    }
    m_data->mailboxName = name;
    m_data->mailboxPassword = password;
    return true;
}

void Scanner::CreateRootDirectory() {
    DeleteRootDirectory();
    m_data->treeRoot = std::make_unique<zylDirectory>(nullptr);
    auto* const camera = new zylFileObj(m_data->treeRoot.get()); // owned by the root
    camera->SetName(kCameraName);
    camera->SetFileType(TWFY_CAMERA);
}

void Scanner::DeleteRootDirectory() {
    m_data->currentDirectory = nullptr;
    m_data->currentImage = nullptr;
    m_data->treeRoot.reset();
}

void Scanner::BuildJobTree() {
    if (IsServerDown()) {
        throw ServerDownException(__FILE__, __LINE__);
    }
    ScanJobList* const list = m_data->jobList;
    if (!list || !list->entries) {
        return;
    }
    if (!m_data->treeRoot) {
        CreateRootDirectory();
    }
    zylDirectory* const root = m_data->treeRoot.get();
    const bool textNames = GetServerCapabilities()->IsStringMailboxNamesEnabled();
    for (int32_t i = 0; i < list->count; ++i) {
        ScanJobEntry& entry = list->entries[i];
        std::string name = MailboxOfJob(entry);
        if (!textNames) {
            name = NumericMailbox(name);
        }
        zylDirectory* directory = FindDirectory(root, name);
        if (!directory) {
            directory = new zylDirectory(root); // owned by the root
            directory->SetName(name);
        }
        new zylImageFile(&entry, this, m_data->wrapper, directory); // owned by the directory
    }
    SortTree();
}

void Scanner::SortTree() {
    zylDirectory* const root = m_data->treeRoot.get();
    if (!root) {
        return;
    }
    for (std::uint32_t i = 0; i < root->GetCount(); ++i) {
        if (zylDirectory* const directory = root->GetDirectoryAt(i)) {
            SortEntries(*directory);
        }
    }
    SortEntries(*root);
}

bool Scanner::IsJobTreeLoaded() {
    return m_data->treeLoaded;
}

std::string Scanner::MailboxDirectoryName(const std::string& name) {
    return GetServerCapabilities()->IsStringMailboxNamesEnabled() ? name : NumericMailbox(name);
}

zylDirectory* Scanner::OpenMailbox(const std::string& name, const std::string& password) {
    if (IsMailboxMode()) {
        if (name.empty()) {
            return nullptr;
        }
        // The mailbox open now needs no reload; a different password must prove itself.
        if (m_data->treeRoot && !m_data->mailboxName.empty() && m_data->mailboxName == name &&
            m_data->mailboxPassword == password) {
            zylDirectory* const known =
                FindDirectory(m_data->treeRoot.get(), MailboxDirectoryName(name));
            return known ? known->Clone(nullptr) : nullptr;
        }
        if (!RefreshJobsInMailbox(name, password)) {
            return nullptr;
        }
        zylDirectory* const directory =
            FindDirectory(m_data->treeRoot.get(), MailboxDirectoryName(name));
        if (!directory) {
            return nullptr;
        }
        m_data->currentDirectory = m_data->treeRoot.get();
        m_data->currentImage = nullptr;
        return directory->Clone(nullptr);
    }
    if (!m_data->treeLoaded || !m_data->treeRoot) {
        RefreshJobsInMailbox(name, password);
    }
    return SelectMailbox(name, password);
}

zylDirectory* Scanner::SelectMailbox(const std::string& name, const std::string& password) {
    if (!m_data->treeLoaded || !m_data->treeRoot) {
        return nullptr;
    }
    const bool mailboxMode = IsMailboxMode();
    if (mailboxMode && name.empty()) {
        return nullptr;
    }
    zylDirectory* const directory =
        FindDirectory(m_data->treeRoot.get(), MailboxDirectoryName(name));
    if (!directory) {
        return nullptr;
    }
    if (mailboxMode && !m_data->mailboxName.empty() && m_data->mailboxName == name) {
        if (m_data->mailboxPassword != password) {
            // Its jobs were listed for the stored password: another one must prove itself.
            return OpenMailbox(name, password);
        }
        // The mailbox open now: the current image and the stored password stay.
        return directory->Clone(nullptr);
    }
    m_data->currentImage = nullptr;
    if (mailboxMode) {
        m_data->currentDirectory = m_data->treeRoot.get();
        m_data->mailboxPassword = password;
    } else {
        m_data->currentDirectory = directory;
    }
    m_data->mailboxName = name;
    return directory->Clone(nullptr);
}

void Scanner::SetCurrentDirectory(zylDirectory* directory) {
    m_data->currentDirectory = directory;
}

void Scanner::ChangeDirectory(zylDirectory* directory) {
    if (!directory) {
        return;
    }
    m_data->currentDirectory = directory;
    m_data->currentImage = directory->GetCount() > 0 ? directory->GetImageFileAt(0) : nullptr;
}

void Scanner::ChangeDirectoryByPath(const std::string& name) {
    if (!name.empty() && m_data->treeRoot) {
        ChangeDirectory(FindDirectory(m_data->treeRoot.get(), name));
    }
}

void Scanner::SetCurrentImageFile(zylImageFile* image) {
    m_data->currentImage = image;
}

void Scanner::SetCurrentImageFileFromJobID(int32_t jobId) {
    zylImageFile* const current = m_data->currentImage;
    if (current && current->GetJobID() == static_cast<std::uint32_t>(jobId)) {
        return;
    }
    if (!m_data->treeRoot) {
        return;
    }
    if (zylImageFile* const image =
            m_data->treeRoot->FindImageFileByJobID(static_cast<std::uint32_t>(jobId))) {
        m_data->currentImage = image;
        m_data->currentDirectory = image->GetParent();
    }
}

zylImageFile* Scanner::GetCurrentImageFile() {
    return m_data->currentImage;
}

bool Scanner::HasCurrentImageFile() {
    return m_data->currentImage != nullptr;
}

zylImageFile* Scanner::FindImageFileInTree(int32_t jobId) const {
    return m_data->treeRoot
               ? m_data->treeRoot->FindImageFileByJobID(static_cast<std::uint32_t>(jobId))
               : nullptr;
}

zylImageFile* Scanner::FindImageFileByJobID(int32_t jobId) {
    if (zylImageFile* const image = FindImageFileInTree(jobId)) {
        return image;
    }
    if (!RefreshJobsInMailbox(std::string(), std::string())) {
        return nullptr;
    }
    return FindImageFileInTree(jobId);
}

zylImageFile* Scanner::GetImageFileByJobID(int32_t jobId) {
    return FindImageFileByJobID(jobId);
}

int Scanner::DeleteJob(int32_t jobId) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    if (IsMailboxMode()) {
        return wrapper->ScanDeleteJobInMailbox(m_data->mailboxName, m_data->mailboxPassword, jobId);
    }
    return wrapper->ScanDeleteJob(jobId);
}

void Scanner::MailboxOf(const zylImageFile* image, std::string& mailbox, std::string& password) {
    mailbox.clear();
    password.clear();
    const zylDirectory* const parent = image ? image->GetParent() : nullptr;
    if (parent && parent->GetName() == MailboxDirectoryName(m_data->mailboxName)) {
        mailbox = m_data->mailboxName;
        password = m_data->mailboxPassword;
    }
}

ScanPageInfo* Scanner::GetPageInfo(zylImageFile* image, int32_t page) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper || !image) {
        return nullptr;
    }
    const auto jobId = static_cast<int32_t>(image->GetJobID());
    ScanPageInfo* info = nullptr;
    if (!IsMailboxMode()) {
        wrapper->ScanGetScanPageInfo(jobId, page, &info);
        return info;
    }
    std::string mailbox;
    std::string password;
    MailboxOf(image, mailbox, password);
    wrapper->ScanGetScanPageInfoInMailbox(mailbox, password, jobId, page, &info);
    return info;
}

bool Scanner::GetJobPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info,
                             bool useStoredMailbox) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper || !info) {
        return true;
    }
    if (!IsMailboxMode()) {
        return wrapper->ScanGetScanPageInfo(jobId, page, info) != 0;
    }
    const std::string mailbox = useStoredMailbox ? m_data->mailboxName : std::string();
    const std::string password = useStoredMailbox ? m_data->mailboxPassword : std::string();
    return wrapper->ScanGetScanPageInfoInMailbox(mailbox, password, jobId, page, info) != 0;
}

bool Scanner::IsJobInMailbox(const std::string& mailbox, const std::string& password,
                             int32_t jobId) {
    int32_t inMailbox = 0;
    if (m_data->wrapper) {
        m_data->wrapper->ScanIsJobInMailbox(mailbox, password, jobId, &inMailbox);
    }
    return inMailbox != 0;
}

int32_t Scanner::GetNumDevices() {
    int32_t count = 0;
    if (!m_data->wrapper || m_data->wrapper->DevGetNumDevices(&count) != 0) {
        return 0;
    }
    return count;
}

int32_t Scanner::GetNumPagesInJob(int32_t jobId) {
    int32_t count = 0;
    if (!m_data->wrapper || m_data->wrapper->ScanGetNumPagesInJob(jobId, &count) != 0) {
        return 0;
    }
    return count;
}
