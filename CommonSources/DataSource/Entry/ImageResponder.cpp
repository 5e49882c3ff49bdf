#include "ImageResponder.h"

#include "AbstractDataArg.h"
#include "DataArg_CieColor.h"
#include "DataArg_ExtImageInfo.h"
#include "DataArg_GrayResponse.h"
#include "DataArg_ImageFileXfer.h"
#include "DataArg_ImageInfo.h"
#include "DataArg_ImageLayout.h"
#include "DataArg_ImageMemXfer.h"
#include "DataArg_ImageNativeXfer.h"
#include "DataArg_JpegCompression.h"
#include "DataArg_Palette8.h"
#include "DataArg_RgbResponse.h"

ImageResponder::ImageResponder(AbstractSource* source, DataArg_UserInterface* userInterface)
    : m_source(source), m_userInterface(userInterface) {}

ImageResponder::~ImageResponder() = default;

bool ImageResponder::IsGroup(TW_UINT32 dg) const {
    return dg == DG_IMAGE;
}

TW_UINT16 ImageResponder::Respond(pTW_IDENTITY pOrigin, TW_UINT16 dat, TW_UINT16 msg,
                                  TW_MEMREF pData) {
    static const struct {
        TW_UINT16 dat;
        Slot slot;
        Factory factory;
    } kRoutes[] = {
        {DAT_IMAGEINFO, ImageInfo, &ImageResponder::CreateImageInfo},
        {DAT_IMAGELAYOUT, ImageLayout, &ImageResponder::CreateImageLayout},
        {DAT_IMAGEMEMXFER, ImageMemXfer, &ImageResponder::CreateImageMemXfer},
        {DAT_IMAGENATIVEXFER, ImageNativeXfer, &ImageResponder::CreateImageNativeXfer},
        {DAT_IMAGEFILEXFER, ImageFileXfer, &ImageResponder::CreateImageFileXfer},
        {DAT_CIECOLOR, CieColor, &ImageResponder::CreateCieColor},
        {DAT_GRAYRESPONSE, GrayResponse, &ImageResponder::CreateGrayResponse},
        {DAT_RGBRESPONSE, RgbResponse, &ImageResponder::CreateRgbResponse},
        {DAT_JPEGCOMPRESSION, JpegCompression, &ImageResponder::CreateJpegCompression},
        {DAT_PALETTE8, Palette8, &ImageResponder::CreatePalette8},
        {DAT_EXTIMAGEINFO, ExtImageInfo, &ImageResponder::CreateExtImageInfo},
    };
    for (const auto& route : kRoutes) {
        if (route.dat != dat) {
            continue;
        }
        std::unique_ptr<AbstractDataArg>& handler = m_handlers[route.slot];
        if (!handler) {
            handler.reset((this->*route.factory)());
        }
        if (!handler) {
            break;
        }
        return handler->Dispatch(pOrigin, msg, pData);
    }
    return AbstractResponder::Respond(pOrigin, dat, msg, pData);
}

AbstractDataArg* ImageResponder::CreateCieColor() {
    return new DataArg_CieColor();
}

AbstractDataArg* ImageResponder::CreateExtImageInfo() {
    return new DataArg_ExtImageInfo();
}

AbstractDataArg* ImageResponder::CreateGrayResponse() {
    return new DataArg_GrayResponse();
}

AbstractDataArg* ImageResponder::CreateImageFileXfer() {
    return new DataArg_ImageFileXfer(m_source, m_userInterface);
}

AbstractDataArg* ImageResponder::CreateImageInfo() {
    return new DataArg_ImageInfo(*m_source);
}

AbstractDataArg* ImageResponder::CreateImageLayout() {
    return new DataArg_ImageLayout(*m_source);
}

AbstractDataArg* ImageResponder::CreateImageMemXfer() {
    return new DataArg_ImageMemXfer(m_source, m_userInterface);
}

AbstractDataArg* ImageResponder::CreateImageNativeXfer() {
    return new DataArg_ImageNativeXfer(m_source, m_userInterface);
}

AbstractDataArg* ImageResponder::CreateJpegCompression() {
    return new DataArg_JpegCompression();
}

AbstractDataArg* ImageResponder::CreatePalette8() {
    return new DataArg_Palette8();
}

AbstractDataArg* ImageResponder::CreateRgbResponse() {
    return new DataArg_RgbResponse();
}

void ImageResponder::Set(Slot slot, AbstractDataArg* handler) {
    if (m_handlers[slot].get() != handler) {
        m_handlers[slot].reset(handler);
    }
}

void ImageResponder::SetCieColor(AbstractDataArg* handler) {
    Set(CieColor, handler);
}
void ImageResponder::SetExtImageInfo(AbstractDataArg* handler) {
    Set(ExtImageInfo, handler);
}
void ImageResponder::SetGrayResponse(AbstractDataArg* handler) {
    Set(GrayResponse, handler);
}
void ImageResponder::SetImageFileXfer(AbstractDataArg* handler) {
    Set(ImageFileXfer, handler);
}
void ImageResponder::SetImageInfo(AbstractDataArg* handler) {
    Set(ImageInfo, handler);
}
void ImageResponder::SetImageLayout(AbstractDataArg* handler) {
    Set(ImageLayout, handler);
}
void ImageResponder::SetImageMemXfer(AbstractDataArg* handler) {
    Set(ImageMemXfer, handler);
}
void ImageResponder::SetImageNativeXfer(AbstractDataArg* handler) {
    Set(ImageNativeXfer, handler);
}
void ImageResponder::SetJpegCompression(AbstractDataArg* handler) {
    Set(JpegCompression, handler);
}
void ImageResponder::SetPalette8(AbstractDataArg* handler) {
    Set(Palette8, handler);
}
void ImageResponder::SetRgbResponse(AbstractDataArg* handler) {
    Set(RgbResponse, handler);
}

bool ImageResponder::GetLayoutFrame(double& left, double& top, double& right,
                                    double& bottom) const {
    const auto* layout = dynamic_cast<const DataArg_ImageLayout*>(m_handlers[ImageLayout].get());
    return layout != nullptr && layout->GetFrame(left, top, right, bottom);
}
