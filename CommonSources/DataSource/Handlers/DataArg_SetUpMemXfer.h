#pragma once
// DAT_SETUPMEMXFER MSG_GET: the smallest, largest and preferred buffer of a memory transfer.

#include "AbstractDataArg.h"

class DataArg_SetUpMemXfer : public AbstractDataArg {
public:
    DataArg_SetUpMemXfer() = default;
    ~DataArg_SetUpMemXfer() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
};
