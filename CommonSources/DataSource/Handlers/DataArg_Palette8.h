#pragma once
// DAT_PALETTE8: no palette images are produced; every message fails.

#include "AbstractDataArg.h"

class DataArg_Palette8 : public AbstractDataArg {
public:
    ~DataArg_Palette8() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_PALETTE8; }
};
