#include "DataArg_ImageFileXfer.h"

#include "AbstractSource.h"
#include "PageTransferRequest.h"
#include "ScanCommandIntf.h"
#include "TwainException.h"

#include <string>

DataArg_ImageFileXfer::DataArg_ImageFileXfer(AbstractSource* source,
                                             DataArg_UserInterface* userInterface)
    : ImageXferBase(source, userInterface) {}

DataArg_ImageFileXfer::~DataArg_ImageFileXfer() = default;

bool DataArg_ImageFileXfer::IsDat(TW_UINT16 dat) const {
    return dat == DAT_IMAGEFILEXFER;
}

TW_UINT16 DataArg_ImageFileXfer::MsgGet(pTW_IDENTITY, TW_MEMREF) {
    EnsureTransferMechanism(TWSX_FILE);
    RequirePageReady(__FILE__, __LINE__);
    AbstractSource& source = *GetSource();
    source.SetMemoryTransferActive(false);
    source.SetState(7);
    try {
        const ImageAttributes attributes = GetImageAttributes();
        if (attributes.FileFormat == TWFF_PICT) {
            throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
        }
        std::string name = source.GetTransferFileName();
        if (name.empty()) {
            name = source.GetDefaultTransferFileName();
        }
        PageTransferRequest request = MakeRequest(attributes);
        request.fileName = name;
        Command().TransferFile(request);
    } catch (...) {
        source.SetState(6);
        throw;
    }
    // The next DAT_SETUPFILEXFER MSG_GET reports the default name again; the stored name stays.
    source.SetFileNameGiven(false);
    if (IsStopRequested()) {
        ResetTransfer();
        return TWRC_CANCEL;
    }
    EndPage();
    return TWRC_XFERDONE;
}
