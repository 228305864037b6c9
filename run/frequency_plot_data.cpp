#include "frequency_plot_data.h"

#include <algorithm>
#include <cmath>

#include "confidence_limits.h"
#include "log_pearson_library.h"
#include "lpiii/quantile.h"
#include "trend_text.h"

namespace vd::run {
namespace {

// The curve spans non-exceedance 0.002 ... 0.998 in equal steps of the normal deviate, so
// that it is evenly dense on a normal-probability axis.
constexpr double widestDeviate = 2.8781617390954826;  // the normal quantile of 0.998
constexpr int curveSteps = 120;

double standardNormal(double z) {
    return 0.5 * std::erfc(-z / std::sqrt(2.0));
}

bool insideUnitInterval(double p) {
    return p > 0 && p < 1;
}

std::vector<double> curveProbabilities(double designP) {
    std::vector<double> p;
    p.reserve(curveSteps + 2);
    for (int k = 0; k <= curveSteps; ++k)
        p.push_back(standardNormal(-widestDeviate + 2 * widestDeviate * k / curveSteps));
    if (insideUnitInterval(designP) && std::find(p.begin(), p.end(), designP) == p.end()) {
        p.push_back(designP);
        std::sort(p.begin(), p.end());
    }
    return p;
}

bool drawable(double flow) {
    return std::isfinite(flow) && flow > 0;
}

// The minima smallest first at Weibull positions i / (n + 1); a zero year (as the fit
// takes it) at 0.
std::vector<ProbabilityPoint> plottedMinima(const std::vector<SeasonMinimum>& minima) {
    std::vector<double> flows;
    flows.reserve(minima.size());
    for (const SeasonMinimum& m : minima) flows.push_back(m.flow <= zeroYearFlow ? 0.0 : m.flow);
    std::sort(flows.begin(), flows.end());
    std::vector<ProbabilityPoint> points;
    points.reserve(flows.size());
    const double n = static_cast<double>(flows.size());
    for (std::size_t i = 0; i < flows.size(); ++i)
        points.push_back({static_cast<double>(i + 1) / (n + 1), flows[i]});
    return points;
}

std::string zeroYearsNoteOf(const std::vector<ProbabilityPoint>& minima) {
    const auto zeros = std::count_if(minima.begin(), minima.end(),
                                     [](const ProbabilityPoint& p) { return p.flow == 0; });
    if (zeros == 0) return {};
    return std::to_string(zeros) + " of " + std::to_string(minima.size()) +
           " years had a zero minimum";
}

}  // namespace

std::optional<FrequencyPlotData> frequencyPlotData(const GageResult& gage, std::size_t blockIndex) {
    if (blockIndex >= gage.blocks.size()) return std::nullopt;
    const AveragingBlock& block = gage.blocks[blockIndex];
    if (block.kind != NonBiologicalKind::hydrological || !block.fit.ok) return std::nullopt;

    FrequencyPlotData data;
    data.days = block.days;
    data.returnYears = block.returnYears;
    data.minima = plottedMinima(block.minima);
    data.zeroYearsNote = zeroYearsNoteOf(data.minima);
    const double designP = lpiii::lowFlowProbability(block.returnYears);
    for (const double p : curveProbabilities(designP)) {
        if (const auto flow = fittedFlow(block.fit, p); flow && drawable(*flow))
            data.fitted.push_back({p, *flow});
        if (const auto limits = confidenceLimits(block.fit, p)) {
            if (drawable(limits->lower)) data.lower90.push_back({p, limits->lower});
            if (drawable(limits->upper)) data.upper90.push_back({p, limits->upper});
        }
    }
    // A 1-year flow lies at p = 1, off a probability axis.
    if (block.flow && insideUnitInterval(designP))
        data.design = ProbabilityPoint{designP, *block.flow};
    data.trendText = trendText(block.trend);
    return data;
}

}  // namespace vd::run
