#include "DataArg_PendingXfers.h"

#include "AbstractSource.h"
#include "ScanCommandIntf.h"
#include "Scanner.h"
#include "TwainException.h"
#include "zylImageFile.h"

#include <algorithm>

namespace {

void SetCount(TW_PENDINGXFERS& pending, TW_UINT16 count) {
    pending.Count = count;
    pending.Reserved = count != 0 ? 1 : 0;
}

// What the attached job would deliver, before the source is enabled.
TW_INT16 CountBeforeEnable(AbstractSource& source) {
    if (source.IsPageCountUnknown()) {
        return -1;
    }
    zylImageFile* const image = source.GetCurrentPageImage();
    if (image == nullptr) {
        return 0;
    }
    const TW_INT16 pages = image->GetNumPagesLeftToXfer();
    if (source.GetTransferMechanismCurrent() == TWSX_FILE) {
        return source.GetImageFileFormatCurrent() == TWFF_TIFFMULTI ? 1 : pages;
    }
    const TW_INT16 desired = source.GetTransferCountDesired();
    return desired == -1 ? pages : std::min(pages, desired);
}

} // namespace

DataArg_PendingXfers::~DataArg_PendingXfers() = default;

bool DataArg_PendingXfers::IsDat(TW_UINT16 dat) const {
    return dat == DAT_PENDINGXFERS;
}

TW_UINT16 DataArg_PendingXfers::MsgEndXfer(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    // Before a page was handed over there is no transfer to end; below state 6 ending one
    // would move a source that is not enabled to state 5.
    if (source.GetState() != 7) {
        throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
    }
    auto& pending = *static_cast<TW_PENDINGXFERS*>(pData);
    const TW_UINT16 count = source.GetPendingTransferCount();
    source.SetMemoryTransferActive(false);
    source.SetState(count != 0 ? 6 : 5);
    SetCount(pending, count);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_PendingXfers::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    auto& pending = *static_cast<TW_PENDINGXFERS*>(pData);
    const TW_UINT16 count = source.GetState() == 4
                                ? static_cast<TW_UINT16>(CountBeforeEnable(source))
                                : source.GetPendingTransferCount();
    SetCount(pending, count);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_PendingXfers::MsgReset(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    // Within a page the application ends it first (MSG_ENDXFER).
    if (source.GetState() == 7) {
        throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
    }
    source.GetScanner()->GetScanCommand()->Reset();
    source.SetFileNameGiven(false);
    source.SetMemoryTransferActive(false);
    static_cast<TW_PENDINGXFERS*>(pData)->Count = 0;
    if (source.GetState() > 5) {
        source.SetState(5);
    }
    return TWRC_SUCCESS;
}
