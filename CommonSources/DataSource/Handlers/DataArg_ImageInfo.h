#pragma once
// DAT_IMAGEINFO: what the next page is, from the negotiated values; while a page is handed
// over, its size and pixel format. Without a page the size is unknown (-1) and the pixels one
// sample of one bit.

#include "AbstractDataArg.h"

class AbstractSource;

class DataArg_ImageInfo : public AbstractDataArg {
public:
    // The source outlives the handler.
    explicit DataArg_ImageInfo(AbstractSource& source);
    ~DataArg_ImageInfo() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

private:
    AbstractSource& m_source;
};
