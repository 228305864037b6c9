// The plot window of one results row: the hydrograph, the flow-duration curve and the
// low-flow frequency chart of the gage, each in a tab with "Reset zoom" and "Save image...".
#pragma once

#include <QDialog>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "chart_image.h"
#include "engine.h"
#include "gage_charts.h"

class QComboBox;
class QPushButton;
class QTabWidget;

namespace vd::ui {

class PlotChartView;

class PlotWindow final : public QDialog {
    Q_OBJECT
  public:
    // Draws results row `row` (1-based) of `result`.
    PlotWindow(const vd::run::RunResult& result, int row, QWidget* parent = nullptr);

    enum Tab { hydrographTab, durationTab, frequencyTab };

    PlotChartView& view(Tab tab) const { return *views_.at(tab); }
    QTabWidget* tabs;
    // The averaging periods of the frequency chart (those with a low-flow fit).
    QComboBox* averagingBox;

    // Asks for the image's size, offering the view's; none when the user cancels.
    // Replaceable for the tests.
    std::function<std::optional<ImageSize>(QSize viewSize)> chooseImageSize;
    // Asks for the image file; empty when the user cancels. Replaceable for the tests.
    std::function<QString(const QString& suggestedName)> chooseImageFile;
    // Tells why an image could not be written. Replaceable for the tests.
    std::function<void(const QString& message)> showError;

    // Draws the frequency chart of averaging block `blockIndex` of the gage.
    void showFrequencyBlock(std::size_t blockIndex);
    void saveImage(Tab tab);

  private:
    QWidget* tabPage(Tab tab, QWidget* extra = nullptr);
    QString suggestedImageName(Tab tab) const;
    QString saveImageAt(Tab tab, const QString& path, ImageSize size) const;

    vd::run::GageResult gage_;
    vd::run::Season season_;
    std::array<PlotChartView*, 3> views_{};
    std::vector<std::size_t> fittedBlocks_;  // block index of each averaging box entry
    std::size_t frequencyBlock_ = 0;         // the block the frequency tab shows
};

}  // namespace vd::ui
