#pragma once
// DAT_IMAGEMEMXFER MSG_GET: the current page in strips, one per call, into the application's
// buffer (a pointer, or a global handle the application keeps). Every strip but the last
// answers TWRC_SUCCESS, the last TWRC_XFERDONE.

#include "ImageXferBase.h"

class DataArg_ImageMemXfer : public ImageXferBase {
public:
    DataArg_ImageMemXfer(AbstractSource* source, DataArg_UserInterface* userInterface);
    ~DataArg_ImageMemXfer() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

private:
    TW_UINT16 TransferStrip(TW_IMAGEMEMXFER* record);
};
