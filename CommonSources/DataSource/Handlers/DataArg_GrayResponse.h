#pragma once
// DAT_GRAYRESPONSE: the grey response curve is fixed; every message fails.

#include "AbstractDataArg.h"

class DataArg_GrayResponse : public AbstractDataArg {
public:
    ~DataArg_GrayResponse() override = default;
    bool IsDat(TW_UINT16 dat) const override { return dat == DAT_GRAYRESPONSE; }
};
