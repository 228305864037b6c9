#include "probability_scale.h"

#include <algorithm>

#include "lpiii/quantile.h"

namespace vd::run {
namespace {

struct TickProbability {
    double p;
    const char* probability;
    const char* returnPeriod;
};

constexpr TickProbability tickProbabilities[] = {
    {0.001, "0.001", "1000 yr"},

    {0.01, "0.01", "100 yr"},
    {0.02, "0.02", "50 yr"},
    {0.05, "0.05", "20 yr"},
    {0.1, "0.1", "10 yr"},
    {0.2, "0.2", "5 yr"},
    {0.5, "0.5", "2 yr"},
    {0.8, "0.8", ""},
    {0.9, "0.9", ""},
    {0.95, "0.95", ""},
    {0.98, "0.98", ""},
    {0.99, "0.99", ""},

    {0.999, "0.999", ""},
};

struct TickPercent {
    double percent;
    const char* label;
};

constexpr TickPercent tickPercents[] = {
    {0.01, "0.01"}, {0.1, "0.1"},   {1, "1"},         {5, "5"},   {10, "10"},
    {20, "20"},     {50, "50"},     {80, "80"},       {90, "90"}, {95, "95"},
    {99, "99"},     {99.9, "99.9"}, {99.99, "99.99"},
};

constexpr double margin = 0.15;  // in standard deviations, beyond the outermost point

template <typename Fn>
void eachPoint(const FrequencyPlotData& d, Fn&& fn) {
    for (const auto* points : {&d.minima, &d.fitted, &d.lower90, &d.upper90})
        for (const ProbabilityPoint& p : *points) fn(p);
    if (d.design) fn(*d.design);
}

}  // namespace

// The Pearson III quantile of skew 0 is the normal one.
double probabilityPosition(double nonExceedance) {
    return lpiii::frequencyFactor(0, nonExceedance);
}

ProbabilityScale probabilityScale(const FrequencyPlotData& data) {
    ProbabilityScale scale;
    scale.low = probabilityPosition(0.05);
    scale.high = probabilityPosition(0.95);
    eachPoint(data, [&](const ProbabilityPoint& p) {
        if (!(p.nonExceedance > 0 && p.nonExceedance < 1)) return;
        const double z = probabilityPosition(p.nonExceedance);
        scale.low = std::min(scale.low, z - margin);
        scale.high = std::max(scale.high, z + margin);
    });
    for (const TickProbability& t : tickProbabilities) {
        const double z = probabilityPosition(t.p);
        if (z >= scale.low && z <= scale.high)
            scale.ticks.push_back({z, t.probability, t.returnPeriod});
    }
    return scale;
}

double percentPosition(double percent) {
    return probabilityPosition(percent / 100);
}

ProbabilityScale durationScale(const DurationCurveData& data) {
    ProbabilityScale scale;
    scale.low = percentPosition(1);
    scale.high = percentPosition(99);
    const auto take = [&](double percent) {
        if (!(percent > 0 && percent < 100)) return;
        const double z = percentPosition(percent);
        scale.low = std::min(scale.low, z - margin);
        scale.high = std::max(scale.high, z + margin);
    };
    for (const DurationPoint& p : data.curve) take(p.percentExceeded);
    for (const DurationMark& m : data.marks) take(m.percentExceeded);
    for (const TickPercent& t : tickPercents) {
        const double z = percentPosition(t.percent);
        if (z >= scale.low && z <= scale.high) scale.ticks.push_back({z, t.label, ""});
    }
    return scale;
}

double durationMarkPosition(const ProbabilityScale& scale, double percentExceeded) {
    if (!(percentExceeded > 0)) return scale.low;
    if (!(percentExceeded < 100)) return scale.high;
    return std::clamp(percentPosition(percentExceeded), scale.low, scale.high);
}

LogAxisRange frequencyFlowRange(const FrequencyPlotData& data) {
    LogAxisRangeBuilder range;
    eachPoint(data, [&](const ProbabilityPoint& p) { range.take(p.flow); });
    return range.range();
}

}  // namespace vd::run
