#pragma once
// DAT_EXTIMAGEINFO: no extended image information; every message fails.

#include "AbstractDataArg.h"

class DataArg_ExtImageInfo : public AbstractDataArg {
public:
    ~DataArg_ExtImageInfo() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_EXTIMAGEINFO; }
};
