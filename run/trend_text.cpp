#include "trend_text.h"

#include <algorithm>
#include <cmath>

#include "number_format.h"

namespace vd::run {
namespace {

constexpr const char* minusSign = "\u2212";

// Decimals that give two significant digits, none from 100 up.
int decimalsForTwoDigits(double magnitude) {
    if (magnitude == 0 || !std::isfinite(magnitude)) return 0;
    return std::max(0, 1 - static_cast<int>(std::floor(std::log10(magnitude))));
}

std::string slopeText(double slope) {
    const double magnitude = std::fabs(slope);
    // Rounding may carry into the next power of ten (0.0996 -> 0.10).
    const int first = decimalsForTwoDigits(magnitude);
    const double scale = std::pow(10.0, first);
    const int decimals = decimalsForTwoDigits(std::round(magnitude * scale) / scale);
    const std::string digits = formatFixed(magnitude, decimals);
    // A slope that rounds to zero has no sign.
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (slope < 0 && !zero ? minusSign : "") + digits;
}

std::string pText(double p) {
    if (p < 0.001) return "p < 0.001";
    return "p = " + formatFixed(p, p < 0.01 ? 3 : 2);
}

}  // namespace

std::string trendText(const MinimaTrend& trend) {
    return "trend: " + slopeText(trend.slopePerDecade) + " cfs/decade, " + pText(trend.p);
}

std::string trendText(const std::optional<MinimaTrend>& trend) {
    return trend ? trendText(*trend) : "no trend test (fewer than 3 season-years)";
}

}  // namespace vd::run
