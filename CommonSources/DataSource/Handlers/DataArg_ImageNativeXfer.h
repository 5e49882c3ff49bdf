#pragma once
// DAT_IMAGENATIVEXFER MSG_GET: the current page as a device-independent bitmap in a new
// global block, whose handle goes into the application's TW_HANDLE and becomes its to free.

#include "ImageXferBase.h"

class DataArg_ImageNativeXfer : public ImageXferBase {
public:
    DataArg_ImageNativeXfer(AbstractSource* source, DataArg_UserInterface* userInterface);
    ~DataArg_ImageNativeXfer() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
};
