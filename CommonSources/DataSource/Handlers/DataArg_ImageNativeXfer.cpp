#include "DataArg_ImageNativeXfer.h"

#include "AbstractSource.h"
#include "PageTransferRequest.h"
#include "ScanCommandIntf.h"
#include "TransferStates.h"
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
    TransferStates::Transfer transfer(*GetSource(), TWSX_NATIVE, __FILE__, __LINE__);
    RequireServer(__FILE__, __LINE__);
    const ImageAttributes attributes = GetImageAttributes();
    // A handle is as wide as a pointer: the application's TW_HANDLE takes all of it.
    auto* const handle = static_cast<HGLOBAL*>(pData);
    *handle = nullptr;
    Command().TransferNative(MakeRequest(attributes), handle);
    if (IsStopRequested() || *handle == nullptr) {
        if (*handle != nullptr) {
            GlobalFree(*handle);
            *handle = nullptr;
        }
        ResetTransfer();
        transfer.Answered(true);
        return TWRC_CANCEL;
    }
    EndPage();
    transfer.Answered(true);
    return TWRC_XFERDONE;
}
