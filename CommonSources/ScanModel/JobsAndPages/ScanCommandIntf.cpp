#include "ScanCommandIntf.h"

#include "zylImageFile.h"

ScanCommandIntf::~ScanCommandIntf() = default;

bool ScanCommandIntf::IsPageReady() {
    return false;
}

bool ScanCommandIntf::StartPage(std::int32_t) {
    return false;
}

bool ScanCommandIntf::NextPage() {
    return false;
}

std::FILE* ScanCommandIntf::GetPageFile() {
    return nullptr;
}

void ScanCommandIntf::Reset() {}

void ScanCommandIntf::ReadData(void*, std::int32_t* size) {
    if (size) {
        *size = 0;
    }
}

void ScanCommandIntf::SetSaveRequest(std::int32_t) {}
void ScanCommandIntf::SelectJpegConversion() {}
void ScanCommandIntf::SelectTiffConversion() {}
void ScanCommandIntf::MakePageFileNames() {}

bool ScanCommandIntf::DownloadPage(std::int32_t) {
    return false;
}

void ScanCommandIntf::ConvertJpegPage() {}
void ScanCommandIntf::ConvertTiffPage() {}

bool ScanCommandIntf::HasMorePages() {
    return false;
}

void ScanCommandIntf::TransferNative(const PageTransferRequest&, HGLOBAL*) {}

void ScanCommandIntf::TransferFile(const PageTransferRequest&) {}

void ScanCommandIntf::TransferMemory(const PageTransferRequest&, MemoryTransferResult&) {}

void ScanCommandIntf::ResetTransfer() {}
void ScanCommandIntf::EndPage() {}
void ScanCommandIntf::AttachImageFile(zylImageFile*) {}

std::int16_t ScanCommandIntf::GetPagesLeft() {
    return 0;
}

zylImageFile* ScanCommandIntf::GetImageFile() {
    return nullptr;
}

bool ScanCommandIntf::HasImageFile() {
    return false;
}

void ScanCommandIntf::PushPending(zylImageFile* image) {
    delete image;
}
void ScanCommandIntf::DeletePending() {}

std::int32_t ScanCommandIntf::GetLastPage() {
    return 0;
}

void ScanCommandIntf::SetLastPage(std::int32_t) {}

ScanCommandIntf::JobPages ScanCommandIntf::BeginJob(zylImageFile* job) {
    Reset();
    AttachImageFile(job);
    const std::int32_t start = job->GetStartPage();
    if (start == -1) {
        return {1, job->GetNumPages()};
    }
    return {start, 1};
}
