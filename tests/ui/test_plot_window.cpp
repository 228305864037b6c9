// The plot window and "Save as CSV..." of the results window, over a run of the example
// gages: what opens the plots (button, context menu, keyboard), that each chart's series
// hold the numbers of the chart data, the images written, and the CSV against the batch
// command's for the same gages.
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <cmath>
#include <set>
#include <sstream>

#include "chart_image.h"
#include "chart_parts.h"
#include "cli.h"
#include "duration_chart.h"
#include "duration_curve_data.h"
#include "engine.h"
#include "frequency_chart.h"
#include "gage_charts.h"
#include "hydrograph_chart.h"
#include "hydrograph_data.h"
#include "image_size_dialog.h"
#include "main_window_run.h"
#include "plot_chart_view.h"
#include "plot_window.h"
#include "probability_scale.h"
#include "results/grid_text_model.h"
#include "results/results_grid.h"
#include "results/results_window.h"
#include "results_csv.h"
#include "results_fixture.h"
#include "widget_lookup.h"

using namespace vd::ui;
using namespace vd::ui::testing;

namespace {

template <typename Series>
QList<Series*> seriesOf(const QChart& chart, const QString& name = {}) {
    QList<Series*> found;
    for (QAbstractSeries* s : chart.series())
        if (auto* typed = qobject_cast<Series*>(s); typed && (name.isEmpty() || s->name() == name))
            found << typed;
    return found;
}

QList<QPointF> pointsOf(const QXYSeries& series) {
    return series.points();
}

// The verde gage: row 2 of the example run.
constexpr int verdeRow = 2;

}  // namespace

class TestPlotWindow final : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void plotButtonOpensTheCurrentRow();
    void contextMenuOfARowOpensItsPlots_data();
    void contextMenuOfARowOpensItsPlots();
    void ctrlPOpensThePlotsOfTheRowTheKeyboardIsOn();
    void rowWithoutRecordBeeps();
    void hydrographSeriesHoldTheChartData();
    void durationSeriesHoldTheChartData();
    void frequencySeriesHoldTheChartData();
    void zoomAndResetChangeTheAxisRange();
    void saveImageWritesPngAndSvg();
    void zeroDesignFlowsAndZeroYearsStayOnTheCharts();
    void dateLabelsFollowTheZoomAndNeverRepeat();
    void savedImageHasTheChosenSizeAndResolution();
    void aNarrowFigureKeepsItsLegendWhole();
    void saveCsvWritesTheBatchCsvOfTheGages();
    void csvNameFollowsTheParameterFile();

  private:
    std::unique_ptr<MainWindowFixture> fixture_;
    vd::run::RunResult result_;
    QStringList files_;
    std::unique_ptr<ResultsWindow> window_;
    int beeps_ = 0;
};

void TestPlotWindow::initTestCase() {
    fixture_ = std::make_unique<MainWindowFixture>();
    QVERIFY(fixture_->addExamples());
    vd::test::child<QLineEdit>(fixture_->window(), "averagingPeriods")
        ->setText(QStringLiteral("7,30"));
    const vd::run::RunInput input = fixture_->window().runInput();
    for (const vd::run::GageRow& row : input.rows)
        if (!files_.contains(QString::fromStdString(row.path)))
            files_ << QString::fromStdString(row.path);
    result_ = vd::run::runCalculation(input, fixture_->lib());
    QCOMPARE(result_.dataRowCount(), 3);
    QVERIFY(result_.gage(verdeRow).name.find("VERDE") != std::string::npos);
}

void TestPlotWindow::init() {
    window_ = std::make_unique<ResultsWindow>();
    beeps_ = 0;
    window_->beep = [this] { ++beeps_; };
    window_->showModally = [](QDialog&) {};
    window_->setResults(result_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestPlotWindow::cleanup() {
    window_.reset();
}

PlotWindow* openedPlot(const ResultsWindow& results) {
    const auto plots = results.findChildren<PlotWindow*>();
    return plots.size() == 1 ? plots.front() : nullptr;
}

void TestPlotWindow::plotButtonOpensTheCurrentRow() {
    ResultsGrid* grid = window_->grid;
    grid->setCurrentIndex(window_->model().index(verdeRow - 1, 4));
    QTest::mouseClick(window_->plotButton, Qt::LeftButton);
    PlotWindow* plots = openedPlot(*window_);
    QVERIFY(plots);
    QVERIFY(plots->isVisible());
    QVERIFY(plots->windowTitle().contains(QStringLiteral("VERDE")));
    QCOMPARE(plots->tabs->count(), 3);
    const QString title = plots->view(PlotWindow::hydrographTab).chart()->title();
    QVERIFY2(title.contains(QStringLiteral("Climatic year Apr 1 - Mar 31, ")), qPrintable(title));
}

void TestPlotWindow::contextMenuOfARowOpensItsPlots_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("click on row 1") << 1 << false;
    QTest::newRow("click on row 3") << 3 << false;
    QTest::newRow("menu key on row 2") << 2 << true;
}

void TestPlotWindow::contextMenuOfARowOpensItsPlots() {
    QFETCH(int, row);
    QFETCH(bool, byKeyboard);
    QStringList entries;
    window_->showMenu = [&](QMenu& menu, const QPoint&) {
        for (QAction* a : menu.actions()) entries << a->text();
        menu.actions().front()->trigger();
    };
    ResultsGrid* grid = window_->grid;
    if (byKeyboard) {
        grid->setFocus();
        grid->setCurrentIndex(window_->model().index(row - 1, 6));
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                grid->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(grid->viewport(), &event);
    } else {
        const QPoint at = grid->cellCentre(6, row);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at - grid->viewport()->pos(),
                                grid->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &event);
    }
    QCOMPARE(entries,
             QStringList({QStringLiteral("&Plot..."), QStringLiteral("&Excursion analysis...")}));
    PlotWindow* plots = openedPlot(*window_);
    QVERIFY(plots);
    QVERIFY(plots->windowTitle().endsWith(QString::fromStdString(result_.gage(row).name)));
}

void TestPlotWindow::ctrlPOpensThePlotsOfTheRowTheKeyboardIsOn() {
    ResultsGrid* grid = window_->grid;
    grid->setFocus();
    grid->setCurrentIndex(window_->model().index(2, 5));
    QTest::keyClick(grid, Qt::Key_P, Qt::ControlModifier);
    PlotWindow* plots = openedPlot(*window_);
    QVERIFY(plots);
    QVERIFY(plots->windowTitle().endsWith(QString::fromStdString(result_.gage(3).name)));
}

void TestPlotWindow::rowWithoutRecordBeeps() {
    QCOMPARE(window_->openPlot(0), nullptr);
    QCOMPARE(window_->openPlot(result_.dataRowCount() + 1), nullptr);
    vd::run::RunResult shortOne = result_;
    shortOne.gages[0].daily.reset();
    shortOne.gages[0].shortRecord = true;
    window_->setResults(shortOne);
    QCOMPARE(window_->openPlot(1), nullptr);
    QCOMPARE(beeps_, 3);
    QVERIFY(window_->findChildren<PlotWindow*>().isEmpty());
}

void TestPlotWindow::hydrographSeriesHoldTheChartData() {
    PlotWindow plots(result_, verdeRow);
    const QChart& chart = *plots.view(PlotWindow::hydrographTab).chart();
    const vd::run::HydrographData data = vd::run::hydrographData(result_.gage(verdeRow));

    const auto daily = seriesOf<QLineSeries>(chart, QString::fromLatin1(dailyFlowName));
    QCOMPARE(daily.size(), static_cast<qsizetype>(data.segments.size()));
    for (qsizetype s = 0; s < daily.size(); ++s) {
        const auto& segment = data.segments[static_cast<std::size_t>(s)];
        const QList<QPointF> points = pointsOf(*daily[s]);
        QCOMPARE(points.size(), static_cast<qsizetype>(segment.size()));
        for (qsizetype i = 0; i < points.size(); i += 97) {
            const auto& p = segment[static_cast<std::size_t>(i)];
            QCOMPARE(points[i],
                     QPointF(vd::run::epochMilliseconds(p.day), data.flowRange.position(p.flow)));
        }
    }
    for (const vd::run::DesignFlowLevel& level : data.levels) {
        const auto line = seriesOf<QLineSeries>(chart, designFlowName(level));
        QCOMPARE(line.size(), 1);
        for (const QPointF& p : pointsOf(*line.front()))
            QCOMPARE(p.y(), data.flowRange.position(level.flow));
    }
    // The shaded area steps up over each excursion period and back down after it.
    const auto shading = seriesOf<QAreaSeries>(chart, QString::fromLatin1(excursionPeriodsName));
    QCOMPARE(shading.size(), 1);
    const QList<QPointF> upper = pointsOf(*shading.front()->upperSeries());
    QCOMPARE(upper.size(), static_cast<qsizetype>(4 * data.excursionPeriods.size()));
    for (std::size_t k = 0; k < data.excursionPeriods.size(); ++k) {
        const auto& period = data.excursionPeriods[k];
        const auto at = static_cast<qsizetype>(4 * k);
        QCOMPARE(upper[at + 1], QPointF(vd::run::epochMilliseconds(period.firstDay),
                                        data.flowRange.highPosition()));
        QCOMPARE(upper[at + 2], QPointF(vd::run::epochMilliseconds(period.lastDay + 1),
                                        data.flowRange.highPosition()));
    }
    const auto outlines = seriesOf<QLineSeries>(chart, QString::fromLatin1(clustersName));
    QCOMPARE(outlines.size(), static_cast<qsizetype>(data.clusters.size()));
    QVERIFY(!data.clusters.empty());
    QCOMPARE(pointsOf(*outlines.front()).front().x(),
             vd::run::epochMilliseconds(data.clusters.front().firstDay));
}

void TestPlotWindow::durationSeriesHoldTheChartData() {
    PlotWindow plots(result_, verdeRow);
    const QChart& chart = *plots.view(PlotWindow::durationTab).chart();
    const vd::run::DurationCurveData data = vd::run::durationCurveData(result_.gage(verdeRow));
    const auto curve = seriesOf<QLineSeries>(chart, QString::fromLatin1(durationCurveName));
    QCOMPARE(curve.size(), 1);
    const QList<QPointF> points = pointsOf(*curve.front());
    QVERIFY(!points.empty());
    QCOMPARE(points.front(), QPointF(vd::run::percentPosition(data.curve.front().percentExceeded),
                                     data.flowRange.position(data.curve.front().flow)));
    const auto marks = seriesOf<QScatterSeries>(chart);
    QCOMPARE(marks.size(), static_cast<qsizetype>(data.marks.size()));
    for (qsizetype k = 0; k < marks.size(); ++k) {
        const vd::run::DurationMark& mark = data.marks[static_cast<std::size_t>(k)];
        QVERIFY(marks[k]->name().startsWith(designFlowName(mark.level)));
        QCOMPARE(pointsOf(*marks[k]),
                 QList<QPointF>({QPointF(vd::run::percentPosition(mark.percentExceeded),
                                         data.flowRange.position(mark.level.flow))}));
    }
}

void TestPlotWindow::frequencySeriesHoldTheChartData() {
    // Numbers made up for the chart alone: a zero year, drawn apart at the axis floor.
    vd::run::FrequencyPlotData data;
    data.days = 7;
    data.returnYears = 10;
    data.minima = {{0.2, 0}, {0.4, 12}, {0.6, 20}, {0.8, 35}};
    data.fitted = {{0.05, 5}, {0.5, 16}, {0.95, 50}};
    data.lower90 = {{0.05, 3}, {0.5, 13}, {0.95, 40}};
    data.upper90 = {{0.05, 8}, {0.5, 19}, {0.95, 70}};
    data.design = vd::run::ProbabilityPoint{0.1, 7.5};
    data.trendText = "trend: -3.1 cfs/decade, p = 0.02";
    data.zeroYearsNote = "1 of 4 years had a zero minimum";
    const auto chart = frequencyChart(data, "GAGE\nClimatic year Apr 1 - Mar 31, 1990-2021");
    QVERIFY(chart->title().contains(QStringLiteral("trend: -3.1 cfs/decade, p = 0.02")));
    QVERIFY(chart->title().contains(QStringLiteral("1 of 4 years had a zero minimum")));

    const auto z = [](double p) { return vd::run::probabilityPosition(p); };
    const vd::run::LogAxisRange range = vd::run::frequencyFlowRange(data);
    QCOMPARE(range.low, 1.0);
    const auto y = [&](double flow) { return range.position(flow); };
    const auto scatter = seriesOf<QScatterSeries>(*chart);
    QCOMPARE(scatter.size(), 3);
    QCOMPARE(scatter[0]->name(), QStringLiteral("Seasonal annual 7-day minima"));
    QCOMPARE(pointsOf(*scatter[0]),
             QList<QPointF>({{z(0.4), y(12)}, {z(0.6), y(20)}, {z(0.8), y(35)}}));
    QCOMPARE(scatter[1]->name(), QStringLiteral("Zero minima: 0 cfs (at axis floor)"));
    QCOMPARE(pointsOf(*scatter[1]), QList<QPointF>({{z(0.2), range.lowPosition()}}));
    QCOMPARE(scatter[2]->name(), QStringLiteral("7Q10: 7.50 cfs"));
    QCOMPARE(pointsOf(*scatter[2]), QList<QPointF>({{z(0.1), y(7.5)}}));
    const auto fitted = seriesOf<QLineSeries>(*chart, QString::fromLatin1(fittedCurveName));
    QCOMPARE(fitted.size(), 1);
    QCOMPARE(pointsOf(*fitted.front()),
             QList<QPointF>({{z(0.05), y(5)}, {z(0.5), y(16)}, {z(0.95), y(50)}}));
    const auto band = seriesOf<QAreaSeries>(*chart, QString::fromLatin1(confidenceBandName));
    QCOMPARE(band.size(), 1);
    QCOMPARE(pointsOf(*band.front()->lowerSeries()).back(), QPointF(z(0.95), y(40)));
    QCOMPARE(pointsOf(*band.front()->upperSeries()).front(), QPointF(z(0.05), y(8)));
    // The flow axis is labelled at 1, 2 and 5 of each decade: 1 ... 100 cfs here.
    auto* flow = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical).front());
    QVERIFY(flow);
    QCOMPARE(flow->categoriesLabels(), QStringList({"1", "2", "5", "10", "20", "50", "100"}));
    QCOMPARE(flow->endValue(QStringLiteral("20")), std::log10(20.0));
    // The probability axis is labelled at probabilities, with return periods below 0.5.
    const auto axes = chart->axes(Qt::Horizontal);
    QCOMPARE(axes.size(), 1);
    auto* probability = qobject_cast<QCategoryAxis*>(axes.front());
    QVERIFY(probability);
    QVERIFY(probability->categoriesLabels().contains(QStringLiteral("0.1<br>10 yr")));
    QCOMPARE(probability->endValue(QStringLiteral("0.1<br>10 yr")), z(0.1));
}

void TestPlotWindow::zoomAndResetChangeTheAxisRange() {
    PlotWindow plots(result_, verdeRow);
    plots.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plots));
    plots.tabs->setCurrentIndex(PlotWindow::durationTab);
    PlotChartView& view = plots.view(PlotWindow::durationTab);
    const auto* axis = qobject_cast<QCategoryAxis*>(view.chart()->axes(Qt::Horizontal).front());
    QVERIFY(axis);
    const double width = axis->max() - axis->min();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Plus);
    QVERIFY(axis->max() - axis->min() < width * 0.9);
    auto* reset =
        plots.tabs->currentWidget()->findChild<QPushButton*>(QStringLiteral("resetButton"));
    QVERIFY(reset);
    QTest::mouseClick(reset, Qt::LeftButton);
    QCOMPARE(axis->max() - axis->min(), width);
}

void TestPlotWindow::saveImageWritesPngAndSvg() {
    QTemporaryDir dir;
    PlotWindow plots(result_, verdeRow);
    plots.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plots));
    QStringList errors;
    plots.showError = [&](const QString& message) { errors << message; };
    plots.chooseImageSize = [](QSize viewSize) -> std::optional<ImageSize> {
        return ImageSize{viewSize};
    };
    QString suggested;
    for (const char* name : {"h.png", "h.svg", "h.bmp"}) {
        plots.chooseImageFile = [&](const QString& s) {
            suggested = s;
            return dir.filePath(QString::fromLatin1(name));
        };
        plots.saveImage(PlotWindow::hydrographTab);
    }
    QCOMPARE(suggested, QStringLiteral("09506000_hydrograph.png"));
    QFile png(dir.filePath(QStringLiteral("h.png")));
    QVERIFY(png.open(QIODevice::ReadOnly));
    QCOMPARE(png.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QSvgRenderer svg(dir.filePath(QStringLiteral("h.svg")));
    QVERIFY(svg.isValid());
    QCOMPARE(errors.size(), 1);  // .bmp is refused
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("h.bmp"))));
    // Saved again over the first ones, the pictures are all the folder holds.
    for (const char* name : {"h.png", "h.svg"}) {
        plots.chooseImageFile = [&](const QString&) {
            return dir.filePath(QString::fromLatin1(name));
        };
        plots.saveImage(PlotWindow::frequencyTab);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("h.png"), QStringLiteral("h.svg")}));
    QCOMPARE(errors.size(), 1);

    // A picture that cannot be written names the file and the reason, and leaves nothing.
    for (const char* name : {"missing/h.png", "missing/h.svg"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        plots.chooseImageFile = [&](const QString&) { return path; };
        plots.saveImage(PlotWindow::hydrographTab);
        QCOMPARE(errors.last(),
                 QStringLiteral("Cannot write \"%1\": No such file or directory").arg(path));
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing"))));
}

int rowNamed(const vd::run::RunResult& result, const char* part) {
    for (int row = 1; row <= result.dataRowCount(); ++row)
        if (result.gage(row).name.find(part) != std::string::npos) return row;
    return 0;
}

void TestPlotWindow::zeroDesignFlowsAndZeroYearsStayOnTheCharts() {
    const int bayou = rowNamed(result_, "BAYOU GRAND CANE");
    QVERIFY(bayou > 0);
    PlotWindow plots(result_, bayou);
    const vd::run::HydrographData h = vd::run::hydrographData(result_.gage(bayou));
    const QChart& hydrograph = *plots.view(PlotWindow::hydrographTab).chart();
    for (const char* name : {"1B3: 0 cfs (at axis floor)", "7Q10: 0 cfs (at axis floor)"}) {
        const auto line = seriesOf<QLineSeries>(hydrograph, QString::fromLatin1(name));
        QCOMPARE(line.size(), 1);
        QVERIFY(!hydrograph.legend()->markers(line.front()).isEmpty());
        QVERIFY(hydrograph.legend()->markers(line.front()).front()->isVisible());
        for (const QPointF& p : pointsOf(*line.front())) QCOMPARE(p.y(), h.flowRange.lowPosition());
    }
    const QChart& duration = *plots.view(PlotWindow::durationTab).chart();
    const auto marks = seriesOf<QScatterSeries>(duration);
    QVERIFY(std::any_of(marks.begin(), marks.end(), [](const QScatterSeries* s) {
        return s->name().startsWith(QStringLiteral("7Q10: 0 cfs (at axis floor)")) &&
               s->count() == 1;
    }));

    const QChart& frequency = *plots.view(PlotWindow::frequencyTab).chart();
    QVERIFY2(frequency.title().contains(QStringLiteral("15 of 19 years had a zero minimum")),
             qPrintable(frequency.title()));
    const auto zeros =
        seriesOf<QScatterSeries>(frequency, QStringLiteral("Zero minima: 0 cfs (at axis floor)"));
    QCOMPARE(zeros.size(), 1);
    QCOMPARE(zeros.front()->count(), 15);
    const auto design =
        seriesOf<QScatterSeries>(frequency, QStringLiteral("7Q10: 0 cfs (at axis floor)"));
    QCOMPARE(design.size(), 1);
    QCOMPARE(design.front()->count(), 1);
}

void TestPlotWindow::dateLabelsFollowTheZoomAndNeverRepeat() {
    PlotWindow plots(result_, verdeRow);
    plots.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plots));
    PlotChartView& view = plots.view(PlotWindow::hydrographTab);
    auto* date = qobject_cast<QCategoryAxis*>(view.chart()->axes(Qt::Horizontal).front());
    QVERIFY(date);
    const auto check = [&](const QString& pattern) {
        const QStringList labels = date->categoriesLabels();
        QVERIFY(labels.size() >= 2);
        QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
        const QRegularExpression form(pattern);
        for (const QString& label : labels) {
            QVERIFY2(form.match(label).hasMatch(), qPrintable(label));
            QVERIFY(date->endValue(label) >= date->min() && date->endValue(label) <= date->max());
        }
    };
    check(QStringLiteral("^\\d{4}$"));
    const QStringList whole = date->categoriesLabels();
    // Zoomed in far enough, the ticks move to month boundaries named with their year.
    view.setFocus();
    for (int k = 0; k < 12; ++k) QTest::keyClick(&view, Qt::Key_Plus);
    check(QStringLiteral("^(\\d{1,2} )?[A-Z][a-z]{2} \\d{4}$"));
    QTest::keyClick(&view, Qt::Key_Right);
    check(QStringLiteral("^(\\d{1,2} )?[A-Z][a-z]{2} \\d{4}$"));
    view.resetZoom();
    QCOMPARE(date->categoriesLabels(), whole);
    // The flow axis has labels between the powers of ten where it has room.
    auto* flow = qobject_cast<QCategoryAxis*>(view.chart()->axes(Qt::Vertical).front());
    QVERIFY(flow);
    const QStringList flows = flow->categoriesLabels();
    QVERIFY2(std::any_of(flows.begin(), flows.end(),
                         [](const QString& l) { return l.startsWith(QLatin1Char('2')); }) &&
                 std::any_of(flows.begin(), flows.end(),
                             [](const QString& l) { return l.startsWith(QLatin1Char('5')); }),
             qPrintable(flows.join(QLatin1Char(' '))));
}

void TestPlotWindow::aNarrowFigureKeepsItsLegendWhole() {
    for (const int width : {1000, 624}) {  // the window's size, a 6.5 in figure's layout
        PlotChartView view;
        view.replaceChart(
            gageChart(result_.gage(verdeRow), result_.settings.season, ChartKind::hydrograph, 0));
        view.resize(width, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        fitLegendToWidth(*view.chart(), width);
        QCOMPARE(view.chart()->legend()->alignment(),
                 width == 1000 ? Qt::AlignBottom : Qt::AlignRight);
    }
}

void TestPlotWindow::savedImageHasTheChosenSizeAndResolution() {
    // The dialog offers the window's size, the fact sheet's and one's own.
    ImageSizeDialog dialog(QSize(900, 500));
    QCOMPARE(dialog.chosen().pixels, QSize(900, 500));
    QCOMPARE(dialog.chosen().dpi, 96);
    QVERIFY(!dialog.widthBox->isEnabled());
    dialog.choiceBox->setCurrentIndex(ImageSizeDialog::factSheetChoice);
    QCOMPARE(dialog.chosen().pixels, factSheetImageSize.pixels);
    QCOMPARE(dialog.chosen().dpi, 300);
    dialog.choiceBox->setCurrentIndex(ImageSizeDialog::customChoice);
    QVERIFY(dialog.widthBox->isEnabled());
    dialog.widthBox->setValue(640);
    dialog.dpiBox->setValue(150);
    QCOMPARE(dialog.chosen().pixels, QSize(640, 1200));
    QCOMPARE(dialog.chosen().dpi, 150);

    QTemporaryDir dir;
    PlotWindow plots(result_, verdeRow);
    plots.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plots));
    plots.showError = [](const QString& message) { QFAIL(qPrintable(message)); };
    plots.chooseImageSize = [](QSize) -> std::optional<ImageSize> { return factSheetImageSize; };
    const QString path = dir.filePath(QStringLiteral("fact.png"));
    plots.chooseImageFile = [&](const QString&) { return path; };
    plots.saveImage(PlotWindow::hydrographTab);
    const QImage image(path);
    QCOMPARE(image.size(), QSize(1950, 1200));
    QCOMPARE(image.dotsPerMeterX(), 11811);
    QCOMPARE(image.dotsPerMeterY(), 11811);
    // White all round: the corners are the background, not the window's grey.
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(image.pixelColor(1947, 1197), QColor(Qt::white));
    // Cancelling the size choice writes nothing.
    plots.chooseImageSize = [](QSize) -> std::optional<ImageSize> { return std::nullopt; };
    plots.chooseImageFile = [&](const QString&) { return dir.filePath(QStringLiteral("no.png")); };
    plots.saveImage(PlotWindow::hydrographTab);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("no.png"))));
}

void TestPlotWindow::saveCsvWritesTheBatchCsvOfTheGages() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    window_->chooseCsvFile = [&](const QString&) { return path; };
    QTest::mouseClick(window_->csvButton, Qt::LeftButton);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QCOMPARE(saved.toStdString(), vd::run::resultsCsvText(result_.gages, result_.settings));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"run.csv"});

    // A CSV that cannot be written is named with the reason.
    QStringList errors;
    window_->showError = [&](const QString& message) { errors << message; };
    const QString nowhere = dir.filePath(QStringLiteral("missing/run.csv"));
    window_->chooseCsvFile = [&](const QString&) { return nowhere; };
    QTest::mouseClick(window_->csvButton, Qt::LeftButton);
    QCOMPARE(
        errors,
        QStringList{QStringLiteral("Cannot write \"%1\": No such file or directory").arg(nowhere)});

    // The batch command computes each gage on its own: every line of the window's CSV is
    // the batch's line of that gage (the batch also has the gage not in use).
    vd::cli::Args args{"batch", "--avg", "7,30", "--jobs", "1"};
    for (const QString& f : files_) args.push_back(f.toStdString());
    std::ostringstream out, err;
    QCOMPARE(vd::cli::cliMain(args, out, err), 0);
    const QStringList batchLines = QString::fromStdString(out.str()).split(QLatin1Char('\n'));
    const QStringList savedLines = QString::fromUtf8(saved).split(QLatin1Char('\n'));
    QCOMPARE(savedLines.size(), result_.dataRowCount() + 2);  // header, rows, final LF
    QCOMPARE(savedLines.front(), batchLines.front());
    for (const QString& line : savedLines) QVERIFY2(batchLines.contains(line), qPrintable(line));
}

void TestPlotWindow::csvNameFollowsTheParameterFile() {
    QCOMPARE(window_->suggestedCsvPath(), QStringLiteral("design_flows.csv"));
    QTemporaryDir dir;
    MainWindow& main = fixture_->window();
    const QString vdp = dir.filePath(QStringLiteral("analysis.vdp"));
    main.saveParameterFile(vdp);
    ResultsWindow& results = resultsWindowOf(main);
    QString suggested;
    results.showModally = [&](QDialog&) { suggested = results.suggestedCsvPath(); };
    main.calculate();
    QCOMPARE(suggested, dir.filePath(QStringLiteral("analysis.csv")));
}

QObject* makePlotWindowTests() {
    return new TestPlotWindow;
}

#include "test_plot_window.moc"
