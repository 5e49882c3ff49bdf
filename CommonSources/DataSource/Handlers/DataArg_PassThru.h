#pragma once
// DAT_PASSTHRU: there is no device to pass commands to; every message fails.

#include "AbstractDataArg.h"

class DataArg_PassThru : public AbstractDataArg {
public:
    ~DataArg_PassThru() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_PASSTHRU; }
};
