#include "design_flow_levels.h"

#include "number_format.h"

namespace vd::run {
namespace {

std::string label(int days, char letter, int years) {
    return std::to_string(days) + letter + std::to_string(years);
}

std::string biologicalLabel(const BiologicalResult& bio) {
    // Under the ammonia rule the flow may be twice the 4-day flow, as the table says.
    if (bio.twiceFourDay) return "2*" + label(4, 'B', bio.yearsBetween);
    return label(bio.averagingDays, 'B', bio.yearsBetween);
}

std::string blockLabel(const AveragingBlock& b) {
    switch (b.kind) {
        case NonBiologicalKind::hydrological:
            return label(b.days, 'Q', b.returnYears);
        case NonBiologicalKind::explicitFlow:
            return "Given flow";
        case NonBiologicalKind::percentile:
            return "Flow at given percentile";
    }
    return {};
}

}  // namespace

std::vector<DesignFlowLevel> designFlowLevels(const GageResult& gage) {
    std::vector<DesignFlowLevel> levels;
    if (gage.shortRecord) return levels;
    const auto add = [&](DesignFlowKind kind, std::string text, double flow, double percentile) {
        if (flow >= 0) levels.push_back({kind, std::move(text), flow, percentile});
    };
    const BiologicalResult& bio = gage.biological;
    if (bio.flow) add(DesignFlowKind::biological, biologicalLabel(bio), *bio.flow, bio.percentile);
    for (const AveragingBlock& b : gage.blocks)
        if (b.flow) add(DesignFlowKind::block, blockLabel(b), *b.flow, b.percentile);
    add(DesignFlowKind::harmonicMean, "Harmonic mean", gage.harmonicMean, gage.harmonicPercentile);
    return levels;
}

std::string designFlowLegend(const DesignFlowLevel& level) {
    if (level.flow == 0) return level.label + ": 0 cfs (at axis floor)";
    return level.label + ": " + NiceFlow(level.flow) + " cfs";
}

}  // namespace vd::run
