#include "DataArg_Resolution.h"

#include "ScanServerCapabilities.h"
#include "TW_Fix32.h"
#include "TwainException.h"
#include "TwainUnits.h"

#include <cctype>
#include <string>

namespace {

constexpr double kStartResolution = 300.0;

// The decimal number at the start of a server's resolution text ("300", "300DPI", "150.5"),
// 0 when there is none. Hexadecimal, exponents, "inf" and "nan" are not numbers here.
double LeadingDecimal(const std::string& text) {
    std::string::size_type at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    double sign = 1.0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        sign = text[at] == '-' ? -1.0 : 1.0;
        ++at;
    }
    double value = 0.0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10.0 + (text[at] - '0');
        ++at;
    }
    if (at < text.size() && text[at] == '.') {
        double scale = 0.1;
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
            value += (text[at] - '0') * scale;
            scale /= 10.0;
        }
    }
    return sign * value;
}

// What the application sees of a value of dpi dots per inch.
double ToUnits(double dpi, TW_UINT16 units) {
    return units == TWUN_PIXELS ? 1.0 : dpi / UnitsPerInch(units);
}

// Whether the application's value is the TW_FIX32 the source answers for dpi in these units.
bool SameAnswer(double dpi, double value, TW_UINT16 units) {
    return CommonTwain::EqualFix32(CommonTwain::DoubleToFix32(ToUnits(dpi, units)),
                                   CommonTwain::DoubleToFix32(value));
}

} // namespace

DataArg_Resolution::DataArg_Resolution() = default;

DataArg_Resolution::~DataArg_Resolution() = default;

const DataArg_Resolution::Axis& DataArg_Resolution::AxisAt(int axis) const {
    return m_axes[axis == kAxisY ? 1 : 0];
}

DataArg_Resolution::Axis& DataArg_Resolution::AxisAt(int axis) {
    return m_axes[axis == kAxisY ? 1 : 0];
}

void DataArg_Resolution::LoadFromServer(const ScanServerCapabilities& capabilities) {
    CommonTwain::SimpleValArray<double> list;
    for (int32_t i = 0; i < capabilities.GetResolutionCount(); ++i) {
        list.Append(LeadingDecimal(capabilities.GetResolutionValueAt(i)));
    }
    const double maximum = capabilities.GetMaxResolution();
    for (Axis& axis : m_axes) {
        axis.maximum = maximum;
        axis.native = maximum;
        axis.current = kStartResolution;
        axis.defaultValue = kStartResolution;
        axis.available = list;
    }
}

double DataArg_Resolution::GetCurrent(int axis, TW_UINT16 units, const double* pageDpi) const {
    return ToUnits(GetCurrentDpi(axis, pageDpi), units);
}

double DataArg_Resolution::GetCurrentDpi(int axis, const double* pageDpi) const {
    return pageDpi != nullptr ? *pageDpi : AxisAt(axis).current;
}

double DataArg_Resolution::GetDefault(int axis, TW_UINT16 units, const double* pageDpi) const {
    return ToUnits(pageDpi != nullptr ? *pageDpi : AxisAt(axis).defaultValue, units);
}

CommonTwain::SimpleValArray<double> DataArg_Resolution::GetAvailable(int axis,
                                                                     TW_UINT16 units) const {
    const CommonTwain::SimpleValArray<double>& stored = AxisAt(axis).available;
    CommonTwain::SimpleValArray<double> list;
    for (std::uint32_t i = 0; i < stored.GetCount(); ++i) {
        list.Append(ToUnits(stored.GetAt(i), units));
    }
    return list;
}

double DataArg_Resolution::GetNative(int axis, TW_UINT16 units) const {
    return ToUnits(AxisAt(axis).native, units);
}

double DataArg_Resolution::GetMax(int axis) const {
    return AxisAt(axis).maximum;
}

void DataArg_Resolution::SetResolution(int axis, double value, TW_UINT16 units,
                                       const double* pageDpi, bool allowAny) {
    // Every resolution reads 1.0 in pixels, so a value in pixels names no resolution at all.
    if (units == TWUN_PIXELS || !(value > 0.0)) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    Axis& target = AxisAt(axis);
    if (pageDpi != nullptr) {
        // The page is scanned already: only its own resolution describes it.
        if (!SameAnswer(*pageDpi, value, units)) {
            throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
        }
        target.current = *pageDpi;
        return;
    }
    for (std::uint32_t i = 0; i < target.available.GetCount(); ++i) {
        const double listed = target.available.GetAt(i);
        if (SameAnswer(listed, value, units)) {
            target.current = listed;
            return;
        }
    }
    if (!allowAny) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    target.current = value * UnitsPerInch(units);
}

void DataArg_Resolution::Reset(int axis) {
    Axis& target = AxisAt(axis);
    target.native = target.maximum;
    target.current = kStartResolution;
    target.defaultValue = kStartResolution;
}
