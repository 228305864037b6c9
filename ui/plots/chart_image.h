// "Save image...": a chart view written as PNG or SVG, the format chosen by the file's
// suffix; also what `vando3-cli plot` writes. Images have a white background throughout.
#pragma once

#include <QChart>
#include <QSize>
#include <QString>
#include <memory>

#include "image_scale.h"

class QChartView;

namespace vd::ui {

// An image's size in pixels and its resolution: the chart is laid out at the size a screen
// shows it and scaled to the pixels (run::imageScale).
struct ImageSize {
    QSize pixels;
    int dpi = vd::run::screenDpi;
};

// The size of an image made without a window.
inline constexpr QSize defaultImageSize{1000, 650};
// A figure for a fact sheet: 6.5 by 4 inches at 300 dpi.
inline constexpr ImageSize factSheetImageSize{{1950, 1200}, 300};

// A legend too wide for one row below a chart laid out `layoutWidth` pixels wide would cut
// every label short: it is moved beside the chart, one entry a line. For a laid-out chart.
void fitLegendToWidth(QChart& chart, int layoutWidth);

// Writes what the view shows, at the view's size. Returns an empty text, or why the file
// could not be written (an unknown suffix among them).
QString saveChartImage(QChartView& view, const QString& path);

// Writes a chart laid out for `size` in a view that is never shown on screen.
QString saveChartImage(std::unique_ptr<QChart> chart, const QString& path,
                       ImageSize size = {defaultImageSize});

}  // namespace vd::ui
