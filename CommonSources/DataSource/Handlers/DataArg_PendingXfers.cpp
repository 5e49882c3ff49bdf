#include "DataArg_PendingXfers.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "ScanCommandIntf.h"
#include "Scanner.h"
#include "TransferStates.h"
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

// The application will not take the page it was told of: the job moves on to its next page, and
// the page counts as handed over.
void DiscardPendingPage(AbstractSource& source) {
    if (DataArg_UserInterface* const ui = AbstractSource::GetUserInterfaceHandler()) {
        ui->BeginPage();
    }
    source.GetScanner()->GetScanCommand()->EndPage();
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
    if (TransferStates::CheckEndTransfer(source, __FILE__, __LINE__) &&
        source.GetPendingTransferCount() != 0) {
        DiscardPendingPage(source);
    }
    auto& pending = *static_cast<TW_PENDINGXFERS*>(pData);
    const TW_UINT16 count = source.GetPendingTransferCount();
    TransferStates::EndTransfer(source, count);
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
    TransferStates::CheckReset(source, __FILE__, __LINE__);
    source.GetScanner()->GetScanCommand()->Reset();
    source.SetFileNameGiven(false);
    static_cast<TW_PENDINGXFERS*>(pData)->Count = 0;
    TransferStates::Reset(source);
    return TWRC_SUCCESS;
}
