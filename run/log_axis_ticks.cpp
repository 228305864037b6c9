#include "log_axis_ticks.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <span>

namespace vd::run {
namespace {

constexpr std::array<int, 1> powersOnly{1};
constexpr std::array<int, 3> oneTwoFive{1, 2, 5};
constexpr std::array<int, 9> everyDigit{1, 2, 3, 4, 5, 6, 7, 8, 9};

// "0.02", "500", "1e+06": as short as the value allows.
std::string flowLabel(int mantissa, int exponent) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", mantissa * std::pow(10.0, exponent));
    return text;
}

// The closest two labels of a set lie where the set is densest: 1 and 2 for digits, 2 and
// 5 ... 5 and 10 for 1-2-5 (log 2 is the smaller), a whole decade for powers.
double closestSpacing(std::span<const int> mantissas) {
    if (mantissas.size() == everyDigit.size()) return std::log10(10.0 / 9.0);
    if (mantissas.size() == oneTwoFive.size()) return std::log10(2.0);
    return 1;
}

}  // namespace

std::vector<AxisTick> logAxisTicks(double lowPosition, double highPosition, double pixels) {
    std::vector<AxisTick> ticks;
    if (!(highPosition > lowPosition) || !std::isfinite(lowPosition) ||
        !std::isfinite(highPosition) || !(pixels > 0))
        return ticks;
    const double pixelsPerDecade = pixels / (highPosition - lowPosition);
    std::span<const int> mantissas = powersOnly;
    for (const std::span<const int> set :
         {std::span<const int>(everyDigit), std::span<const int>(oneTwoFive)})
        if (closestSpacing(set) * pixelsPerDecade >= leastLabelSpacing) {
            mantissas = set;
            break;
        }
    // Powers only: every k-th decade, so that even a long axis on a short chart stays legible.
    const int decadeStep =
        std::max(1, static_cast<int>(std::ceil(leastLabelSpacing / pixelsPerDecade)));
    const double slack = 1e-9 * (highPosition - lowPosition);
    const int firstDecade = static_cast<int>(std::floor(lowPosition));
    const int lastDecade = static_cast<int>(std::floor(highPosition + slack));
    for (int e = firstDecade; e <= lastDecade; ++e) {
        if (mantissas.size() == 1 && e % decadeStep != 0) continue;
        for (const int m : mantissas) {
            const double position = e + std::log10(static_cast<double>(m));
            if (position >= lowPosition - slack && position <= highPosition + slack)
                ticks.push_back({position, flowLabel(m, e)});
        }
    }
    return ticks;
}

}  // namespace vd::run
