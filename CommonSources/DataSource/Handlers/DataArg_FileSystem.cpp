#include "DataArg_FileSystem.h"

#include "AbstractSource.h"
#include "TwainException.h"
#include "zylImageFile.h"

namespace {

// Whatever the message carries and whatever the state: the file system is not offered.
TW_UINT16 Denied(const char* file, int line) {
    throw TwainException(file, line, TWCC_DENIED);
}

} // namespace

DataArg_FileSystem::DataArg_FileSystem(AbstractSource& source) : m_source(source) {}

DataArg_FileSystem::~DataArg_FileSystem() = default;

bool DataArg_FileSystem::IsDat(TW_UINT16 dat) const {
    return dat == DAT_FILESYSTEM;
}

TW_UINT16 DataArg_FileSystem::MsgChangeDirectory(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgGetInfo(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgGetFirstFile(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgGetNextFile(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgGetClose(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgCreateDirectory(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgDelete(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgFormatMedia(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

TW_UINT16 DataArg_FileSystem::MsgRename(pTW_IDENTITY, TW_MEMREF) {
    return Denied(__FILE__, __LINE__);
}

zylImageFile* DataArg_FileSystem::CurrentFile() {
    return m_source.GetCurrentPageImage();
}

std::string DataArg_FileSystem::GetCurrentFileName() {
    zylImageFile* const file = CurrentFile();
    return file != nullptr ? file->GetName() : std::string();
}

void DataArg_FileSystem::GetCurrentFileResolution(TW_FIX32* x, TW_FIX32* y) {
    if (zylImageFile* const file = CurrentFile()) {
        *x = file->GetXResolution();
        *y = file->GetYResolution();
    }
}

void DataArg_FileSystem::GetCurrentFileSize(TW_UINT32* width, TW_UINT32* length) {
    if (zylImageFile* const file = CurrentFile()) {
        *width = static_cast<TW_UINT32>(file->GetImageWidth());
        *length = static_cast<TW_UINT32>(file->GetImageLength());
    }
}

void DataArg_FileSystem::GetCurrentFilePixelFormat(TW_UINT16* samplesPerPixel,
                                                   TW_UINT16 bitsPerSample[8],
                                                   TW_UINT16* bitsPerPixel) {
    if (zylImageFile* const file = CurrentFile()) {
        *samplesPerPixel = file->GetSamplesPerPixel();
        for (int i = 0; i < 8; ++i) {
            bitsPerSample[i] = static_cast<TW_UINT16>(file->GetBitsPerSample(i));
        }
        *bitsPerPixel = file->GetBitsPerPixel();
    }
}
