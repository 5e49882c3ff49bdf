#pragma once
// A TWAIN 2.x source manager for tests, built as TWAINDSM.DLL, serving a 1.x application (no
// callback) and 1.x sources as the TWAIN rules for such a manager say: it gives the
// application and every source it opens an identity Id, lists and opens the *.ds files of the
// Windows folder twain_32 (twain_64 in 64-bit programs), and passes every other triplet to the
// source named by its destination. A source's DG_CONTROL / DAT_NULL notice (MSG_XFERREADY,
// MSG_CLOSEDSREQ, MSG_CLOSEDSOK, MSG_DEVICEEVENT), accepted only with the Ids it gave, is queued;
// the application's window (the one given at MSG_OPENDSM) gets WM_NULL, and the application's
// next MSG_PROCESSEVENT for that source is answered from the queue (TWRC_DSEVENT with the
// notice) without calling the source. In the refusing mode it answers DAT_NULL with
// TWRC_FAILURE / TWCC_BADPROTOCOL, as an older manager does.

#include "TwainDefs.h"

// TestDsm_SetRefuseNotices: TRUE refuses every notice from now on, FALSE queues them.
typedef void(WINAPI* TestDsmSetRefuseNotices)(BOOL refuse);
// TestDsm_NoticesQueued: how many notices the manager has queued since it was loaded.
typedef LONG(WINAPI* TestDsmNoticesQueued)();
