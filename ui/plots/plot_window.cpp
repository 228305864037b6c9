#include "plot_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include "chart_image.h"
#include "image_size_dialog.h"
#include "plot_chart_view.h"

namespace vd::ui {
namespace {

const char* const tabNames[] = {"hydrograph", "duration", "frequency"};
const ChartKind tabCharts[] = {ChartKind::hydrograph, ChartKind::duration, ChartKind::frequency};

// A chart drawn again for an image shows the ranges the user zoomed or panned to.
void copyRanges(const QChart& from, QChart& to) {
    const QList<QAbstractAxis*> source = from.axes();
    const QList<QAbstractAxis*> target = to.axes();
    for (qsizetype k = 0; k < std::min(source.size(), target.size()); ++k) {
        const auto* shown = qobject_cast<const QValueAxis*>(source[k]);
        auto* drawn = qobject_cast<QValueAxis*>(target[k]);
        if (shown && drawn) drawn->setRange(shown->min(), shown->max());
    }
}

// The blocks whose minima were fitted: the choices of the frequency tab.
std::vector<std::size_t> fittedBlocksOf(const vd::run::GageResult& gage) {
    std::vector<std::size_t> blocks;
    for (std::size_t k = 0; k < gage.blocks.size(); ++k)
        if (gage.blocks[k].kind == vd::run::NonBiologicalKind::hydrological &&
            gage.blocks[k].fit.ok)
            blocks.push_back(k);
    return blocks;
}

}  // namespace

PlotWindow::PlotWindow(const vd::run::RunResult& result, int row, QWidget* parent)
    : QDialog(parent),
      tabs(new QTabWidget(this)),
      averagingBox(new QComboBox(this)),
      chooseImageSize([this](QSize viewSize) -> std::optional<ImageSize> {
          ImageSizeDialog dialog(viewSize, this);
          if (dialog.exec() != QDialog::Accepted) return std::nullopt;
          return dialog.chosen();
      }),
      chooseImageFile([this](const QString& suggested) {
          return QFileDialog::getSaveFileName(
              this, QStringLiteral("Save image"), suggested,
              QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"));
      }),
      showError([this](const QString& message) {
          QMessageBox::warning(this, QStringLiteral("Error"), message);
      }),
      gage_(result.gage(row)),
      season_(result.settings.season) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("VANDO 3 Plots - ") + QString::fromStdString(gage_.name));
    resize(1000, 700);
    for (PlotChartView*& view : views_) view = new PlotChartView(this);
    views_[hydrographTab]->replaceChart(gageChart(gage_, season_, ChartKind::hydrograph));
    views_[durationTab]->replaceChart(gageChart(gage_, season_, ChartKind::duration));

    fittedBlocks_ = fittedBlocksOf(gage_);
    for (const std::size_t k : fittedBlocks_)
        averagingBox->addItem(QStringLiteral("%1-day minima").arg(gage_.blocks[k].days));
    auto* averaging = new QWidget(this);
    auto* averagingRow = new QHBoxLayout(averaging);
    averagingRow->setContentsMargins(0, 0, 0, 0);
    auto* averagingLabel = new QLabel(QStringLiteral("&Averaging period:"), averaging);
    averagingLabel->setBuddy(averagingBox);
    averagingRow->addWidget(averagingLabel);
    averagingRow->addWidget(averagingBox);
    averaging->setEnabled(fittedBlocks_.size() > 1);

    tabs->addTab(tabPage(hydrographTab), QStringLiteral("&Hydrograph"));
    tabs->addTab(tabPage(durationTab), QStringLiteral("Flow-&duration curve"));
    tabs->addTab(tabPage(frequencyTab, averaging), QStringLiteral("Low-flow &frequency"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);

    // Without a fitted block the chart says that there is no fit.
    showFrequencyBlock(fittedBlocks_.empty() ? gage_.blocks.size() : fittedBlocks_.front());
    connect(averagingBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < fittedBlocks_.size())
            showFrequencyBlock(fittedBlocks_[static_cast<std::size_t>(index)]);
    });
}

QWidget* PlotWindow::tabPage(Tab tab, QWidget* extra) {
    auto* page = new QWidget(tabs);
    auto* column = new QVBoxLayout(page);
    column->addWidget(views_[tab], 1);
    auto* buttons = new QHBoxLayout;
    if (extra) buttons->addWidget(extra);
    buttons->addStretch(1);
    auto* reset = new QPushButton(QStringLiteral("&Reset zoom"), page);
    reset->setObjectName(QStringLiteral("resetButton"));
    reset->setToolTip(
        QStringLiteral("Wheel or drag a rectangle to zoom; drag with the right "
                       "button or Shift to pan; Home resets"));
    auto* save = new QPushButton(QStringLiteral("&Save image..."), page);
    save->setObjectName(QStringLiteral("saveImageButton"));
    reset->setAutoDefault(false);
    save->setAutoDefault(false);
    buttons->addWidget(reset);
    buttons->addWidget(save);
    column->addLayout(buttons);
    PlotChartView* view = views_[tab];
    connect(reset, &QPushButton::clicked, view, &PlotChartView::resetZoom);
    connect(save, &QPushButton::clicked, this, [this, tab] { saveImage(tab); });
    return page;
}

void PlotWindow::showFrequencyBlock(std::size_t blockIndex) {
    frequencyBlock_ = blockIndex;
    views_[frequencyTab]->replaceChart(gageChart(gage_, season_, ChartKind::frequency, blockIndex));
}

QString PlotWindow::suggestedImageName(Tab tab) const {
    // The site number or name, in characters every file system takes.
    QString gage = QString::fromStdString(gage_.name).section(QLatin1Char(' '), 0, 0);
    gage.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return (gage.isEmpty() ? QStringLiteral("gage") : gage) + QLatin1Char('_') +
           QString::fromLatin1(tabNames[tab]) + QStringLiteral(".png");
}

void PlotWindow::saveImage(Tab tab) {
    const std::optional<ImageSize> size = chooseImageSize(views_[tab]->size());
    if (!size) return;
    const QString path = chooseImageFile(suggestedImageName(tab));
    if (path.isEmpty()) return;
    const QString error = saveImageAt(tab, path, *size);
    if (!error.isEmpty()) showError(error);
}

// The window's size is what the view shows; any other size lays the chart out afresh.
QString PlotWindow::saveImageAt(Tab tab, const QString& path, ImageSize size) const {
    PlotChartView& view = *views_[tab];
    if (size.pixels == view.size() && size.dpi == vd::run::screenDpi)
        return saveChartImage(view, path);
    auto chart = gageChart(gage_, season_, tabCharts[tab], frequencyBlock_);
    if (view.chart()) copyRanges(*view.chart(), *chart);
    return saveChartImage(std::move(chart), path, size);
}

}  // namespace vd::ui
