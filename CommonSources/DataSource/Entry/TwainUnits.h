#pragma once
// Lengths and resolutions cross the capability interface in the current ICAP_UNITS, while the
// source keeps inches and dots per inch. Pixels have no fixed factor: each caller decides what
// a pixel value means for it.

#include "TwainDefs.h"

// Units per inch: centimetres 2.54, picas 6, points 72, twips 1440; inches, pixels and any
// unknown unit 1.
inline double UnitsPerInch(TW_UINT16 units) {
    switch (units) {
    case TWUN_CENTIMETERS:
        return 2.54;
    case TWUN_PICAS:
        return 6.0;
    case TWUN_POINTS:
        return 72.0;
    case TWUN_TWIPS:
        return 1440.0;
    default:
        return 1.0;
    }
}
