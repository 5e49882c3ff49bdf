#pragma once
// DAT_CAPABILITY: finds the handler of TW_CAPABILITY.Cap and passes it the message;
// MSG_QUERYSUPPORT answers what that handler serves.

#include "AbstractDataArg.h"
#include "CapabilityHandlerTable.h"

#include <vector>

class DataArg_Capability : public AbstractDataArg {
public:
    DataArg_Capability();
    ~DataArg_Capability() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetDefault(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGetCurrent(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgQuerySupport(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgReset(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgSet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    // Null for a capability the source does not know.
    TwainCapInfo* FindHandler(TW_UINT16 capabilityId) const;

private:
    using Operation = TW_UINT16 (TwainCapInfo::*)(TW_CAPABILITY&);
    // TWCC_BADVALUE without a TW_CAPABILITY, TWCC_BADCAP for an unknown capability.
    TW_UINT16 Forward(TW_MEMREF pData, Operation operation) const;

    std::vector<CapabilityHandlerTable::Row> m_rows;
};
