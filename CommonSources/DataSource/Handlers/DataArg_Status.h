#pragma once
// DAT_STATUS: the condition code of the last failed call. Reading it resets it, so a second
// MSG_GET reports TWCC_SUCCESS until the next failure.

#include "AbstractDataArg.h"

class DataArg_Status : public AbstractDataArg {
public:
    DataArg_Status() = default;
    ~DataArg_Status() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    virtual void Reset();
    virtual void SetConditionCode(TW_UINT16 conditionCode);
    virtual TW_UINT16 GetConditionCode() const;

private:
    TW_STATUS m_status = {TWCC_SUCCESS, 0};
};
