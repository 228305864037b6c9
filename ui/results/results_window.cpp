#include "results_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "errors.h"
#include "excursion_table.h"
#include "excursion_window.h"
#include "grid_text_model.h"
#include "plot_window.h"
#include "report_text.h"
#include "results_csv.h"
#include "results_grid.h"
#include "results_table.h"
#include "results_view.h"
#include "utf8_path.h"
#include "whole_file.h"

namespace vd::ui {
namespace {

constexpr int gridLeft = 16;
constexpr int gridTop = 96;
constexpr int maxVisibleRows = 20;
constexpr int biologicalFlowColumn = 4;
// Fixed columns and the smallest widths of the record columns and of every value column.
constexpr int recordColumns = 4;
constexpr std::array<int, recordColumns> designRecordWidths{100, 60, 100, 90};
constexpr int designValueWidth = 62;
constexpr int designHeaderHeight = 30;
constexpr int designRowHeight = 20;
// Room a data text needs beside it: the inset on the left and the margin on the right.
constexpr int textRoom = 2 + 4;
// A flow's decimal point sits this far from the cell's right edge.
constexpr int pointRoom = 20;

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Width a data text needs in value column `col` under the window's alignment rules.
int valueTextWidth(const QString& text, const QString& header, const QFontMetrics& fm) {
    if (text.isEmpty()) return 0;
    if (header.contains(QLatin1String("Percentile")) || header.contains(QLatin1String("ype")))
        return fm.horizontalAdvance(text) + textRoom;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (text.contains(QLatin1Char('E')) || point < 0)
        return fm.horizontalAdvance(text) + pointRoom + 2;
    return std::max(fm.horizontalAdvance(text.left(point)) + pointRoom + 2,
                    fm.horizontalAdvance(text) + textRoom);
}

// Whether a header wraps into the header row of cells `width` wide.
bool headerFits(const QString& header, int width, int height, const QFontMetrics& bold) {
    const QRect room(0, 0, width - 2, 10000);
    const QRect used = bold.boundingRect(room, Qt::AlignHCenter | Qt::TextWordWrap, header);
    return used.height() <= height - 4 && used.width() <= width - 2;
}

}  // namespace

QString periodHint(const QString& cell, const QString& seasonStart, const QString& seasonEnd,
                   int seasonYearShift) {
    const std::string hint = vd::run::periodHint(cell.toStdString(), seasonStart.toStdString(),
                                                 seasonEnd.toStdString(), seasonYearShift);
    return hint.empty() ? cell : QString::fromStdString(hint);
}

ResultsWindow::ResultsWindow(QWidget* parent)
    : QDialog(parent),
      beep([] { QApplication::beep(); }),
      showModally([](QDialog& dialog) { dialog.exec(); }),
      showMenu([](QMenu& menu, const QPoint& globalPos) { menu.exec(globalPos); }),
      chooseCsvFile([this](const QString& suggested) {
          return QFileDialog::getSaveFileName(this, QStringLiteral("Save as CSV"), suggested,
                                              QStringLiteral("CSV files (*.csv)"));
      }),
      showError([this](const QString& message) {
          QMessageBox::warning(this, QStringLiteral("Error"), message);
      }),
      advancedBox(new QCheckBox(QStringLiteral("Advanced results in clipboard"), this)),
      streamDataBox(new QCheckBox(QStringLiteral("Show stream data"), this)),
      copyButton(new QPushButton(QStringLiteral("Copy to clipboard"), this)),
      okButton(new QPushButton(QStringLiteral("OK"), this)),
      plotButton(new QPushButton(QStringLiteral("&Plot..."), this)),
      csvButton(new QPushButton(QStringLiteral("Save as &CSV..."), this)),
      seasonLabel(new QLabel(this)),
      insufficientDataLabel(new QLabel(QString::fromUtf8(vd::run::insufficientDataNotice), this)),
      grid(new ResultsGrid(this)),
      excursionHintLabel(
          new QLabel(QStringLiteral("Double-click on the calculated biological design flow "
                                    "for excursion analysis"),
                     this)),
      model_(new GridTextModel(this)),
      excursions_(new ExcursionWindow(this)) {
    setWindowTitle(QStringLiteral("VANDO 3 Calculated Design Flows"));
    resize(627, 479);

    advancedBox->setChecked(true);
    streamDataBox->setChecked(true);
    for (QWidget* w :
         {static_cast<QWidget*>(advancedBox), static_cast<QWidget*>(streamDataBox),
          static_cast<QWidget*>(seasonLabel), static_cast<QWidget*>(insufficientDataLabel),
          static_cast<QWidget*>(excursionHintLabel)})
        w->adjustSize();
    advancedBox->move(48, 12);
    streamDataBox->move(16, 24);
    copyButton->setGeometry(304, 8, std::max(97, copyButton->sizeHint().width()), 25);
    okButton->setGeometry(304, 40, 75, 25);
    // Enter in the grid neither copies nor closes.
    copyButton->setAutoDefault(false);
    okButton->setAutoDefault(false);
    plotButton->setAutoDefault(false);
    csvButton->setAutoDefault(false);
    plotButton->resize(std::max(75, plotButton->sizeHint().width()), 25);
    csvButton->resize(std::max(97, csvButton->sizeHint().width()), 25);
    plotButton->setToolTip(QStringLiteral("Plots of the selected gage row (Ctrl+P)"));
    seasonLabel->move(16, 56);
    seasonLabel->hide();
    QFont noticeFont(QStringLiteral("Arial"));
    noticeFont.setPointSize(font().pointSize());
    insufficientDataLabel->setFont(noticeFont);
    insufficientDataLabel->setStyleSheet(QStringLiteral("color: red"));
    insufficientDataLabel->adjustSize();
    insufficientDataLabel->move(16, 72);
    insufficientDataLabel->hide();
    grid->setGeometry(gridLeft, gridTop, 585, 321);
    grid->setToolTip(QStringLiteral("VANDO results"));
    grid->setModel(model_);
    model_->setHint([this](int col, int gridRow) { return hintAt(col, gridRow); });
    excursionHintLabel->move(16, 424);

    connect(streamDataBox, &QCheckBox::clicked, this, &ResultsWindow::onStreamDataToggled);
    connect(copyButton, &QPushButton::clicked, this, &ResultsWindow::copyReport);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(grid, &ResultsGrid::cellDoubleClicked, this, &ResultsWindow::onCellDoubleClicked);
    connect(plotButton, &QPushButton::clicked, this, [this] { openPlot(currentGageRow()); });
    connect(csvButton, &QPushButton::clicked, this, &ResultsWindow::saveCsv);
    // An action rather than a shortcut object: F1 is the window's only QShortcut.
    auto* plotAction = new QAction(this);
    plotAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    addAction(plotAction);
    connect(plotAction, &QAction::triggered, this, [this] { openPlot(currentGageRow()); });
}

void ResultsWindow::setResults(vd::run::RunResult result) {
    result_ = std::move(result);
    model_->setCells(result_.grid);
    fitColumnWidths();
    applyRecordColumnWidths();
    seasonLabel->setVisible(result_.seasonLineShown);
    const vd::run::Season& season = result_.settings.season;
    seasonLabel->setText(qs(vd::run::seasonLine(season)));
    seasonLabel->setStyleSheet(season.fullClimaticYear ? QStringLiteral("color: black")
                                                       : QStringLiteral("color: red"));
    seasonLabel->adjustSize();
    insufficientDataLabel->setVisible(result_.tooshort);
}

void ResultsWindow::showResultsModally() {
    showModally(*this);
}

void ResultsWindow::fitColumnWidths() {
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(font());
    const QFontMetrics fmBold(bold);
    rowHeight_ = std::max(designRowHeight, fm.height() + 6);
    const int headerHeight = std::max(designHeaderHeight, 2 * fmBold.lineSpacing() + 6);

    const int columns = model_->columnCount();
    const int rows = model_->gridRowCount();
    auto header = [&](int c) { return model_->cell(c, 0); };
    auto widthFor = [&](int c, int start, auto textWidth) {
        int width = start;
        for (int r = 1; r < rows; ++r) width = std::max(width, textWidth(model_->cell(c, r)));
        while (!headerFits(header(c), width, headerHeight, fmBold)) width += 4;
        return width;
    };

    int value = designValueWidth;
    for (int c = recordColumns; c < columns; ++c)
        value =
            widthFor(c, value, [&](const QString& t) { return valueTextWidth(t, header(c), fm); });
    valueWidth_ = value;
    for (int c = 1; c < recordColumns && c < columns; ++c)
        recordWidths_[c] = widthFor(c, designRecordWidths[c], [&](const QString& t) {
            return fm.horizontalAdvance(t) + textRoom;
        });
    // The gage column may cut long names (its hint shows them whole); it grows with the font.
    recordWidths_[0] = designRecordWidths[0] * valueWidth_ / designValueWidth;

    grid->horizontalHeader()->setDefaultSectionSize(valueWidth_);
    grid->setHeaderHeight(headerHeight);
    grid->setDefaultRowHeight(rowHeight_);
    for (int c = recordColumns; c < columns; ++c) grid->setColumnWidthOrHide(c, valueWidth_);
}

void ResultsWindow::applyRecordColumnWidths() {
    const int columns = std::min(recordColumns, model_->columnCount());
    const bool show = streamDataBox->isChecked();
    for (int c = 0; c < columns; ++c)
        grid->setColumnWidthOrHide(c, c == 0 || show ? recordWidths_[c] : 0);
}

void ResultsWindow::sizeToTable() {
    const QStyle* style = grid->style();
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const int frame = frameGeometry().width() - width();

    const int f = grid->columnsWidth(0, recordColumns);
    const int valueColumns = std::max(0, model_->columnCount() - recordColumns);
    const int ncv = std::max(0, (screenRect.width() - frame - f - 32) / valueColumnWidth());
    const bool horizontal = ncv < valueColumns;
    const int clientWidth = f + std::min(ncv, valueColumns) * valueColumnWidth();

    const int dataRows = model_->rowCount();
    const bool vertical = dataRows > maxVisibleRows;
    const int clientHeight = grid->headerHeight() + std::min(dataRows, maxVisibleRows) * rowHeight_;

    grid->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int gridWidth = clientWidth + (vertical ? scrollBar : 0);
    const int gridHeight = clientHeight + (horizontal ? scrollBar : 0);
    grid->setGeometry(gridLeft, gridTop, gridWidth, gridHeight);

    // The notices above the grid are never cut, even by a narrow table.
    int windowWidth = gridWidth + 32;
    for (const QLabel* label : {insufficientDataLabel, seasonLabel})
        if (!label->isHidden()) windowWidth = std::max(windowWidth, label->width() + 32);
    // The buttons at the top right stay clear of the check box at the left.
    const int buttonsWidth = plotButton->width() + csvButton->width() + okButton->width() + 16;
    const int buttonsRight = std::max(
        gridLeft + gridWidth, streamDataBox->x() + streamDataBox->width() + 16 + buttonsWidth);
    windowWidth = std::max(windowWidth, buttonsRight + 16);
    copyButton->move(buttonsRight - copyButton->width(), copyButton->y());
    advancedBox->move(copyButton->x() - advancedBox->width() - 10, advancedBox->y());
    okButton->move(copyButton->x(), okButton->y());
    plotButton->move(okButton->x() - plotButton->width() - 8, okButton->y());
    csvButton->move(plotButton->x() - csvButton->width() - 8, okButton->y());
    excursionHintLabel->move(excursionHintLabel->x(), gridTop + gridHeight + 10);
    setFixedSize(windowWidth, gridTop + gridHeight + 30);
}

void ResultsWindow::arrangeForShowing() {
    sizeToTable();
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const QSize outer = frameGeometry().size();
    move(screenRect.x() + (screenRect.width() - outer.width()) / 2,
         screenRect.y() + (screenRect.height() - outer.height()) / 2);
    // A run without gage rows has no cell to select.
    if (model_->rowCount() > 0 && model_->columnCount() > biologicalFlowColumn)
        grid->setCurrentIndex(model_->index(0, biologicalFlowColumn));
    grid->setFocus();
}

void ResultsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    arrangeForShowing();
}

void ResultsWindow::onStreamDataToggled() {
    applyRecordColumnWidths();
    sizeToTable();
}

QString ResultsWindow::hintAt(int col, int gridRow) const {
    if (col < 0 || col >= result_.columnCount()) return {};
    const QString hint = qs(vd::run::cellHint(result_, col, gridRow));
    // A sentence is shown as a paragraph, so that the hint wraps instead of running across
    // the screen; names and periods stay on their line.
    if (hint.size() <= 80) return hint;
    return QStringLiteral("<p>") + hint.toHtmlEscaped() + QStringLiteral("</p>");
}

void ResultsWindow::onCellDoubleClicked(int col, int gridRow) {
    const bool biologicalFlow = gridRow > 0 && col == biologicalFlowColumn &&
                                gridRow <= result_.dataRowCount() &&
                                result_.gage(gridRow).excursions != nullptr;
    if (!biologicalFlow) {
        beep();
        return;
    }
    vd::run::ExcursionTable table;
    try {
        table = vd::run::excursionTableOfRow(result_, gridRow);
    } catch (const vd::Error&) {
        beep();  // a record without a calendar date has no analysis to show
        return;
    }
    const vd::run::RunSettings& settings = result_.settings;
    excursions_->setWindowTitle(
        QString::fromStdString(vd::run::excursionCaption(result_, gridRow)));
    excursions_->showExcursions(std::move(table), settings.comments, settings.season.startDay,
                                settings.season.endDay, settings.bioScope);
    showModally(*excursions_);
}

void ResultsWindow::copyReport() {
    vd::run::ReportSettings settings = vd::run::reportSettingsOf(result_.settings);
    settings.advanced = advancedBox->isChecked();
    QGuiApplication::clipboard()->setText(qs(vd::run::reportText(result_, settings)));
    beep();
}

int ResultsWindow::currentGageRow() const {
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? current.row() + 1 : (result_.dataRowCount() > 0 ? 1 : 0);
}

PlotWindow* ResultsWindow::openPlot(int gridRow) {
    const bool drawable =
        gridRow > 0 && gridRow <= result_.dataRowCount() && result_.gage(gridRow).daily != nullptr;
    if (!drawable) {
        beep();
        return nullptr;
    }
    auto* plots = new PlotWindow(result_, gridRow, this);
    plots->show();
    return plots;
}

void ResultsWindow::showRowMenu(int gridRow, const QPoint& globalPos) {
    if (gridRow < 1 || gridRow > result_.dataRowCount()) return;
    QMenu menu(this);
    QAction* plot = menu.addAction(QStringLiteral("&Plot..."));
    plot->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    plot->setEnabled(result_.gage(gridRow).daily != nullptr);
    connect(plot, &QAction::triggered, this, [this, gridRow] { openPlot(gridRow); });
    QAction* excursions = menu.addAction(QStringLiteral("&Excursion analysis..."));
    excursions->setEnabled(result_.gage(gridRow).excursions != nullptr);
    connect(excursions, &QAction::triggered, this,
            [this, gridRow] { onCellDoubleClicked(biologicalFlowColumn, gridRow); });
    showMenu(menu, globalPos);
}

void ResultsWindow::contextMenuEvent(QContextMenuEvent* event) {
    // A click names its row; the menu key and Shift+F10 take the row the keyboard is on.
    int gridRow = 0;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        gridRow = grid->cellAt(grid->mapFromGlobal(event->globalPos())).y();
    } else if (grid->hasFocus() || grid->isAncestorOf(focusWidget())) {
        gridRow = currentGageRow();
        if (gridRow > 0 && grid->currentIndex().isValid())
            at = grid->mapToGlobal(grid->cellCentre(grid->currentIndex().column(), gridRow));
    }
    if (gridRow < 1) {
        QDialog::contextMenuEvent(event);
        return;
    }
    showRowMenu(gridRow, at);
    event->accept();
}

QString ResultsWindow::suggestedCsvPath() const {
    if (parameterFile_.isEmpty()) return QStringLiteral("design_flows.csv");
    const QFileInfo file(parameterFile_);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".csv"));
}

void ResultsWindow::saveCsv() {
    const QString path = chooseCsvFile(suggestedCsvPath());
    if (path.isEmpty()) return;
    const std::string text = vd::run::resultsCsvText(result_.gages, result_.settings);
    try {
        writeWholeFile(pathFromUtf8(path.toStdString()), text);
    } catch (const vd::Error& e) {
        if (e.code() != vd::ErrorCode::inOut) throw;
        showError(QString::fromStdString(e.what()));
    }
}

}  // namespace vd::ui
