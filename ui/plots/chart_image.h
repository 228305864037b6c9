// "Save image...": a chart view written as PNG or SVG, the format chosen by the file's
// suffix; also what `vando3-cli plot` writes.
#pragma once

#include <QChart>
#include <QSize>
#include <QString>
#include <memory>

class QChartView;

namespace vd::ui {

// The size of an image made without a window.
inline constexpr QSize defaultImageSize{1000, 650};

// Writes what the view shows. Returns an empty text, or why the file could not be written
// (an unknown suffix among them).
QString saveChartImage(QChartView& view, const QString& path);

// Writes a chart drawn at `size` in a view that is never shown on screen.
QString saveChartImage(std::unique_ptr<QChart> chart, const QString& path,
                       QSize size = defaultImageSize);

}  // namespace vd::ui
