#include "ControlResponder.h"

#include "AbstractSource.h"
#include "DataArg_Capability.h"
#include "DataArg_CustomDSData.h"
#include "DataArg_Event.h"
#include "DataArg_FileSystem.h"
#include "DataArg_Identity.h"
#include "DataArg_PassThru.h"
#include "DataArg_PendingXfers.h"
#include "DataArg_SetUpFileXfer.h"
#include "DataArg_SetUpMemXfer.h"
#include "DataArg_Status.h"
#include "DataArg_UserInterface.h"
#include "DataArg_XferGroup.h"
#include "TwainException.h"

ControlResponder::ControlResponder(AbstractSource& source) : m_source(source) {}

ControlResponder::~ControlResponder() = default;

bool ControlResponder::IsGroup(TW_UINT32 dg) const {
    return dg == DG_CONTROL;
}

AbstractDataArg* ControlResponder::Handler(std::unique_ptr<AbstractDataArg>& slot,
                                           Factory factory) {
    if (!slot) {
        slot.reset((this->*factory)());
    }
    return slot.get();
}

TW_UINT16 ControlResponder::Forward(AbstractDataArg* handler, pTW_IDENTITY pOrigin, TW_UINT16 dat,
                                    TW_UINT16 msg, TW_MEMREF pData) {
    if (handler == nullptr) {
        return AbstractResponder::Respond(pOrigin, dat, msg, pData);
    }
    return handler->Dispatch(pOrigin, msg, pData);
}

TW_UINT16 ControlResponder::Respond(pTW_IDENTITY pOrigin, TW_UINT16 dat, TW_UINT16 msg,
                                    TW_MEMREF pData) {
    switch (dat) {
    case DAT_CAPABILITY:
        return Forward(Handler(m_capability, &ControlResponder::CreateCapability), pOrigin, dat,
                       msg, pData);
    case DAT_EVENT:
        return Forward(Handler(m_event, &ControlResponder::CreateEvent), pOrigin, dat, msg, pData);
    case DAT_IDENTITY:
        return m_source.GetIdentityArg()->Dispatch(pOrigin, msg, pData);
    case DAT_PENDINGXFERS:
        return Forward(Handler(m_pendingXfers, &ControlResponder::CreatePendingXfers), pOrigin, dat,
                       msg, pData);
    case DAT_SETUPMEMXFER:
        return Forward(Handler(m_setUpMemXfer, &ControlResponder::CreateSetUpMemXfer), pOrigin, dat,
                       msg, pData);
    case DAT_SETUPFILEXFER:
        return Forward(Handler(m_setUpFileXfer, &ControlResponder::CreateSetUpFileXfer), pOrigin,
                       dat, msg, pData);
    case DAT_STATUS:
        return m_source.GetStatus().Dispatch(pOrigin, msg, pData);
    case DAT_USERINTERFACE: {
        // Only a source made by MSG_OPENDS has the handler.
        DataArg_UserInterface* ui = AbstractSource::GetUserInterfaceHandler();
        if (ui == nullptr) {
            throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
        }
        return ui->Dispatch(pOrigin, msg, pData);
    }
    case DAT_XFERGROUP:
        return Forward(Handler(m_xferGroup, &ControlResponder::CreateXferGroup), pOrigin, dat, msg,
                       pData);
    case DAT_CUSTOMDSDATA:
        return Forward(Handler(m_customDSData, &ControlResponder::CreateCustomDSData), pOrigin, dat,
                       msg, pData);
    case DAT_FILESYSTEM: {
        AbstractDataArg* fileSystem = GetFileSystem();
        if (fileSystem == nullptr) {
            throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
        }
        if (!m_source.IsConnected()) {
            m_source.Connect(false);
        }
        return fileSystem->Dispatch(pOrigin, msg, pData);
    }
    case DAT_PASSTHRU:
        return Forward(Handler(m_passThru, &ControlResponder::CreatePassThru), pOrigin, dat, msg,
                       pData);
    default:
        return AbstractResponder::Respond(pOrigin, dat, msg, pData);
    }
}

AbstractDataArg* ControlResponder::CreateCapability() {
    return new DataArg_Capability();
}

AbstractDataArg* ControlResponder::CreateCustomDSData() {
    return new DataArg_CustomDSData();
}

AbstractDataArg* ControlResponder::CreateEvent() {
    return new DataArg_Event();
}

AbstractDataArg* ControlResponder::CreatePassThru() {
    return new DataArg_PassThru();
}

AbstractDataArg* ControlResponder::CreatePendingXfers() {
    return new DataArg_PendingXfers();
}

AbstractDataArg* ControlResponder::CreateSetUpFileXfer() {
    return new DataArg_SetUpFileXfer();
}

AbstractDataArg* ControlResponder::CreateSetUpMemXfer() {
    return new DataArg_SetUpMemXfer();
}

AbstractDataArg* ControlResponder::CreateXferGroup() {
    return new DataArg_XferGroup();
}

AbstractDataArg* ControlResponder::GetFileSystem() {
    return AbstractSource::GetFileSystemHandler();
}
