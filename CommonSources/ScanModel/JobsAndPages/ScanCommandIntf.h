#pragma once
// The page-transfer machine of one job, as the acquire paths and the TWAIN transfer handlers
// see it. The defaults do nothing and answer false, 0 or null.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "PageTransferRequest.h"

class ScannerUiIntf;
class zylImageFile;

class ScanCommandIntf {
public:
    ScanCommandIntf() = default;
    ScanCommandIntf(const ScanCommandIntf&) = delete;
    ScanCommandIntf& operator=(const ScanCommandIntf&) = delete;
    virtual ~ScanCommandIntf();

    // A local page file is prepared.
    virtual bool IsPageReady();
    // Downloads the page (1-based) and converts it into the local page file; true when ready,
    // also without a download when no transfer the application set up would read the file.
    virtual bool StartPage(std::int32_t page);
    virtual bool NextPage();
    // The open page file, or null.
    virtual std::FILE* GetPageFile();
    virtual void Reset();
    // The next bytes of the page file; size in: bytes asked, out: bytes delivered (0 at the end).
    virtual void ReadData(void* buffer, std::int32_t* size);
    virtual void SetSaveRequest(std::int32_t jobId);
    virtual void SelectJpegConversion();
    virtual void SelectTiffConversion();
    virtual void MakePageFileNames();
    virtual bool DownloadPage(std::int32_t page);
    virtual void ConvertJpegPage();
    virtual void ConvertTiffPage();
    virtual bool HasMorePages();

    // The TWAIN transfers of the current page, forwarded to the current image.
    virtual void TransferNative(const PageTransferRequest& request, HGLOBAL* handle);
    virtual void TransferFile(const PageTransferRequest& request);
    virtual void TransferMemory(const PageTransferRequest& request, MemoryTransferResult& result);
    virtual void ResetTransfer();
    virtual void EndPage();
    virtual void AttachImageFile(zylImageFile* image);
    virtual std::int16_t GetPagesLeft();
    virtual zylImageFile* GetImageFile();
    virtual bool HasImageFile();
    // Takes ownership of the image; the default drops it at once.
    virtual void PushPending(zylImageFile* image);
    virtual void DeletePending();
    virtual std::int32_t GetLastPage();
    virtual void SetLastPage(std::int32_t page);

    // The pages of a job to hand over: from its start page, or all of them from page 1.
    struct JobPages {
        std::int32_t first;
        std::int32_t count;
    };
    // Resets the machine and attaches the job.
    JobPages BeginJob(zylImageFile* job);
};
