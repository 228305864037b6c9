// The results and excursion windows over a run of the example gages: what they show, what
// a double click opens, and what their copies put on the clipboard.
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "engine.h"
#include "excursion_table.h"
#include "report_text.h"
#include "results/excursion_delegate.h"
#include "results/excursion_window.h"
#include "results/grid_text_model.h"
#include "results/results_delegate.h"
#include "results/results_grid.h"
#include "results/results_window.h"
#include "results_fixture.h"
#include "results_table.h"
#include "results_view.h"
#include "widget_lookup.h"

using namespace vd::ui;
using namespace vd::ui::testing;

namespace {

const std::vector<std::string> comments{"Test", "second line"};

vd::run::ReportSettings settingsOf(const vd::run::RunResult& r, bool advanced) {
    vd::run::ReportSettings s = vd::run::reportSettingsOf(r.settings);
    s.advanced = advanced;
    return s;
}

// The result with every row cut to its first `columns` cells.
vd::run::RunResult firstColumns(vd::run::RunResult result, int columns) {
    for (auto& row : result.grid) row.resize(static_cast<std::size_t>(columns));
    return result;
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

}  // namespace

class TestResultsWindows final : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void doubleClickOnBiologicalFlowOpensThatRowsExcursions();
    void doubleClickElsewhereBeeps_data();
    void doubleClickElsewhereBeeps();
    void copyPutsTheEngineReport_data();
    void copyPutsTheEngineReport();
    void hidingStreamDataNarrowsTheWindowAndKeepsTheCopyWhole();
    void windowIsSizedToTheTable_data();
    void windowIsSizedToTheTable();
    void recordColumnsStayWhileValuesScroll();
    void moreThanTwentyRowsScroll();
    void runWithoutGageRowsShowsTheHeaderRow();
    void hints_data();
    void hints();
    void flowsAlignOnTheDecimalPoint();
    void excursionRowsLeaveAGapAfterEachCluster();
    void excursionCopyPutsTheEngineTextWithoutBeeping();

  private:
    // Shows the window without blocking, as the run would modally.
    void showResults(const vd::run::RunResult& result);

    std::unique_ptr<MainWindowFixture> fixture_;
    vd::run::RunResult result_;
    std::unique_ptr<ResultsWindow> window_;
    std::vector<QDialog*> opened_;
    int beeps_ = 0;
};

void TestResultsWindows::initTestCase() {
    fixture_ = std::make_unique<MainWindowFixture>();
    QVERIFY(fixture_->addExamples());
    vd::test::child<QLineEdit>(fixture_->window(), "averagingPeriods")
        ->setText(QStringLiteral("7,30"));
    vd::run::RunInput input = fixture_->window().runInput();
    input.texts.comments = comments;
    result_ = vd::run::runCalculation(input, fixture_->lib());
    QCOMPARE(result_.dataRowCount(), 3);
    for (const auto& gage : result_.gages) QVERIFY(gage.excursions != nullptr);
}

void TestResultsWindows::init() {
    window_ = std::make_unique<ResultsWindow>();
    opened_.clear();
    beeps_ = 0;
    window_->beep = [this] { ++beeps_; };
    window_->showModally = [this](QDialog& dialog) { opened_.push_back(&dialog); };
}

void TestResultsWindows::showResults(const vd::run::RunResult& result) {
    window_->setResults(result);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestResultsWindows::doubleClickOnBiologicalFlowOpensThatRowsExcursions() {
    showResults(result_);
    for (int row = 1; row <= result_.dataRowCount(); ++row) {
        opened_.clear();
        ResultsGrid* grid = window_->grid;
        const QPoint at = grid->cellCentre(4, row);
        QCOMPARE(grid->cellAt(at), QPoint(4, row));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at - grid->viewport()->pos());

        QCOMPARE(beeps_, 0);
        QCOMPARE(static_cast<int>(opened_.size()), 1);
        ExcursionWindow& excursions = window_->excursionWindow();
        QCOMPARE(opened_.front(), static_cast<QDialog*>(&excursions));
        const std::string gage = result_.grid[static_cast<std::size_t>(row)][0];
        QCOMPARE(excursions.windowTitle(), QStringLiteral("Excursion analysis for Period at ") +
                                               QString::fromStdString(gage));
        QVERIFY(excursions.model().cells() == vd::run::excursionTableOfRow(result_, row).cells);
    }
}

void TestResultsWindows::doubleClickElsewhereBeeps_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("dropRecord");
    QTest::newRow("percentile of the biological flow") << 5 << 1 << false;
    QTest::newRow("header of the biological flow") << 4 << 0 << false;
    QTest::newRow("gage name") << 0 << 2 << false;
    QTest::newRow("non-biological flow") << 7 << 1 << false;
    QTest::newRow("biological flow without a record of this run") << 4 << 2 << true;
}

void TestResultsWindows::doubleClickElsewhereBeeps() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, dropRecord);
    vd::run::RunResult result = result_;
    if (dropRecord) result.gages[static_cast<std::size_t>(row - 1)].excursions.reset();
    showResults(result);
    ResultsGrid* grid = window_->grid;
    const QPoint at = grid->cellCentre(col, row);
    QCOMPARE(grid->cellAt(at), QPoint(col, row));
    QWidget* target = grid->childAt(at);
    QVERIFY(target != nullptr);
    QTest::mouseDClick(target, Qt::LeftButton, {}, target->mapFrom(grid, at));

    QCOMPARE(beeps_, 1);
    QVERIFY(opened_.empty());
}

void TestResultsWindows::copyPutsTheEngineReport_data() {
    QTest::addColumn<bool>("advanced");
    QTest::newRow("with the advanced block") << true;
    QTest::newRow("table only") << false;
}

void TestResultsWindows::copyPutsTheEngineReport() {
    QFETCH(bool, advanced);
    showResults(result_);
    QGuiApplication::clipboard()->clear();
    window_->advancedBox->setChecked(advanced);
    QTest::mouseClick(window_->copyButton, Qt::LeftButton);

    const std::string expected = vd::run::reportText(result_, settingsOf(result_, advanced));
    QCOMPARE(clipboardText(), QString::fromStdString(expected));
    QCOMPARE(clipboardText().contains(QStringLiteral("Advanced information")), advanced);
    QCOMPARE(beeps_, 1);
    // The block sorts a copy of the per-year tables: a second copy is the same text.
    QTest::mouseClick(window_->copyButton, Qt::LeftButton);
    QCOMPARE(clipboardText(), QString::fromStdString(expected));
}

void TestResultsWindows::hidingStreamDataNarrowsTheWindowAndKeepsTheCopyWhole() {
    const vd::run::RunResult narrow = firstColumns(result_, 9);
    showResults(narrow);
    ResultsGrid* grid = window_->grid;
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const int shownWidth = window_->width();
    const int recordWidth = grid->columnsWidth(1, 4);
    QVERIFY(recordWidth > 0);

    QTest::mouseClick(window_->streamDataBox, Qt::LeftButton);
    QVERIFY(!window_->streamDataBox->isChecked());
    for (int c = 1; c <= 3; ++c) QVERIFY(grid->isColumnHidden(c));
    QCOMPARE(grid->columnsWidth(1, 4), 0);
    QCOMPARE(window_->width(), shownWidth - recordWidth);

    QTest::mouseClick(window_->copyButton, Qt::LeftButton);
    const QString copied = clipboardText();
    QCOMPARE(copied, QString::fromStdString(vd::run::reportText(narrow, settingsOf(narrow, true))));
    QVERIFY(copied.contains(QStringLiteral("\tDays in Record\t")));
    // The next run keeps the columns hidden while the box is cleared.
    window_->setResults(narrow);
    for (int c = 1; c <= 3; ++c) QVERIFY(grid->isColumnHidden(c));
    QVERIFY(!grid->isColumnHidden(4));

    QTest::mouseClick(window_->streamDataBox, Qt::LeftButton);
    QCOMPARE(grid->columnsWidth(1, 4), recordWidth);
    QCOMPARE(window_->width(), shownWidth);
}

void TestResultsWindows::windowIsSizedToTheTable_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("biological block only") << 7 << false;
    QTest::newRow("two averaging periods") << 21 << true;
}

void TestResultsWindows::windowIsSizedToTheTable() {
    QFETCH(int, columns);
    QFETCH(bool, scrolls);
    showResults(firstColumns(result_, columns));
    ResultsGrid* grid = window_->grid;
    const int value = grid->columnWidth(4);
    for (int c = 5; c < columns; ++c) QCOMPARE(grid->columnWidth(c), value);
    const int f = grid->columnsWidth(0, 4);
    const int frame = window_->frameGeometry().width() - window_->width();
    const int fit = (window_->screen()->geometry().width() - frame - f - 32) / value;
    QCOMPARE(fit < columns - 4, scrolls);

    QCOMPARE(grid->horizontalScrollBarPolicy(),
             scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->viewport()->width(), f + std::min(fit, columns - 4) * value);
    QCOMPARE(grid->viewport()->height(), 3 * grid->rowHeight(0));
    QCOMPARE(window_->width(), grid->width() + 32);
    QCOMPARE(window_->height(), grid->geometry().bottom() + 1 + 30);
    QCOMPARE(window_->copyButton->geometry().right(), grid->geometry().right());
    QCOMPARE(window_->insufficientDataLabel->isHidden(), !result_.tooshort);
    QCOMPARE(window_->seasonLabel->text(),
             QString::fromStdString(vd::run::seasonLine(result_.settings.season)));
}

void TestResultsWindows::recordColumnsStayWhileValuesScroll() {
    showResults(result_);
    ResultsGrid* grid = window_->grid;
    QVERIFY(grid->horizontalScrollBar()->maximum() > 0);
    const QPoint gage = grid->cellCentre(0, 1);
    const QPoint flow = grid->cellCentre(5, 1);
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());

    QCOMPARE(grid->cellCentre(0, 1), gage);
    QCOMPARE(grid->cellAt(gage), QPoint(0, 1));
    QVERIFY(grid->cellCentre(5, 1).x() < flow.x());
    // What lies over the gage column's header is the fixed columns' header, not the
    // scrolled one.
    const QPoint gageHeader = grid->cellCentre(0, 0);
    const QWidget* top = grid->childAt(gageHeader);
    QVERIFY(top != nullptr);
    const auto* header = qobject_cast<const QHeaderView*>(top->parentWidget());
    QVERIFY(header != nullptr);
    QVERIFY(header != grid->horizontalHeader());
    QCOMPARE(header->logicalIndexAt(top->mapFrom(grid, gageHeader)), 0);
    const int lastColumn = static_cast<int>(result_.grid.front().size()) - 1;
    const QPoint rightEdge(grid->viewport()->geometry().right() - 1, gage.y());
    QCOMPARE(grid->cellAt(rightEdge), QPoint(lastColumn, 1));
}

void TestResultsWindows::moreThanTwentyRowsScroll() {
    vd::run::RunResult many = result_;
    while (many.dataRowCount() < 25) {
        many.grid.push_back(result_.grid[1]);
        many.gages.push_back(result_.gages[0]);
    }
    showResults(many);
    ResultsGrid* grid = window_->grid;
    QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(grid->viewport()->height(), 20 * grid->rowHeight(0));
    QCOMPARE(window_->model().rowCount(), 25);
}

void TestResultsWindows::runWithoutGageRowsShowsTheHeaderRow() {
    vd::run::RunInput none = fixture_->window().runInput();
    for (auto& row : none.rows) row.use = false;
    const vd::run::RunResult empty = vd::run::runCalculation(none, fixture_->lib());
    QCOMPARE(empty.dataRowCount(), 0);
    showResults(empty);
    ResultsGrid* grid = window_->grid;
    QCOMPARE(window_->model().rowCount(), 0);
    QCOMPARE(window_->model().cell(0, 0), QStringLiteral("Gage"));
    QVERIFY(!grid->currentIndex().isValid());
    const QScrollBar* bar = grid->horizontalScrollBar();
    QCOMPARE(grid->height(), grid->headerHeight() + (bar->isVisible() ? bar->height() : 0));
}

void TestResultsWindows::hints_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("adjust");
    QTest::addColumn<QString>("hint");
    QTest::newRow("climatic year") << "1971-2000"
                                   << "Apr 1"
                                   << "Mar 31" << 1 << "Apr 1, 1970 - Mar 31, 2000";
    QTest::newRow("season within the year") << "1971-2000"
                                            << "Jun 1"
                                            << "Sep 30" << 0 << "Jun 1, 1971 - Sep 30, 2000";
    QTest::newRow("short record") << "N/A"
                                  << "Apr 1"
                                  << "Mar 31" << 1 << "N/A";
}

void TestResultsWindows::hints() {
    QFETCH(QString, cell);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, adjust);
    QFETCH(QString, hint);
    QCOMPARE(periodHint(cell, start, end, adjust), hint);

    window_->setResults(result_);
    const auto& model = window_->model();
    const QString period = QString::fromStdString(result_.grid[1][1]);
    QCOMPARE(model.data(model.index(0, 1), Qt::ToolTipRole).toString(),
             periodHint(period, QStringLiteral("Apr 1"), QStringLiteral("Mar 31"), 1));
    QCOMPARE(model.data(model.index(0, 0), Qt::ToolTipRole).toString(),
             QString::fromStdString(result_.grid[1][0]));
    // Every other cell and header shows its column's sentence, as the engine words it; a
    // sentence is a paragraph, so that it wraps.
    for (int col = 2; col < result_.columnCount(); ++col) {
        const QString sentence = QString::fromStdString(vd::run::cellHint(result_, col, 1));
        const QString shown = model.data(model.index(0, col), Qt::ToolTipRole).toString();
        QVERIFY2(
            shown == sentence || shown == QStringLiteral("<p>") + sentence.toHtmlEscaped() + "</p>",
            qPrintable(shown));
        QVERIFY(!model.headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
    }
    QVERIFY(model.data(model.index(0, 4), Qt::ToolTipRole)
                .toString()
                .contains(QStringLiteral("Biological design flow: the 1-day average flow may "
                                         "fall below it no more than once in 3 years")));
}

void TestResultsWindows::flowsAlignOnTheDecimalPoint() {
    const QFontMetrics fm(window_->font());
    const int right = 300;
    const QString flowHeader = QStringLiteral("7Q10");
    const int whole = resultsTextLeft(7, QStringLiteral("123"), flowHeader, fm, 202, right);
    const int point = resultsTextLeft(7, QStringLiteral("12.5"), flowHeader, fm, 202, right);
    const int exponent = resultsTextLeft(7, QStringLiteral("1.13E+03"), flowHeader, fm, 202, right);
    QCOMPARE(whole + fm.horizontalAdvance(QStringLiteral("123")), right - 20);
    QCOMPARE(point + fm.horizontalAdvance(QStringLiteral("12")), right - 20);
    QCOMPARE(exponent + fm.horizontalAdvance(QStringLiteral("1.13E+03")), right - 20);
    // Percentiles, return-period types and the record columns are right-aligned.
    for (const auto& [col, header] :
         {std::pair{8, QStringLiteral("Percentile")}, std::pair{10, QStringLiteral("7Qy Type")},
          std::pair{2, QStringLiteral("Days in Record")}}) {
        const QString text = QStringLiteral("12.34");
        QCOMPARE(resultsTextLeft(col, text, header, fm, 202, right) + fm.horizontalAdvance(text),
                 right - 4);
    }
    QCOMPARE(resultsTextLeft(0, QStringLiteral("Gage"), QStringLiteral("Gage"), fm, 202, right),
             202);
}

void TestResultsWindows::excursionRowsLeaveAGapAfterEachCluster() {
    const vd::run::ExcursionTable table = vd::run::excursionTableOfRow(result_, 1);
    QVERIFY(table.cells.size() > 3);
    ExcursionWindow& w = window_->excursionWindow();
    w.showExcursions(table, comments, result_.settings.season.startDay,
                     result_.settings.season.endDay);
    const int base = w.grid->verticalHeader()->defaultSectionSize();
    int gaps = 0;
    for (std::size_t p = 1; p < table.cells.size(); ++p) {
        const int height = w.grid->rowHeight(static_cast<int>(p) - 1);
        QCOMPARE(height, table.endsCluster[p] ? base + 5 : base);
        gaps += table.endsCluster[p] ? 1 : 0;
    }
    QVERIFY(gaps > 0);
    QVERIFY(w.width() >= 470);
    w.resize(w.width(), 100);
    QCOMPARE(w.height(), 240);
    QCOMPARE(w.okButton->y(), w.height() - 40);
    QCOMPARE(w.copyButton->y(), w.okButton->y());
    QCOMPARE(w.grid->height(), w.height() - 70);
    // Every text fits its column.
    const QFontMetrics fm(w.font());
    for (std::size_t p = 1; p < table.cells.size(); ++p)
        for (int c = 0; c < 5; ++c)
            QVERIFY(fm.horizontalAdvance(QString::fromStdString(table.cells[p][c])) +
                        excursionTextRightMargin(c) + 2 <=
                    w.grid->columnWidth(c));
}

void TestResultsWindows::excursionCopyPutsTheEngineTextWithoutBeeping() {
    const vd::run::ExcursionTable table = vd::run::excursionTableOfRow(result_, 2);
    ExcursionWindow& w = window_->excursionWindow();
    for (const auto& [sday, eday] : {std::pair{1, 365}, std::pair{62, 183}}) {
        w.showExcursions(table, comments, sday, eday);
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(w.copyButton, Qt::LeftButton);
        QCOMPARE(clipboardText(),
                 QString::fromStdString(vd::run::excursionCopyText(table, comments, sday, eday)));
        QCOMPARE(clipboardText().contains(QStringLiteral("Seasonal calculation")), sday != 1);
    }
    QCOMPARE(beeps_, 0);
}

QObject* makeResultsWindowsTests() {
    return new TestResultsWindows;
}

#include "test_results_windows.moc"
