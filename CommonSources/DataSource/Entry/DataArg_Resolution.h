#pragma once
// The X and Y resolutions of the source, kept in dots per inch: the server's list, the current
// and default values, the device's own (native) resolution and the largest the server offers.
// Values cross its interface in the units the caller names. A page being handed to the
// application is described by its own resolution, which the caller passes in (null without a
// page). Not a triplet handler: a plain value of the source.

#include "SimpleValArray.h"
#include "TwainDefs.h"

class ScanServerCapabilities;

class DataArg_Resolution {
public:
    static constexpr int kAxisX = 0;
    static constexpr int kAxisY = 1;

    // Before any server: 600 dpi native and largest, 300 dpi current and default, no list.
    DataArg_Resolution();
    virtual ~DataArg_Resolution();

    // The server's list as it gives it (not sorted, not checked), its largest value as native
    // and largest; current and default 300 dpi.
    void LoadFromServer(const ScanServerCapabilities& capabilities);

    // In units: every value in pixels reads 1.0.
    double GetCurrent(int axis, TW_UINT16 units, const double* pageDpi) const;
    double GetDefault(int axis, TW_UINT16 units, const double* pageDpi) const;
    CommonTwain::SimpleValArray<double> GetAvailable(int axis, TW_UINT16 units) const;
    double GetNative(int axis, TW_UINT16 units) const;
    // Dots per inch, never converted.
    double GetMax(int axis) const;
    // The resolution a page of this axis is scanned at: the page's when there is one.
    double GetCurrentDpi(int axis, const double* pageDpi) const;

    // value in units. A value the application read from the source (a listed value, or the
    // page's) is recognised by its TW_FIX32 form in these units and stored exactly; any other
    // value only when the server allows any resolution. TWCC_BADVALUE in pixels and for a value
    // not above zero, TWCC_CAPUNSUPPORTED for one the source cannot scan at.
    void SetResolution(int axis, double value, TW_UINT16 units, const double* pageDpi,
                       bool allowAny);
    // Current and default 300 dpi, native the largest; the list stays.
    void Reset(int axis);

private:
    struct Axis {
        double native = 600.0;
        double defaultValue = 300.0;
        CommonTwain::SimpleValArray<double> available;
        double current = 300.0;
        double maximum = 600.0;
    };

    const Axis& AxisAt(int axis) const;
    Axis& AxisAt(int axis);

    Axis m_axes[2];
};
