#pragma once
// DAT_IMAGELAYOUT: the frame the application wants scanned, kept in inches and handed in and
// out in the current ICAP_UNITS (in pixels at the current resolution). Without a frame of the
// application's the layout is the platen, or the size of the page being handed over. The
// window-less acquire turns the application's frame into a page size for the server.

#include "AbstractDataArg.h"

class AbstractSource;

class DataArg_ImageLayout : public AbstractDataArg {
public:
    // The source outlives the handler.
    explicit DataArg_ImageLayout(AbstractSource& source);
    ~DataArg_ImageLayout() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetDefault(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // Forgets that the application set a frame; pData is not used.
    TW_UINT16 MsgReset(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // Stored as given: no order or range check, in any TWAIN state.
    TW_UINT16 MsgSet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    // The last frame the application set, in inches (zero before the first); true while it
    // holds, that is until MSG_RESET.
    virtual bool GetFrame(double& left, double& top, double& right, double& bottom) const;

private:
    struct Frame {
        double left = 0.0;
        double top = 0.0;
        double right = 0.0;
        double bottom = 0.0;
    };

    // The platen, or the page's size while a page is handed over.
    Frame DefaultFrame() const;
    void Answer(const Frame& frame, TW_MEMREF pData) const;
    // The current ICAP_UNITS per inch along the axis; pixels at the current resolution.
    double UnitsPerInchOf(int axis) const;

    AbstractSource& m_source;
    Frame m_frame;
    TW_UINT32 m_documentNumber = 0;
    TW_UINT32 m_pageNumber = 0;
    TW_UINT32 m_frameNumber = 0;
    bool m_layoutSet = false;
};
