#pragma once
// Row of the source's compression table (one row per image file format): the current and
// default compression, the compressions allowed now and those supported at all.

#include "SimpleValArray.h"

struct compressionStruct {
    unsigned short current = 0;
    unsigned short defaultValue = 0;
    CommonTwain::SimpleValArray<unsigned short> allowed;
    CommonTwain::SimpleValArray<unsigned short> supported;
};
