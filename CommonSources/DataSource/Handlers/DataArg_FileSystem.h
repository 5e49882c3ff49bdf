#pragma once
// DAT_FILESYSTEM: the jobs on the server are not offered as a TWAIN file system, so every
// file-system message is refused with TWCC_DENIED. For the rest of the source it tells what the
// page being handed to the application is: its file's name, resolution, size and pixel format.
// Each getter leaves its outputs alone while there is no such page.

#include "AbstractDataArg.h"

#include <string>

class AbstractSource;
class zylImageFile;

class DataArg_FileSystem : public AbstractDataArg {
public:
    // The source outlives the handler; it owns it.
    explicit DataArg_FileSystem(AbstractSource& source);
    ~DataArg_FileSystem() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgChangeDirectory(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgCreateDirectory(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgDelete(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgFormatMedia(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetClose(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetFirstFile(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetInfo(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetNextFile(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgRename(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    // Empty without a page.
    virtual std::string GetCurrentFileName();
    // Dots per inch.
    virtual void GetCurrentFileResolution(TW_FIX32* x, TW_FIX32* y);
    // Pixels of the page.
    virtual void GetCurrentFileSize(TW_UINT32* width, TW_UINT32* length);
    virtual void GetCurrentFilePixelFormat(TW_UINT16* samplesPerPixel, TW_UINT16 bitsPerSample[8],
                                           TW_UINT16* bitsPerPixel);

private:
    zylImageFile* CurrentFile();

    AbstractSource& m_source;
};
