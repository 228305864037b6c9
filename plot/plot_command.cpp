// vando3-plot (and so `vando3-cli plot`): a chart of one results row drawn offscreen into a
// PNG or SVG file, by the chart builders of the plot window.
#include "plot_command.h"

#include <QApplication>
#include <QString>
#include <memory>

#include "chart_image.h"
#include "cli.h"
#include "gage_charts.h"
#include "run_outcome.h"

namespace vd::cli {
namespace {

ui::ChartKind chartKindOf(const std::string& kind) {
    if (kind == "hydrograph") return ui::ChartKind::hydrograph;
    if (kind == "duration") return ui::ChartKind::duration;
    return ui::ChartKind::frequency;
}

// Charts are widgets' work: an application is needed, on no display unless one is asked for.
std::unique_ptr<QApplication> applicationForCharts() {
    if (QApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vando3-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

// Why row `row` cannot be drawn as asked; empty when it can.
std::string refusal(const run::RunResult& result, const RunOptions& o) {
    const int row = *o.row;
    if (row < 1 || row > result.dataRowCount())
        return "There is no results row " + std::to_string(row) + "; the table has " +
               std::to_string(result.dataRowCount()) + " rows.";
    const run::GageResult& gage = result.gage(row);
    if (!gage.daily)
        return "Results row " + std::to_string(row) + " has no record to draw: " + gage.name +
               " has less than a year of data in the period.";
    if (o.plot.kind == "frequency" &&
        static_cast<std::size_t>(o.plot.averagingIndex) > gage.blocks.size())
        return "--avg-index " + std::to_string(o.plot.averagingIndex) + ": the run has " +
               std::to_string(gage.blocks.size()) + " averaging periods.";
    return {};
}

}  // namespace

int cmdPlot(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err) {
    Outcome outcome;
    if (const auto status = calculateRun(args, lib, RunCommand::plot, outcome, err)) {
        out << outcome.helpText;
        return *status;
    }
    const RunOptions& o = outcome.options;
    if (const std::string why = refusal(outcome.result(), o); !why.empty()) {
        err << why << '\n';
        return 1;
    }
    const auto application = applicationForCharts();
    const run::GageResult& gage = outcome.result().gage(*o.row);
    auto chart = ui::gageChart(gage, outcome.result().settings.season, chartKindOf(o.plot.kind),
                               static_cast<std::size_t>(o.plot.averagingIndex - 1));
    const ui::ImageSize size{QSize(o.plot.width, o.plot.height), o.plot.dpi};
    const QString error =
        ui::saveChartImage(std::move(chart), QString::fromStdString(o.plot.out), size);
    if (!error.isEmpty()) {
        err << error.toStdString() << '\n';
        return 1;
    }
    return outcome.failures ? 1 : 0;
}

}  // namespace vd::cli
