#include "DataArg_ImageNativeXfer.h"

#include "AbstractSource.h"
#include "PageTransferRequest.h"
#include "ScanCommandIntf.h"
#include "TwainException.h"

#include <windows.h>

DataArg_ImageNativeXfer::DataArg_ImageNativeXfer(AbstractSource* source,
                                                 DataArg_UserInterface* userInterface)
    : ImageXferBase(source, userInterface) {}

DataArg_ImageNativeXfer::~DataArg_ImageNativeXfer() = default;

bool DataArg_ImageNativeXfer::IsDat(TW_UINT16 dat) const {
    return dat == DAT_IMAGENATIVEXFER;
}

TW_UINT16 DataArg_ImageNativeXfer::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    EnsureTransferMechanism(TWSX_NATIVE);
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    RequirePageReady(__FILE__, __LINE__);
    AbstractSource& source = *GetSource();
    source.SetMemoryTransferActive(false);
    const ImageAttributes attributes = GetImageAttributes();
    // A handle is as wide as a pointer: the application's TW_HANDLE takes all of it.
    auto* const handle = static_cast<HGLOBAL*>(pData);
    *handle = nullptr;
    source.SetState(7);
    try {
        Command().TransferNative(MakeRequest(attributes), handle);
    } catch (...) {
        source.SetState(6);
        throw;
    }
    if (IsStopRequested() || *handle == nullptr) {
        if (*handle != nullptr) {
            GlobalFree(*handle);
            *handle = nullptr;
        }
        ResetTransfer();
        return TWRC_CANCEL;
    }
    EndPage();
    return TWRC_XFERDONE;
}
