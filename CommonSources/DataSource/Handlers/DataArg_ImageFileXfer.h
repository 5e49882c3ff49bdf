#pragma once
// DAT_IMAGEFILEXFER MSG_GET: the current page written to the file DAT_SETUPFILEXFER named (the
// default name of the current format when none was given), in ICAP_IMAGEFILEFORMAT's format.

#include "ImageXferBase.h"

class DataArg_ImageFileXfer : public ImageXferBase {
public:
    DataArg_ImageFileXfer(AbstractSource* source, DataArg_UserInterface* userInterface);
    ~DataArg_ImageFileXfer() override;

    bool IsDat(TW_UINT16 dat) const override;
    // pData is not used.
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
};
