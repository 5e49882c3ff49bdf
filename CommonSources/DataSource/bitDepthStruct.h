#pragma once
// Row of the source's bit-depth table (one row per pixel type): the current and default bit
// depth, the depths allowed now and those supported at all.

#include "SimpleValArray.h"

struct bitDepthStruct {
    unsigned short current = 0;
    unsigned short defaultValue = 0;
    CommonTwain::SimpleValArray<unsigned short> allowed;
    CommonTwain::SimpleValArray<unsigned short> supported;
};
