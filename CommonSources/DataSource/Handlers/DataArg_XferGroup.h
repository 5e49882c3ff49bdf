#pragma once
// DAT_XFERGROUP: only image data is transferred; every message fails.

#include "AbstractDataArg.h"

class DataArg_XferGroup : public AbstractDataArg {
public:
    ~DataArg_XferGroup() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_XFERGROUP; }
};
