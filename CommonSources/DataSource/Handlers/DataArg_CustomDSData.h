#pragma once
// DAT_CUSTOMDSDATA: the source keeps no custom data, so every message fails.

#include "AbstractDataArg.h"

class DataArg_CustomDSData : public AbstractDataArg {
public:
    ~DataArg_CustomDSData() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_CUSTOMDSDATA; }
};
