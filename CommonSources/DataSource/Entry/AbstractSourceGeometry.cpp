// AbstractSource: pixel layout, physical size, units and resolutions. Lengths and resolutions
// cross CapSupport in the current ICAP_UNITS; the source keeps inches and dots per inch.

#include "AbstractSource.h"

#include "ScanServerCapabilities.h"
#include "TwainUnits.h"

namespace {

constexpr int kAxisX = DataArg_Resolution::kAxisX;
constexpr int kAxisY = DataArg_Resolution::kAxisY;

CapSupport::ValueList OneValueList(unsigned short value) {
    CapSupport::ValueList list;
    list.Append(value);
    return list;
}

// The platen: 17 inches wide, 11 high.
constexpr double kPlatenWidthInches = 17.0;
constexpr double kPlatenHeightInches = 11.0;

// A platen side of the given inches in units; in pixels at the largest resolution.
double PlatenSide(const CommonTwain::SimpleValArray<double>& table, TW_UINT16 units, double inches,
                  double maxResolution) {
    if (units < table.GetCount()) {
        return table.GetAt(units);
    }
    // Before the first connection the table is empty.
    return units == TWUN_PIXELS ? inches * maxResolution : inches * UnitsPerInch(units);
}

} // namespace

// ICAP_PLANARCHUNKY, ICAP_BITORDER

CapSupport::ValueList AbstractSource::GetPlanarChunkyAvailable() const {
    return OneValueList(TWPC_CHUNKY);
}

TW_UINT16 AbstractSource::GetPlanarChunkyCurrent() const {
    return TWPC_CHUNKY;
}

TW_UINT16 AbstractSource::GetPlanarChunkyDefault() const {
    return TWPC_CHUNKY;
}

CapSupport::ValueList AbstractSource::GetBitOrderAvailable() const {
    return OneValueList(TWBO_MSBFIRST);
}

TW_UINT16 AbstractSource::GetBitOrderCurrent() const {
    return TWBO_MSBFIRST;
}

TW_UINT16 AbstractSource::GetBitOrderDefault() const {
    return TWBO_MSBFIRST;
}

// ICAP_PHYSICALHEIGHT, ICAP_PHYSICALWIDTH

double AbstractSource::GetPhysicalHeight() const {
    return PlatenSide(m_state->physicalHeights, GetUnitsCurrent(), kPlatenHeightInches,
                      m_state->resolution.GetMax(kAxisY));
}

double AbstractSource::GetPhysicalWidth() const {
    return PlatenSide(m_state->physicalWidths, GetUnitsCurrent(), kPlatenWidthInches,
                      m_state->resolution.GetMax(kAxisX));
}

// ICAP_UNITS

void AbstractSource::SetUnitsEnumeration(const ValueList& values) {
    m_state->units.SetEnumeration(values);
}

void AbstractSource::SetUnitsCurrent(TW_UINT16 value) {
    m_state->units.SetCurrent(value);
}

TW_UINT16 AbstractSource::GetUnitsDefault() const {
    return m_state->units.GetDefault();
}

TW_UINT16 AbstractSource::GetUnitsCurrent() const {
    return m_state->units.GetCurrent();
}

CapSupport::ValueList AbstractSource::GetUnitsAvailable() const {
    return m_state->units.GetAvailable();
}

void AbstractSource::ResetUnits() {
    m_state->units.Reset();
}

// ICAP_XRESOLUTION, ICAP_YRESOLUTION, ICAP_XNATIVERESOLUTION, ICAP_YNATIVERESOLUTION

void AbstractSource::SetXResolutionCurrent(double value) {
    double page = 0.0;
    const bool hasPage = GetPageResolution(kAxisX, page);
    m_state->resolution.SetResolution(kAxisX, value, GetUnitsCurrent(), hasPage ? &page : nullptr,
                                      GetServerCapabilities().IsResAllowAny());
}

CommonTwain::SimpleValArray<double> AbstractSource::GetXResolutionAvailable() const {
    return m_state->resolution.GetAvailable(kAxisX, GetUnitsCurrent());
}

double AbstractSource::GetXResolutionCurrent() {
    double page = 0.0;
    const bool hasPage = GetPageResolution(kAxisX, page);
    return m_state->resolution.GetCurrent(kAxisX, GetUnitsCurrent(), hasPage ? &page : nullptr);
}

double AbstractSource::GetXResolutionDefault() {
    double page = 0.0;
    const bool hasPage = GetPageResolution(kAxisX, page);
    return m_state->resolution.GetDefault(kAxisX, GetUnitsCurrent(), hasPage ? &page : nullptr);
}

void AbstractSource::ResetXResolution() {
    m_state->resolution.Reset(kAxisX);
}

void AbstractSource::SetYResolutionCurrent(double value) {
    double page = 0.0;
    const bool hasPage = GetPageResolution(kAxisY, page);
    m_state->resolution.SetResolution(kAxisY, value, GetUnitsCurrent(), hasPage ? &page : nullptr,
                                      GetServerCapabilities().IsResAllowAny());
}

CommonTwain::SimpleValArray<double> AbstractSource::GetYResolutionAvailable() const {
    return m_state->resolution.GetAvailable(kAxisY, GetUnitsCurrent());
}

double AbstractSource::GetYResolutionCurrent() {
    double page = 0.0;
    const bool hasPage = GetPageResolution(kAxisY, page);
    return m_state->resolution.GetCurrent(kAxisY, GetUnitsCurrent(), hasPage ? &page : nullptr);
}

double AbstractSource::GetYResolutionDefault() {
    double page = 0.0;
    const bool hasPage = GetPageResolution(kAxisY, page);
    return m_state->resolution.GetDefault(kAxisY, GetUnitsCurrent(), hasPage ? &page : nullptr);
}

void AbstractSource::ResetYResolution() {
    m_state->resolution.Reset(kAxisY);
}

double AbstractSource::GetXNativeResolution() const {
    return m_state->resolution.GetNative(kAxisX, GetUnitsCurrent());
}

double AbstractSource::GetYNativeResolution() const {
    return m_state->resolution.GetNative(kAxisY, GetUnitsCurrent());
}

double AbstractSource::GetResolutionDpi(int axis) {
    double page = 0.0;
    const bool hasPage = GetPageResolution(axis, page);
    return m_state->resolution.GetCurrentDpi(axis, hasPage ? &page : nullptr);
}
