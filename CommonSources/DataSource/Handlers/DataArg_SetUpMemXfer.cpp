#include "DataArg_SetUpMemXfer.h"

#include "AbstractSource.h"
#include "TwainException.h"

DataArg_SetUpMemXfer::~DataArg_SetUpMemXfer() = default;

bool DataArg_SetUpMemXfer::IsDat(TW_UINT16 dat) const {
    return dat == DAT_SETUPMEMXFER;
}

TW_UINT16 DataArg_SetUpMemXfer::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource* const source = &AbstractSource::Required(__FILE__, __LINE__);
    auto& setup = *static_cast<TW_SETUPMEMXFER*>(pData);
    setup.MinBufSize = source->GetMinBufferSize();
    setup.MaxBufSize = source->GetMaxBufferSize();
    setup.Preferred = source->GetPreferredBufferSize();
    return TWRC_SUCCESS;
}
