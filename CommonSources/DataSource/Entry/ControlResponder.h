#pragma once
// DG_CONTROL: one handler per data argument type, made on first use and kept; identity,
// status, user interface and file system go to the source's process-wide handlers.

#include "AbstractResponder.h"

#include <memory>

class AbstractDataArg;
class AbstractSource;

class ControlResponder : public AbstractResponder {
public:
    explicit ControlResponder(AbstractSource& source);
    ~ControlResponder() override;

    bool IsGroup(TW_UINT32 dg) const override;
    TW_UINT16 Respond(pTW_IDENTITY pOrigin, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF pData) override;

    // Each returns a new handler, or null while the source does not serve that type.
    virtual AbstractDataArg* CreateCapability();
    virtual AbstractDataArg* CreateCustomDSData();
    virtual AbstractDataArg* CreateEvent();
    virtual AbstractDataArg* CreatePassThru();
    virtual AbstractDataArg* CreatePendingXfers();
    virtual AbstractDataArg* CreateSetUpFileXfer();
    virtual AbstractDataArg* CreateSetUpMemXfer();
    virtual AbstractDataArg* CreateXferGroup();
    virtual AbstractDataArg* GetFileSystem();

private:
    using Factory = AbstractDataArg* (ControlResponder::*)();
    // Made on first use through the factory, then kept.
    AbstractDataArg* Handler(std::unique_ptr<AbstractDataArg>& slot, Factory factory);
    TW_UINT16 Forward(AbstractDataArg* handler, pTW_IDENTITY pOrigin, TW_UINT16 dat, TW_UINT16 msg,
                      TW_MEMREF pData);

    AbstractSource& m_source;
    std::unique_ptr<AbstractDataArg> m_customDSData;
    std::unique_ptr<AbstractDataArg> m_event;
    std::unique_ptr<AbstractDataArg> m_passThru;
    std::unique_ptr<AbstractDataArg> m_pendingXfers;
    std::unique_ptr<AbstractDataArg> m_capability;
    std::unique_ptr<AbstractDataArg> m_setUpFileXfer;
    std::unique_ptr<AbstractDataArg> m_setUpMemXfer;
    std::unique_ptr<AbstractDataArg> m_xferGroup;
};
