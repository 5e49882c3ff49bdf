#include "DataArg_ImageMemXfer.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "PageTransferRequest.h"
#include "SafeHandle.h"
#include "ScanCommandIntf.h"
#include "TwainException.h"

#include <exception>
#include <memory>

DataArg_ImageMemXfer::DataArg_ImageMemXfer(AbstractSource* source,
                                           DataArg_UserInterface* userInterface)
    : ImageXferBase(source, userInterface) {}

DataArg_ImageMemXfer::~DataArg_ImageMemXfer() = default;

bool DataArg_ImageMemXfer::IsDat(TW_UINT16 dat) const {
    return dat == DAT_IMAGEMEMXFER;
}

TW_UINT16 DataArg_ImageMemXfer::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    AbstractSource& source = *GetSource();
    const TW_UINT16 entryState = source.GetState();
    try {
        return TransferStrip(static_cast<TW_IMAGEMEMXFER*>(pData));
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        EndProgress();
        // A failed strip leaves the state it found: 6 before the page's first strip, 7 within.
        if (source.GetState() != entryState) {
            source.SetState(entryState);
        }
        if (entryState != 7) {
            source.SetMemoryTransferActive(false);
        }
        throw;
    }
}

TW_UINT16 DataArg_ImageMemXfer::TransferStrip(TW_IMAGEMEMXFER* record) {
    if (record == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    TW_IMAGEMEMXFER& transfer = *record;
    EnsureTransferMechanism(TWSX_MEMORY);
    AbstractSource& source = *GetSource();
    const TW_UINT32 length = transfer.Memory.Length;
    if (length < source.GetMinBufferSize() || length > source.GetMaxBufferSize()) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    // Strips of one page follow each other in state 7; a page starts in state 6. Without a
    // page pending there is nothing to deliver, and success would hand over stale fields.
    const TW_UINT16 state = source.GetState();
    const bool withinPage = state == 7 && source.IsMemoryTransferActive();
    if ((state != 6 && !withinPage) || source.GetPendingTransferCount() == 0 ||
        !Command().HasMorePages()) {
        throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
    }
    RequireServer(__FILE__, __LINE__);
    const ImageAttributes attributes = GetImageAttributes();
    transfer.Compression = attributes.Compression;
    transfer.XOffset = 0;
    transfer.YOffset = 0;

    // A handle stays the application's: it is locked for the strip and never freed here.
    std::unique_ptr<CommonCpp::SafeHandle> block;
    std::unique_ptr<CommonCpp::HandleLocker> locked;
    void* buffer = nullptr;
    if ((transfer.Memory.Flags & TWMF_POINTER) != 0) {
        buffer = transfer.Memory.TheMem;
    } else if ((transfer.Memory.Flags & TWMF_HANDLE) != 0) {
        block = std::make_unique<CommonCpp::SafeHandle>(
            static_cast<HGLOBAL>(transfer.Memory.TheMem), 1);
        locked = std::make_unique<CommonCpp::HandleLocker>(*block);
        buffer = locked->GetPointer();
    } else {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    if (buffer == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }

    PageTransferRequest request = MakeRequest(attributes);
    request.buffer = buffer;
    request.bufferLength = length;
    MemoryTransferResult result;
    source.SetState(7);
    source.SetMemoryTransferActive(true);
    Command().TransferMemory(request, result);
    locked.reset();
    transfer.BytesWritten = result.bytesWritten;
    transfer.BytesPerRow = result.bytesPerRow;
    transfer.Columns = result.columns;
    transfer.Rows = result.rows;
    transfer.XOffset = result.xOffset;
    transfer.YOffset = result.yOffset;

    if (result.stopped || IsStopRequested()) {
        source.SetMemoryTransferActive(false);
        ResetTransfer();
        return TWRC_CANCEL;
    }
    if (result.lastBlock) {
        source.SetMemoryTransferActive(false);
        Command().ResetTransfer();
        EndProgress();
        EndPage();
        return TWRC_XFERDONE;
    }
    return TWRC_SUCCESS;
}
