#pragma once
// DAT_SETUPFILEXFER: the file and format of the next file transfer. MSG_GET reports the name
// the application set until a file transfer or MSG_RESET of DAT_PENDINGXFERS used it, and the
// current format's default name otherwise.

#include "AbstractDataArg.h"

class DataArg_SetUpFileXfer : public AbstractDataArg {
public:
    DataArg_SetUpFileXfer() = default;
    ~DataArg_SetUpFileXfer() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetDefault(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // The format first, with the capability's checks; the name only when the format was taken.
    TW_UINT16 MsgSet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // The default format and its name, then the answer of MSG_GETDEFAULT.
    TW_UINT16 MsgReset(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
};
