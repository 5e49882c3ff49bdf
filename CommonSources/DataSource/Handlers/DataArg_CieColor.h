#pragma once
// DAT_CIECOLOR: no colour-space description is offered; every message fails.

#include "AbstractDataArg.h"

class DataArg_CieColor : public AbstractDataArg {
public:
    ~DataArg_CieColor() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_CIECOLOR; }
};
