#include "DataArg_ImageFileXfer.h"

#include "AbstractSource.h"
#include "PageTransferRequest.h"
#include "ScanCommandIntf.h"
#include "TransferStates.h"
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
    AbstractSource& source = *GetSource();
    TransferStates::Transfer transfer(source, TWSX_FILE, __FILE__, __LINE__);
    RequireServer(__FILE__, __LINE__);
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
    // The next DAT_SETUPFILEXFER MSG_GET reports the default name again; the stored name stays.
    source.SetFileNameGiven(false);
    const bool stopped = IsStopRequested();
    if (stopped) {
        ResetTransfer();
    } else {
        EndPage();
    }
    transfer.Answered(true);
    return stopped ? TWRC_CANCEL : TWRC_XFERDONE;
}
