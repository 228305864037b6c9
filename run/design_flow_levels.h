// The design flows of one gage as the charts mark them: the biological flow, each
// averaging block's flow and the harmonic mean, each with its label and the engine's
// percentile. The hydrograph draws them as lines, the flow-duration curve as points.
#pragma once

#include <string>
#include <vector>

#include "gage_result.h"

namespace vd::run {

enum class DesignFlowKind { biological, block, harmonicMean };

struct DesignFlowLevel {
    DesignFlowKind kind = DesignFlowKind::block;
    std::string label;  // "1B3", "7Q10", "Given flow", "Harmonic mean"
    double flow = 0;
    // The engine's percentile: the percent of the period's days whose flow is below it.
    double percentile = 0;
};

// The flows that were computed, biological first, then the blocks in order, then the
// harmonic mean. A zero flow is kept: the charts draw it at the floor of the log axis.
std::vector<DesignFlowLevel> designFlowLevels(const GageResult& gage);

// "7Q10: 1.23 cfs" for the legend; "7Q10: 0 cfs (at axis floor)" for a zero flow.
std::string designFlowLegend(const DesignFlowLevel& level);

}  // namespace vd::run
