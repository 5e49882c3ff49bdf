#pragma once
// DAT_RGBRESPONSE: the colour response curve is fixed; every message fails.

#include "AbstractDataArg.h"

class DataArg_RgbResponse : public AbstractDataArg {
public:
    ~DataArg_RgbResponse() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_RGBRESPONSE; }
};
