#pragma once
// A stand-in TWAIN_32.DLL for tests of TWAIN applications. In a test program a handler set
// with RecDsm_SetHandler answers every triplet. Without one (a program started by a test) it
// is a small source manager with sources of its own, driven by the environment:
//   RECDSM_LOG      file that gets one line per triplet: "dg dat msg" in hex and details
//   RECDSM_SOURCES  product names, separated by '|' (default "Nimbrel 5"; empty: no source)
//   RECDSM_FAIL     "msg:cc": the first triplet with that message (hex) fails with cc
//   RECDSM_EVENT    the notice (hex) the first MSG_PROCESSEVENT after enabling reports
//                   (default 0x102, MSG_CLOSEDSREQ; 0: none)

#include "TwainDefs.h"

typedef TW_UINT16(WINAPI* RecDsmHandler)(pTW_IDENTITY origin, pTW_IDENTITY destination,
                                         TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                         TW_MEMREF data);
typedef void(WINAPI* RecDsmSetHandler)(RecDsmHandler handler);
