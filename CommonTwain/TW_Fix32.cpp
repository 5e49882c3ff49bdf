#include "TW_Fix32.h"

#include "Conversions.h"

#include <cmath>
#include <cstdint>

namespace CommonTwain {

namespace {

std::string FormatFix32(const char* prefix, TW_INT16 whole, TW_UINT16 frac) {
    const TW_FIX32 record{whole, frac};
    return std::string(prefix) + CommonCpp::DoubleToString(Fix32ToDouble(record)) +
           ", Whole = " + CommonCpp::ShortToString(whole) +
           ", Frac = " + CommonCpp::UShortToString(frac) + ")";
}

} // namespace

TW_FIX32 DoubleToFix32(double value) {
    double t = value * 65536.0;
    t += value < 0.0 ? -0.5 : 0.5;
    // Out-of-range values would make the integer conversion undefined; only the low
    // 32 bits are kept anyway.
    std::int64_t wide = 0;
    if (std::isfinite(t) && std::fabs(t) < 9.2e18) {
        wide = static_cast<std::int64_t>(t);
    }
    const auto bits = static_cast<std::uint32_t>(wide);
    TW_FIX32 result;
    result.Frac = static_cast<TW_UINT16>(bits & 0xFFFFu);
    result.Whole = static_cast<TW_INT16>(static_cast<std::uint16_t>(bits >> 16));
    return result;
}

double Fix32ToDouble(const TW_FIX32& value) {
    return static_cast<double>(value.Whole) + static_cast<double>(value.Frac) * (1.0 / 65536.0);
}

bool EqualFix32(const TW_FIX32& a, const TW_FIX32& b) {
    return a.Whole == b.Whole && a.Frac == b.Frac;
}

std::string Fix32ToString(const TW_FIX32& value) {
    return FormatFix32("TW_FIX32(", value.Whole, value.Frac);
}

TW_Fix32::TW_Fix32(const TW_FIX32& record) : Whole(record.Whole), Frac(record.Frac) {}

TW_Fix32::TW_Fix32(double value) {
    const TW_FIX32 record = DoubleToFix32(value);
    Whole = record.Whole;
    Frac = record.Frac;
}

std::string TW_Fix32::Dump() const {
    return FormatFix32("TW_Fix32(", Whole, Frac);
}

double TW_Fix32::ToFloat() const {
    return Fix32ToDouble(ToRecord());
}

TW_FIX32 TW_Fix32::ToRecord() const {
    return TW_FIX32{Whole, Frac};
}

} // namespace CommonTwain
