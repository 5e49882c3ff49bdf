// AbstractSource: the set-up of the image transfers (file name, its default by format, the
// name-given flag and the strip in progress of a memory transfer).

#include "AbstractSource.h"

#include <string>

std::string AbstractSource::GetDefaultTransferFileName() {
    switch (GetImageFileFormatCurrent()) {
    case TWFF_TIFF:
    case TWFF_TIFFMULTI:
        return "image.tif";
    case TWFF_BMP:
        return "image.bmp";
    case TWFF_XBM:
        return "image.xbm";
    case TWFF_JFIF:
        return "image.jpg";
    case TWFF_FPX:
        return "image.fpx";
    case TWFF_PNG:
        return "image.png";
    case TWFF_SPIFF:
        return "image.spi";
    case TWFF_EXIF:
        return "image.exi";
    default:
        return "image.pic";
    }
}

void AbstractSource::ResetFileTransferSetup() {
    m_state->imageFileFormat.Reset();
    m_state->transferFileName = GetDefaultTransferFileName();
}

void AbstractSource::SetTransferFileName(const std::string& name) {
    m_state->transferFileName = name;
}

void AbstractSource::SetFileNameGiven(bool given) {
    m_state->fileNameGiven = given;
}

bool AbstractSource::IsFileNameGiven() {
    return m_state->fileNameGiven;
}

bool AbstractSource::IsMemoryTransferActive() {
    return m_state->memoryTransferActive;
}

void AbstractSource::SetMemoryTransferActive(bool active) {
    m_state->memoryTransferActive = active;
}
