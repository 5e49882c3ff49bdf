#pragma once
// TWAIN fixed-point number (Whole + Frac / 65536) as an object, and helpers on bare records.

#include "TwainDefs.h"

#include <string>

namespace CommonTwain {

class TW_Fix32 {
public:
    TW_Fix32() = default;
    explicit TW_Fix32(const TW_FIX32& record);
    // Rounds value x 65536 half away from zero.
    explicit TW_Fix32(double value);
    TW_Fix32(const TW_Fix32& other) = default;
    TW_Fix32& operator=(const TW_Fix32& other) = default;
    virtual ~TW_Fix32() = default;

    virtual std::string Dump() const;

    double ToFloat() const;
    TW_FIX32 ToRecord() const;

    TW_INT16 Whole = 0;
    TW_UINT16 Frac = 0;
};

// All 32 bits equal; no tolerance.
bool EqualFix32(const TW_FIX32& a, const TW_FIX32& b);
std::string Fix32ToString(const TW_FIX32& value);

// The conversions every TW_FIX32 answer and every received TW_FIX32 go through.
TW_FIX32 DoubleToFix32(double value);
double Fix32ToDouble(const TW_FIX32& value);

} // namespace CommonTwain
