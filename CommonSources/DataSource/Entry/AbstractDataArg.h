#pragma once
// Base of every handler of one TWAIN data argument type: Dispatch maps the message to one
// operation. Every operation answers TWRC_FAILURE and leaves the condition code alone, so a
// handler overrides only the messages it serves.

#include "TwainDefs.h"

class Scanner;

class AbstractDataArg {
public:
    AbstractDataArg() = default;
    AbstractDataArg(const AbstractDataArg&) = delete;
    AbstractDataArg& operator=(const AbstractDataArg&) = delete;
    virtual ~AbstractDataArg();

    virtual bool IsDat(TW_UINT16 dat) const;
    // Only the low 16 bits of the message are looked at.
    virtual TW_UINT16 Dispatch(pTW_IDENTITY pOrigin, TW_UINT32 msg, TW_MEMREF pData);

    virtual TW_UINT16 MsgChangeDirectory(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgCloseDS(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgCloseDSM(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgCloseDSOK(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgCloseDSReq(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgCreateDirectory(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 OnUnknownMessage(pTW_IDENTITY pOrigin, TW_UINT16 msg, TW_MEMREF pData);
    virtual TW_UINT16 MsgDelete(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgDeviceEvent(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgDisableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgEnableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgEnableDSUIOnly(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgEndXfer(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgFormatMedia(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetDefault(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetClose(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetCurrent(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetFirst(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetFirstFile(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetInfo(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetNext(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgGetNextFile(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgNull(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgOpenDS(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgOpenDSM(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgPassThru(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgProcessEvent(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgQuerySupport(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgRename(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgReset(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgSet(pTW_IDENTITY pOrigin, TW_MEMREF pData);
    virtual TW_UINT16 MsgXferReady(pTW_IDENTITY pOrigin, TW_MEMREF pData);

    // The current source's scan session.
    static Scanner* GetScanner();
};
