#pragma once
// DAT_PENDINGXFERS: the end of one page (MSG_ENDXFER), the pages still to come (MSG_GET) and
// giving up the rest of them (MSG_RESET). The reserved word after Count is 1 while pages are
// pending and 0 when none are.

#include "AbstractDataArg.h"

class DataArg_PendingXfers : public AbstractDataArg {
public:
    DataArg_PendingXfers() = default;
    ~DataArg_PendingXfers() override;

    bool IsDat(TW_UINT16 dat) const override;
    // State 7 (a page handed over or cancelled), or 6, where the pending page is dropped
    // unread: state 6 with pages left, else 5.
    TW_UINT16 MsgEndXfer(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // Changes nothing. Before MSG_ENABLEDS the pages the attached job would deliver.
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // State 6: the job is dropped and the source goes back to state 5. Below state 6 nothing
    // is pending: Count 0 and the state stays. Refused within a page (state 7).
    TW_UINT16 MsgReset(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
};
