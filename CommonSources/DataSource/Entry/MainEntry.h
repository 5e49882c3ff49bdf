#pragma once
// The data source's one exported entry point and the new-handler it installs per call.

#include "TwainDefs.h"

extern "C" TW_UINT16 WINAPI DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 dg, TW_UINT16 dat,
                                     TW_UINT16 msg, TW_MEMREF pData);

// Makes a failed allocation inside a TWAIN call an exception instead of a null pointer.
void throwBadAlloc();

// An address in the code that made the DS_Entry call under way: inside the source manager that
// called, or inside the application when it calls DS_Entry itself. Null outside a call.
const void* DSEntryCaller();
