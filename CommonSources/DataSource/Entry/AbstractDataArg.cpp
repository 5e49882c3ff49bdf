#include "AbstractDataArg.h"

#include "AbstractSource.h"

AbstractDataArg::~AbstractDataArg() = default;

bool AbstractDataArg::IsDat(TW_UINT16) const {
    return false;
}

TW_UINT16 AbstractDataArg::Dispatch(pTW_IDENTITY pOrigin, TW_UINT32 msg, TW_MEMREF pData) {
    const TW_UINT16 message = static_cast<TW_UINT16>(msg & 0xffff);
    switch (message) {
    case MSG_NULL:
        return MsgNull(pOrigin, pData);
    case MSG_GET:
        return MsgGet(pOrigin, pData);
    case MSG_GETCURRENT:
        return MsgGetCurrent(pOrigin, pData);
    case MSG_GETDEFAULT:
        return MsgGetDefault(pOrigin, pData);
    case MSG_GETFIRST:
        return MsgGetFirst(pOrigin, pData);
    case MSG_GETNEXT:
        return MsgGetNext(pOrigin, pData);
    case MSG_SET:
        return MsgSet(pOrigin, pData);
    case MSG_RESET:
        return MsgReset(pOrigin, pData);
    case MSG_QUERYSUPPORT:
        return MsgQuerySupport(pOrigin, pData);
    case MSG_XFERREADY:
        return MsgXferReady(pOrigin, pData);
    case MSG_CLOSEDSREQ:
        return MsgCloseDSReq(pOrigin, pData);
    case MSG_CLOSEDSOK:
        return MsgCloseDSOK(pOrigin, pData);
    case MSG_DEVICEEVENT:
        return MsgDeviceEvent(pOrigin, pData);
    case MSG_PASSTHRU:
        return MsgPassThru(pOrigin, pData);
    case MSG_OPENDSM:
        return MsgOpenDSM(pOrigin, pData);
    case MSG_CLOSEDSM:
        return MsgCloseDSM(pOrigin, pData);
    case MSG_OPENDS:
        return MsgOpenDS(pOrigin, pData);
    case MSG_CLOSEDS:
        return MsgCloseDS(pOrigin, pData);
    case MSG_DISABLEDS:
        return MsgDisableDS(pOrigin, pData);
    case MSG_ENABLEDS:
        return MsgEnableDS(pOrigin, pData);
    case MSG_ENABLEDSUIONLY:
        return MsgEnableDSUIOnly(pOrigin, pData);
    case MSG_PROCESSEVENT:
        return MsgProcessEvent(pOrigin, pData);
    case MSG_ENDXFER:
        return MsgEndXfer(pOrigin, pData);
    case MSG_CHANGEDIRECTORY:
        return MsgChangeDirectory(pOrigin, pData);
    case MSG_CREATEDIRECTORY:
        return MsgCreateDirectory(pOrigin, pData);
    case MSG_DELETE:
        return MsgDelete(pOrigin, pData);
    case MSG_FORMATMEDIA:
        return MsgFormatMedia(pOrigin, pData);
    case MSG_GETCLOSE:
        return MsgGetClose(pOrigin, pData);
    case MSG_GETFIRSTFILE:
        return MsgGetFirstFile(pOrigin, pData);
    case MSG_GETINFO:
        return MsgGetInfo(pOrigin, pData);
    case MSG_GETNEXTFILE:
        return MsgGetNextFile(pOrigin, pData);
    case MSG_RENAME:
        return MsgRename(pOrigin, pData);
    default:
        return OnUnknownMessage(pOrigin, message, pData);
    }
}

TW_UINT16 AbstractDataArg::OnUnknownMessage(pTW_IDENTITY, TW_UINT16, TW_MEMREF) {
    return TWRC_FAILURE;
}

#define NIMBREL_DEFAULT_MESSAGE(name)                                                              \
    TW_UINT16 AbstractDataArg::name(pTW_IDENTITY, TW_MEMREF) {                                     \
        return TWRC_FAILURE;                                                                       \
    }

NIMBREL_DEFAULT_MESSAGE(MsgChangeDirectory)
NIMBREL_DEFAULT_MESSAGE(MsgCloseDS)
NIMBREL_DEFAULT_MESSAGE(MsgCloseDSM)
NIMBREL_DEFAULT_MESSAGE(MsgCloseDSOK)
NIMBREL_DEFAULT_MESSAGE(MsgCloseDSReq)
NIMBREL_DEFAULT_MESSAGE(MsgCreateDirectory)
NIMBREL_DEFAULT_MESSAGE(MsgDelete)
NIMBREL_DEFAULT_MESSAGE(MsgDeviceEvent)
NIMBREL_DEFAULT_MESSAGE(MsgDisableDS)
NIMBREL_DEFAULT_MESSAGE(MsgEnableDS)
NIMBREL_DEFAULT_MESSAGE(MsgEnableDSUIOnly)
NIMBREL_DEFAULT_MESSAGE(MsgEndXfer)
NIMBREL_DEFAULT_MESSAGE(MsgFormatMedia)
NIMBREL_DEFAULT_MESSAGE(MsgGet)
NIMBREL_DEFAULT_MESSAGE(MsgGetDefault)
NIMBREL_DEFAULT_MESSAGE(MsgGetClose)
NIMBREL_DEFAULT_MESSAGE(MsgGetCurrent)
NIMBREL_DEFAULT_MESSAGE(MsgGetFirst)
NIMBREL_DEFAULT_MESSAGE(MsgGetFirstFile)
NIMBREL_DEFAULT_MESSAGE(MsgGetInfo)
NIMBREL_DEFAULT_MESSAGE(MsgGetNext)
NIMBREL_DEFAULT_MESSAGE(MsgGetNextFile)
NIMBREL_DEFAULT_MESSAGE(MsgNull)
NIMBREL_DEFAULT_MESSAGE(MsgOpenDS)
NIMBREL_DEFAULT_MESSAGE(MsgOpenDSM)
NIMBREL_DEFAULT_MESSAGE(MsgPassThru)
NIMBREL_DEFAULT_MESSAGE(MsgProcessEvent)
NIMBREL_DEFAULT_MESSAGE(MsgQuerySupport)
NIMBREL_DEFAULT_MESSAGE(MsgRename)
NIMBREL_DEFAULT_MESSAGE(MsgReset)
NIMBREL_DEFAULT_MESSAGE(MsgSet)
NIMBREL_DEFAULT_MESSAGE(MsgXferReady)

#undef NIMBREL_DEFAULT_MESSAGE

Scanner* AbstractDataArg::GetScanner() {
    AbstractSource* source = AbstractSource::Instance();
    return source != nullptr ? source->GetScanner() : nullptr;
}
