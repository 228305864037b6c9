#include "gage_charts.h"

#include "chart_title.h"
#include "duration_chart.h"
#include "frequency_chart.h"
#include "frequency_plot_data.h"
#include "hydrograph_chart.h"

namespace vd::ui {

std::unique_ptr<QChart> gageChart(const vd::run::GageResult& gage, const vd::run::Season& season,
                                  ChartKind kind, std::size_t blockIndex) {
    const std::string title = vd::run::chartTitle(gage, season);
    switch (kind) {
        case ChartKind::hydrograph:
            return hydrographChart(vd::run::hydrographData(gage), title);
        case ChartKind::duration:
            return durationChart(vd::run::durationCurveData(gage), title);
        case ChartKind::frequency:
            break;
    }
    const auto data = blockIndex < gage.blocks.size() ? vd::run::frequencyPlotData(gage, blockIndex)
                                                      : std::nullopt;
    if (!data) return emptyChart(title, "No low-flow frequency fit for this averaging period.");
    return frequencyChart(*data, title);
}

}  // namespace vd::ui
