#include "DataArg_ImageMemXfer.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "PageTransferRequest.h"
#include "SafeHandle.h"
#include "ScanCommandIntf.h"
#include "TransferStates.h"
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
    try {
        return TransferStrip(static_cast<TW_IMAGEMEMXFER*>(pData));
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        EndProgress();
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
    // Without a page there is nothing to deliver, and success would hand over stale fields.
    if (!Command().HasMorePages()) {
        throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
    }
    TransferStates::Transfer strip(source, TWSX_MEMORY, __FILE__, __LINE__);
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
        // A block smaller than it is said to be would be written past its end.
        if (block->GetSize() < length) {
            throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
        }
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
    Command().TransferMemory(request, result);
    locked.reset();
    transfer.BytesWritten = result.bytesWritten;
    transfer.BytesPerRow = result.bytesPerRow;
    transfer.Columns = result.columns;
    transfer.Rows = result.rows;
    transfer.XOffset = result.xOffset;
    transfer.YOffset = result.yOffset;

    if (result.stopped || IsStopRequested()) {
        ResetTransfer();
        strip.Answered(true);
        return TWRC_CANCEL;
    }
    if (result.lastBlock) {
        Command().ResetTransfer();
        EndProgress();
        EndPage();
        strip.Answered(true);
        return TWRC_XFERDONE;
    }
    strip.Answered(false);
    return TWRC_SUCCESS;
}
