#pragma once
// DG_IMAGE: one handler per data argument type, made on first use by its factory and kept.

#include "AbstractResponder.h"

#include <memory>

class AbstractDataArg;
class AbstractSource;
class DataArg_UserInterface;

class ImageResponder : public AbstractResponder {
public:
    // The transfer handlers work on this source and user-interface handler.
    ImageResponder(AbstractSource* source, DataArg_UserInterface* userInterface);
    ~ImageResponder() override;

    bool IsGroup(TW_UINT32 dg) const override;
    TW_UINT16 Respond(pTW_IDENTITY pOrigin, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF pData) override;

    // Each returns a new handler, or null while the source does not serve that type.
    virtual AbstractDataArg* CreateCieColor();
    virtual AbstractDataArg* CreateExtImageInfo();
    virtual AbstractDataArg* CreateGrayResponse();
    virtual AbstractDataArg* CreateImageFileXfer();
    virtual AbstractDataArg* CreateImageInfo();
    virtual AbstractDataArg* CreateImageLayout();
    virtual AbstractDataArg* CreateImageMemXfer();
    virtual AbstractDataArg* CreateImageNativeXfer();
    virtual AbstractDataArg* CreateJpegCompression();
    virtual AbstractDataArg* CreatePalette8();
    virtual AbstractDataArg* CreateRgbResponse();

    // Each takes the handler over; a different previous one is deleted.
    virtual void SetCieColor(AbstractDataArg* handler);
    virtual void SetExtImageInfo(AbstractDataArg* handler);
    virtual void SetGrayResponse(AbstractDataArg* handler);
    virtual void SetImageFileXfer(AbstractDataArg* handler);
    virtual void SetImageInfo(AbstractDataArg* handler);
    virtual void SetImageLayout(AbstractDataArg* handler);
    virtual void SetImageMemXfer(AbstractDataArg* handler);
    virtual void SetImageNativeXfer(AbstractDataArg* handler);
    virtual void SetJpegCompression(AbstractDataArg* handler);
    virtual void SetPalette8(AbstractDataArg* handler);
    virtual void SetRgbResponse(AbstractDataArg* handler);

    // The frame the application set through DAT_IMAGELAYOUT; false while none is held.
    bool GetLayoutFrame(double& left, double& top, double& right, double& bottom) const;

    AbstractSource* GetSource() const { return m_source; }
    DataArg_UserInterface* GetUserInterface() const { return m_userInterface; }

private:
    enum Slot {
        CieColor,
        ExtImageInfo,
        GrayResponse,
        ImageFileXfer,
        ImageInfo,
        ImageLayout,
        ImageMemXfer,
        ImageNativeXfer,
        JpegCompression,
        Palette8,
        RgbResponse,
        SlotCount
    };
    using Factory = AbstractDataArg* (ImageResponder::*)();
    void Set(Slot slot, AbstractDataArg* handler);

    std::unique_ptr<AbstractDataArg> m_handlers[SlotCount];
    AbstractSource* m_source;
    DataArg_UserInterface* m_userInterface;
};
