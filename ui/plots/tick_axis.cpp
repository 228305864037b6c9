#include "tick_axis.h"

#include <QCategoryAxis>
#include <QChart>

namespace vd::ui {
namespace {

// The room assumed before the chart is first laid out.
constexpr double unlaidWidth = 800;
constexpr double unlaidHeight = 440;

bool showsTicks(QCategoryAxis& axis, const std::vector<vd::run::AxisTick>& ticks) {
    const QStringList labels = axis.categoriesLabels();
    if (labels.size() != static_cast<qsizetype>(ticks.size())) return false;
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        const QString label = QString::fromStdString(ticks[k].label);
        if (labels[static_cast<qsizetype>(k)] != label || axis.endValue(label) != ticks[k].position)
            return false;
    }
    return true;
}

void showTicks(QCategoryAxis& axis, const std::vector<vd::run::AxisTick>& ticks) {
    // Changing the same labels again would lay the chart out again, and again.
    if (showsTicks(axis, ticks)) return;
    for (const QString& label : axis.categoriesLabels()) axis.remove(label);
    axis.setStartValue(axis.min());
    for (const vd::run::AxisTick& t : ticks)
        axis.append(QString::fromStdString(t.label), t.position);
}

double axisPixels(const QChart& chart, Qt::Orientation orientation) {
    const QRectF area = chart.plotArea();
    if (area.isEmpty()) return orientation == Qt::Horizontal ? unlaidWidth : unlaidHeight;
    return orientation == Qt::Horizontal ? area.width() : area.height();
}

}  // namespace

QCategoryAxis* addTickAxis(QChart& chart, Qt::Alignment side, double min, double max,
                           TickSource ticks) {
    auto* axis = new QCategoryAxis(&chart);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(min, max);
    chart.addAxis(axis, side);
    const Qt::Orientation orientation = axis->orientation();
    const auto relabel = [axis, &chart, orientation, ticks = std::move(ticks)] {
        showTicks(*axis, ticks(axis->min(), axis->max(), axisPixels(chart, orientation)));
    };
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, relabel);
    QObject::connect(&chart, &QChart::plotAreaChanged, axis, relabel);
    relabel();
    return axis;
}

}  // namespace vd::ui
