#pragma once
// DAT_EVENT / MSG_PROCESSEVENT: every message of the application's loop while the source is
// enabled. The source's windows take the messages meant for them, and a page notice or close
// request that the source manager could not deliver is reported here.

#include "AbstractDataArg.h"

class DataArg_Event : public AbstractDataArg {
public:
    DataArg_Event() = default;
    ~DataArg_Event() override;

    bool IsDat(TW_UINT16 dat) const override;
    // TWRC_DSEVENT when a window of the source took the message or a pending notice is
    // reported in TWMessage (MSG_XFERREADY before MSG_CLOSEDSREQ, one a call).
    TW_UINT16 MsgProcessEvent(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
};
