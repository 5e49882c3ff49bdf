#include "DataArg_Capability.h"

#include "TW_OneValue.h"
#include "TwainCapInfo_CAP_SUPPORTEDCAPS.h"
#include "TwainException.h"

namespace {

TW_CAPABILITY& CapabilityOf(TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    return *static_cast<TW_CAPABILITY*>(pData);
}

} // namespace

DataArg_Capability::DataArg_Capability() : m_rows(CapabilityHandlerTable::Build()) {
    // CAP_SUPPORTEDCAPS names what MSG_QUERYSUPPORT promises something for.
    if (auto* supported =
            dynamic_cast<TwainCapInfo_CAP_SUPPORTEDCAPS*>(FindHandler(CAP_SUPPORTEDCAPS))) {
        supported->SetOperationsOf([this](TW_UINT16 id) {
            const TwainCapInfo* handler = FindHandler(id);
            return handler != nullptr ? handler->GetSupportedOperations() : 0;
        });
    }
}

DataArg_Capability::~DataArg_Capability() {
    // Handlers go in the reverse order of their making.
    while (!m_rows.empty()) {
        m_rows.pop_back();
    }
}

bool DataArg_Capability::IsDat(TW_UINT16 dat) const {
    return dat == DAT_CAPABILITY;
}

TwainCapInfo* DataArg_Capability::FindHandler(TW_UINT16 capabilityId) const {
    for (const CapabilityHandlerTable::Row& row : m_rows) {
        for (TW_UINT16 id : row.ids) {
            if (id == capabilityId) {
                return row.handler.get();
            }
        }
    }
    return nullptr;
}

TW_UINT16 DataArg_Capability::Forward(TW_MEMREF pData, Operation operation) const {
    TW_CAPABILITY& capability = CapabilityOf(pData);
    TwainCapInfo* handler = FindHandler(capability.Cap);
    if (handler == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADCAP);
    }
    return (handler->*operation)(capability);
}

TW_UINT16 DataArg_Capability::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    return Forward(pData, &TwainCapInfo::Get);
}

TW_UINT16 DataArg_Capability::MsgGetDefault(pTW_IDENTITY, TW_MEMREF pData) {
    return Forward(pData, &TwainCapInfo::GetDefault);
}

TW_UINT16 DataArg_Capability::MsgGetCurrent(pTW_IDENTITY, TW_MEMREF pData) {
    return Forward(pData, &TwainCapInfo::GetCurrent);
}

TW_UINT16 DataArg_Capability::MsgReset(pTW_IDENTITY, TW_MEMREF pData) {
    return Forward(pData, &TwainCapInfo::Reset);
}

TW_UINT16 DataArg_Capability::MsgSet(pTW_IDENTITY, TW_MEMREF pData) {
    // An unknown capability fails with its condition code like every other message, so the
    // application's DAT_STATUS never reports a failed set as a success.
    return Forward(pData, &TwainCapInfo::Set);
}

TW_UINT16 DataArg_Capability::MsgQuerySupport(pTW_IDENTITY, TW_MEMREF pData) {
    TW_CAPABILITY& capability = CapabilityOf(pData);
    const TwainCapInfo* handler = FindHandler(capability.Cap);
    const TW_INT32 operations = handler != nullptr ? handler->GetSupportedOperations() : 0;
    return TwainCapInfo::Answer(capability, CommonTwain::TW_ONEVALUE_INT32(operations));
}
