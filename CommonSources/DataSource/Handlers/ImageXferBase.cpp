#include "ImageXferBase.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "PageTransferRequest.h"
#include "ScanCommandIntf.h"
#include "Scanner.h"
#include "ServerDownException.h"
#include "TwainException.h"

#include <exception>

ImageXferBase::ImageXferBase(AbstractSource* source, DataArg_UserInterface* userInterface)
    : m_source(source), m_userInterface(userInterface) {}

ImageXferBase::~ImageXferBase() = default;

void ImageXferBase::EnsureTransferMechanism(TW_UINT16 mechanism) {
    try {
        if (m_source->GetTransferMechanismCurrent() != mechanism) {
            m_source->SetTransferMechanismCurrent(mechanism);
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
}

ImageAttributes ImageXferBase::GetImageAttributes() {
    ImageAttributes attributes;
    // In dots per inch whatever the application's units; read without switching ICAP_UNITS,
    // which would store the units for the application at every strip.
    attributes.XResolution = m_source->GetResolutionDpi(DataArg_Resolution::kAxisX);
    attributes.YResolution = m_source->GetResolutionDpi(DataArg_Resolution::kAxisY);
    attributes.BitDepth = m_source->GetBitDepthCurrent();
    attributes.PixelType = m_source->GetPixelTypeCurrent();
    attributes.Compression = m_source->GetCompressionCurrent();
    attributes.FileFormat = m_source->GetImageFileFormatCurrent();
    return attributes;
}

void ImageXferBase::ResetTransfer() {
    EndProgress();
    Command().Reset();
    if (m_userInterface != nullptr) {
        m_userInterface->ClearCloseRequest();
    }
}

void ImageXferBase::EndPage() {
    Command().EndPage();
}

AbstractSource* ImageXferBase::GetSource() {
    return m_source;
}

DataArg_UserInterface* ImageXferBase::GetUserInterface() {
    return m_userInterface;
}

ScanCommandIntf& ImageXferBase::Command() {
    return *m_source->GetScanner()->GetScanCommand();
}

PageTransferRequest ImageXferBase::MakeRequest(const ImageAttributes& attributes) {
    PageTransferRequest request;
    request.ui = m_userInterface;
    request.xResolution = attributes.XResolution;
    request.yResolution = attributes.YResolution;
    request.bitsPerPixel = static_cast<std::int16_t>(attributes.BitDepth);
    request.pixelType = attributes.PixelType;
    request.compression = attributes.Compression;
    request.fileFormat = static_cast<std::int16_t>(attributes.FileFormat);
    return request;
}

bool ImageXferBase::IsStopRequested() {
    return m_userInterface != nullptr && m_userInterface->IsCloseRequested();
}

void ImageXferBase::EndProgress() {
    if (m_userInterface != nullptr) {
        m_userInterface->EndProgress();
    }
}

void ImageXferBase::RequireServer(const char* file, int line) {
    // A page described by a server that is gone would fail as a bad value, not as a lost
    // device.
    if (m_source->GetScanner()->IsServerDown()) {
        throw ServerDownException(file, line);
    }
}
