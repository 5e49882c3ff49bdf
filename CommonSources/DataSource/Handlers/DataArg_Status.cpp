#include "DataArg_Status.h"

#include "TwainException.h"

DataArg_Status::~DataArg_Status() = default;

bool DataArg_Status::IsDat(TW_UINT16 dat) const {
    return dat == DAT_STATUS;
}

TW_UINT16 DataArg_Status::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    *static_cast<pTW_STATUS>(pData) = m_status;
    Reset();
    return TWRC_SUCCESS;
}

void DataArg_Status::Reset() {
    m_status.ConditionCode = TWCC_SUCCESS;
    m_status.Reserved = 0;
}

void DataArg_Status::SetConditionCode(TW_UINT16 conditionCode) {
    m_status.ConditionCode = conditionCode;
}

TW_UINT16 DataArg_Status::GetConditionCode() const {
    return m_status.ConditionCode;
}
