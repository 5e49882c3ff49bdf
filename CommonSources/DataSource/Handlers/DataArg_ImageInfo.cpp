#include "DataArg_ImageInfo.h"

#include "AbstractSource.h"
#include "DataArg_FileSystem.h"
#include "TW_Fix32.h"
#include "TwainException.h"

DataArg_ImageInfo::DataArg_ImageInfo(AbstractSource& source) : m_source(source) {}

DataArg_ImageInfo::~DataArg_ImageInfo() = default;

bool DataArg_ImageInfo::IsDat(TW_UINT16 dat) const {
    return dat == DAT_IMAGEINFO;
}

TW_UINT16 DataArg_ImageInfo::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    TW_IMAGEINFO info = {};
    info.XResolution = CommonTwain::DoubleToFix32(m_source.GetXResolutionCurrent());
    info.YResolution = CommonTwain::DoubleToFix32(m_source.GetYResolutionCurrent());

    // Unknown until a page is there.
    TW_UINT32 width = static_cast<TW_UINT32>(-1);
    TW_UINT32 length = static_cast<TW_UINT32>(-1);
    TW_UINT16 samplesPerPixel = 1;
    TW_UINT16 bitsPerSample[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    TW_UINT16 bitsPerPixel = 1;
    if (DataArg_FileSystem* fileSystem = AbstractSource::GetFileSystemHandler()) {
        fileSystem->GetCurrentFileSize(&width, &length);
        fileSystem->GetCurrentFilePixelFormat(&samplesPerPixel, bitsPerSample, &bitsPerPixel);
    }
    info.ImageWidth = static_cast<TW_INT32>(width);
    info.ImageLength = static_cast<TW_INT32>(length);
    info.SamplesPerPixel = static_cast<TW_INT16>(samplesPerPixel);
    for (int i = 0; i < 8; ++i) {
        info.BitsPerSample[i] = static_cast<TW_INT16>(bitsPerSample[i]);
    }
    info.BitsPerPixel = static_cast<TW_INT16>(bitsPerPixel);
    info.Planar = m_source.GetPlanarChunkyCurrent();
    info.PixelType = static_cast<TW_INT16>(m_source.GetPixelTypeCurrent());
    info.Compression = m_source.GetCompressionCurrent();
    // Written only once complete: a failure above leaves the application's record alone.
    *static_cast<pTW_IMAGEINFO>(pData) = info;
    return TWRC_SUCCESS;
}
