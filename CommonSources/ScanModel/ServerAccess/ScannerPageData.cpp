// Scanner: the page-transfer machine, a job's data block by block, sending a job to the
// destinations of an attribute list, saving it to disk, FTP validation and authentication ids.

#include "Scanner.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Exception.h"
#include "FileSpec.h"
#include "QuorvelWrapperException.h"
#include "QuorvelWrapperIntf.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScanServerCapabilities.h"
#include "ScannerData.h"
#include "ScannerUiIntf.h"
#include "ServerDownException.h"
#include "StringTable_rc.h"
#include "zylFile.h"
#include "zylImageFile.h"

namespace {

// One save asks for this much at a time.
constexpr int32_t kTransferBufferSize = 1048576;

// The value of a key in a list; null when absent.
const char* ValueOf(const ServerAttributeList* list, const char* key) {
    for (int32_t i = 0; list && list->keys && list->values && i < list->count; ++i) {
        if (list->keys[i] && std::strcmp(list->keys[i], key) == 0) {
            return list->values[i] ? list->values[i] : "";
        }
    }
    return nullptr;
}

// What a page read asks for, from its attribute list.
ScanCommand::PageRead AskedPage(int32_t jobId, const ServerAttributeList* attributes) {
    const auto number = [&](const char* key, int32_t absent) {
        const char* const value = ValueOf(attributes, key);
        return value ? static_cast<int32_t>(std::atoi(value)) : absent;
    };
    ScanCommand::PageRead read;
    read.jobId = jobId;
    read.page = number("PAGE", -1);
    const char* format = ValueOf(attributes, "FILE_FORMAT");
    if (!format) {
        format = ValueOf(attributes, "FORMAT");
    }
    read.format = format ? format : "";
    read.bitsPerPixel = number("BITS_PER_PIXEL", 0);
    read.width = number("WIDTH_PIXELS", 0);
    read.height = number("HEIGHT_PIXELS", 0);
    return read;
}

// The busy display runs for the length of a save, however it ends.
class BusyScope {
public:
    BusyScope(ScannerUiIntf* ui, const std::string& text) : m_ui(ui) {
        if (m_ui) {
            m_ui->StartBusyAnimation(text);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() {
        if (m_ui) {
            m_ui->StopBusyAnimation();
        }
    }

private:
    ScannerUiIntf* m_ui;
};

// A failed save tells the user and asks the application to close the source.
void ReportSaveFailure(ScannerUiIntf* ui, int stringId) {
    if (ui) {
        ui->StopBusyAnimation();
        ui->ShowErrorMessage(stringId);
        ui->NotifyCloseRequest();
    }
}

// The file of one page of a multi-page save: the page number goes before the extension
// (scan.jpg: scan2.jpg; scan: scan2).
CommonCpp::FileSpec NumberedFile(const CommonCpp::FileSpec& file, int32_t page) {
    const std::string& path = file.GetPath();
    const std::string::size_type slash = path.find_last_of("\\/");
    const std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        dot = path.size();
    }
    return CommonCpp::FileSpec(path.substr(0, dot) + std::to_string(page) + path.substr(dot));
}

} // namespace

bool Scanner::IsLocalPageReady() {
    return m_data->scanCommand && m_data->scanCommand->IsPageReady();
}

ScanCommandIntf* Scanner::GetScanCommand() {
    if (!m_data->scanCommand) {
        m_data->scanCommand = std::make_unique<ScanCommand>(this, m_data->wrapper, Handler());
    }
    return m_data->scanCommand.get();
}

void Scanner::DeleteScanCommand() {
    m_data->scanCommand.reset();
    // Nothing reads the job lists kept for it any more.
    if (m_data->wrapper) {
        for (ScanJobList* const retired : m_data->retiredJobLists) {
            m_data->wrapper->ScanFreeScanJobList(retired);
        }
    }
    m_data->retiredJobLists.clear();
}

int Scanner::DoSend(int32_t jobId, ServerAttributeList* attributes) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    // The server delivers to the destinations; nothing comes back here.
    char unused[1] = {};
    int32_t size = 0;
    if (IsMailboxMode()) {
        return wrapper->ScanGetDataInMailbox(m_data->mailboxName, m_data->mailboxPassword, jobId,
                                             attributes, 0, unused, &size);
    }
    return wrapper->ScanGetDataEx(jobId, attributes, 0, unused, &size);
}

int Scanner::GetData(int32_t jobId, ServerAttributeList* attributes, int32_t offset, void* buffer,
                     int32_t* size, zylImageFile* image) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    if (!wrapper) {
        if (size) {
            *size = 0;
        }
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    Sleep(0);
    if (!IsMailboxMode()) {
        return wrapper->ScanGetDataEx(jobId, attributes, offset, buffer, size);
    }
    std::string mailbox = m_data->mailboxName;
    std::string password = m_data->mailboxPassword;
    ScanCommand* const command = m_data->scanCommand.get();
    zylImageFile* const current = command ? command->GetImageFile() : nullptr;
    if (current && current->HasFlagBit2()) {
        mailbox.clear();
        password.clear();
    } else {
        // Looked up in the tree as it stands: a reload here would pull the tree away from
        // under a running transfer.
        const zylImageFile* const job = image ? image : FindImageFileInTree(jobId);
        if (job) {
            MailboxOf(job, mailbox, password);
        }
    }
    return wrapper->ScanGetDataInMailbox(mailbox, password, jobId, attributes, offset, buffer,
                                         size);
}

void Scanner::ReadData(int32_t jobId, ServerAttributeList* attributes, int32_t offset, void* buffer,
                       int32_t* size) {
    ScanCommand* const command = m_data->scanCommand.get();
    if (command && command->IsPageReady() &&
        command->ReadLocalPage(AskedPage(jobId, attributes), offset, buffer, size)) {
        return;
    }
    zylImageFile* const current = command ? command->GetImageFile() : nullptr;
    const bool currentJob = current && current->GetJobID() == static_cast<std::uint32_t>(jobId);
    const int result =
        GetData(jobId, attributes, offset, buffer, size, currentJob ? current : nullptr);
    if (IsServerDown()) {
        throw ServerDownException(__FILE__, __LINE__);
    }
    if (result != 0) {
        // A failed call delivers nothing, whatever size it left: its buffer is no page data.
        if (size) {
            *size = 0;
        }
        throw QuorvelWrapperException(__FILE__, __LINE__, result);
    }
}

bool Scanner::SaveASCanJobToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                                 const std::string& format, int32_t page, zylImageFile* image) {
    ScanAttributeWrapper request(m_data->wrapper, nullptr);
    const int destination = request.AddCallerDestination();
    request.SetDestinationPage(destination, std::to_string(page));
    request.SetDestinationFormat(destination, format);

    std::vector<char> buffer(kTransferBufferSize);
    CommonCpp::zylFile out(file,
                           CommonCpp::zylFile::ModeWriteOnly | CommonCpp::zylFile::ModeBinary);
    ServerAttributeList* const list = request.GetServerList();
    ScannerUiIntf* const ui = Handler();
    int32_t offset = 0;
    bool written = false;
    try {
        for (;;) {
            int32_t size = kTransferBufferSize;
            const int result = GetData(jobId, list, offset, buffer.data(), &size, image);
            if (ui) {
                ui->PumpMessages();
                if (ui->IsAcquireActive()) {
                    ui->NotifyCloseRequest();
                    return false;
                }
            }
            if (result == QUORVEL_CONNECTION_FAILED) {
                ReportSaveFailure(ui, IDS_RESULT_CONNECTION_FAILED);
                return false;
            }
            if (ui) {
                ui->NotifyAcquireDialog();
            }
            if (result == QUORVEL_TIMEOUT) {
                continue;
            }
            if (result != 0) {
                throw QuorvelWrapperException(__FILE__, __LINE__, result);
            }
            size = std::min(std::max(size, 0), kTransferBufferSize);
            if (size > 0) {
                out.Write(buffer.data(), static_cast<std::uint32_t>(size));
                offset += size;
                written = true;
            }
            if (ui) {
                ui->NotifyAcquireDialog();
            }
            if (size == 0) {
                break;
            }
        }
    } catch (QuorvelWrapperException& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        if (e.GetResultCode() == QUORVEL_SCAN_DEST_FAILED) {
            ReportSaveFailure(ui, IDS_SCAN_DEST_FAILED);
        } else if (e.GetResultCode() == QUORVEL_CONNECTION_FAILED) {
            ReportSaveFailure(ui, IDS_RESULT_CONNECTION_FAILED);
        }
        throw;
    }
    if (!written) {
        throw CommonCpp::Exception(__FILE__, __LINE__);
    }
    out.Close();
    return true;
}

void Scanner::ProcessSaveToDisk(int32_t jobId, const CommonCpp::FileSpec& file,
                                const std::string& format, int32_t page) {
    if (page == -1) {
        page = 0;
    }
    const BusyScope busy(Handler(), ResourceLoader::Instance()->LoadString(IDS_SAVING_TO_DISK));
    if (format == "TIFF") {
        SaveJobToDisk(jobId, file, page);
    } else if (format == "JPEG") {
        ProcessSaveJpegToDisk(jobId, file, page);
    } else {
        ProcessSavePdfToDisk(jobId, file, page);
    }
}

void Scanner::SaveJobToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page) {
    SaveASCanJobToDisk(jobId, file, "TIFF", page, nullptr);
}

void Scanner::ProcessSavePdfToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page) {
    SaveASCanJobToDisk(jobId, file, "PDF", page, nullptr);
}

void Scanner::SaveJpegPageToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page) {
    ScannerUiIntf* const ui = Handler();
    if (ui && ui->IsAcquireActive()) {
        return;
    }
    SaveASCanJobToDisk(jobId, file, "JPEG", page, nullptr);
}

void Scanner::ProcessSaveJpegToDisk(int32_t jobId, const CommonCpp::FileSpec& file, int32_t page) {
    zylImageFile* const image = FindImageFileByJobID(jobId);
    if (!image) {
        throw QuorvelWrapperException(__FILE__, __LINE__, QUORVEL_JOB_NOT_FOUND);
    }
    const int32_t pages = image->GetNumPages();
    if (page >= 1) {
        SaveJpegPageToDisk(jobId, file, page);
        return;
    }
    if (pages <= 1) {
        SaveJpegPageToDisk(jobId, file, 1);
        return;
    }
    ScannerUiIntf* const ui = Handler();
    for (int32_t p = 1; p <= pages; ++p) {
        if (ui && ui->IsAcquireActive()) {
            break;
        }
        SaveJpegPageToDisk(jobId, NumberedFile(file, p), p);
    }
}

int Scanner::ValidateFtpDestination(const std::string& server, const std::string& port,
                                    const std::string& user, const std::string& password,
                                    const std::string& directory, const std::string& proxyServer,
                                    const std::string& proxyPort, const std::string& proxyUser,
                                    const std::string& proxyPassword) {
    if (!m_data->wrapper) {
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    return m_data->wrapper->SftpValidate(server, port, user, password, directory, proxyServer,
                                         proxyPort, proxyUser, proxyPassword);
}

bool Scanner::GetAuthID(const std::string& userName, std::string& id) {
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    std::string user = userName;
    std::string domain;
    const std::string::size_type backslash = userName.find('\\');
    const bool domainRequest = backslash != std::string::npos;
    if (domainRequest) {
        domain = userName.substr(0, backslash);
        user = userName.substr(backslash + 1);
    }
    std::string serverId;
    const int result = wrapper ? wrapper->AuthGetAuthIDEx(user, domain, domainRequest, serverId)
                               : static_cast<int>(QUORVEL_FUNCTION_NOT_AVAILABLE);
    id = domainRequest && result == 0 ? serverId : userName;
    if (wrapper && GetServerCapabilities()->IsUtf8MailboxEnabled()) {
        std::string decoded;
        if (wrapper->LoclDecodeString(ResourceLoader::Instance()->GetLanguageCode(), id, decoded) ==
            0) {
            id = decoded;
        }
    }
    return true;
}
