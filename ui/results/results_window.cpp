#include "results_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "errors.h"
#include "excursion_table.h"
#include "excursion_window.h"
#include "grid_text_model.h"
#include "report_text.h"
#include "results_grid.h"
#include "results_view.h"

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
                   int SYAdjust) {
    const std::string hint = vd::run::periodHint(cell.toStdString(), seasonStart.toStdString(),
                                                 seasonEnd.toStdString(), SYAdjust);
    return hint.empty() ? cell : QString::fromStdString(hint);
}

TForm3::TForm3(QWidget* parent)
    : QDialog(parent),
      beep([] { QApplication::beep(); }),
      showModally([](QDialog& dialog) { dialog.exec(); }),
      CheckBox2(new QCheckBox(QStringLiteral("Advanced results in clipboard"), this)),
      CheckBox1(new QCheckBox(QStringLiteral("Show stream data"), this)),
      Button1(new QPushButton(QStringLiteral("Copy to clipboard"), this)),
      Button2(new QPushButton(QStringLiteral("OK"), this)),
      Label2(new QLabel(this)),
      Label1(new QLabel(QString::fromUtf8(vd::run::insufficientDataNotice), this)),
      StringGrid1(new ResultsGrid(this)),
      Label3(new QLabel(QStringLiteral("Double-click on the calculated biological design flow "
                                       "for excursion analysis"),
                        this)),
      model_(new GridTextModel(this)),
      Form4(new TForm4(this)) {
    setWindowTitle(QStringLiteral("VANDO 3 Calculated Design Flows"));
    resize(627, 479);

    CheckBox2->setChecked(true);
    CheckBox1->setChecked(true);
    for (QWidget* w : {static_cast<QWidget*>(CheckBox2), static_cast<QWidget*>(CheckBox1),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(Label3)})
        w->adjustSize();
    CheckBox2->move(48, 12);
    CheckBox1->move(16, 24);
    Button1->setGeometry(304, 8, std::max(97, Button1->sizeHint().width()), 25);
    Button2->setGeometry(304, 40, 75, 25);
    // Enter in the grid neither copies nor closes.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    Label2->move(16, 56);
    Label2->hide();
    QFont noticeFont(QStringLiteral("Arial"));
    noticeFont.setPointSize(font().pointSize());
    Label1->setFont(noticeFont);
    Label1->setStyleSheet(QStringLiteral("color: red"));
    Label1->adjustSize();
    Label1->move(16, 72);
    Label1->hide();
    StringGrid1->setGeometry(gridLeft, gridTop, 585, 321);
    StringGrid1->setToolTip(QStringLiteral("VANDO results"));
    StringGrid1->setModel(model_);
    model_->setHint([this](int col, int gridRow) { return hintAt(col, gridRow); });
    Label3->move(16, 424);

    connect(CheckBox1, &QCheckBox::clicked, this, &TForm3::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(StringGrid1, &ResultsGrid::cellDoubleClicked, this, &TForm3::StringGrid1DblClick);
}

void TForm3::setResults(vd::run::RunResult result, MainWindowTexts texts) {
    result_ = std::move(result);
    texts_ = std::move(texts);
    model_->setCells(result_.grid);
    fitColumnWidths();
    applyRecordColumnWidths();
    Label2->setVisible(result_.seasonLineShown);
    Label2->setText(qs(result_.seasonLine));
    Label2->setStyleSheet(result_.seasonLineRed ? QStringLiteral("color: red")
                                                : QStringLiteral("color: black"));
    Label2->adjustSize();
    Label1->setVisible(result_.tooshort);
}

void TForm3::showResultsModally() {
    showModally(*this);
}

void TForm3::fitColumnWidths() {
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

    StringGrid1->horizontalHeader()->setDefaultSectionSize(valueWidth_);
    StringGrid1->setHeaderHeight(headerHeight);
    StringGrid1->setDefaultRowHeight(rowHeight_);
    for (int c = recordColumns; c < columns; ++c) StringGrid1->setColumnWidthOrHide(c, valueWidth_);
}

void TForm3::applyRecordColumnWidths() {
    const int columns = std::min(recordColumns, model_->columnCount());
    const bool show = CheckBox1->isChecked();
    for (int c = 0; c < columns; ++c)
        StringGrid1->setColumnWidthOrHide(c, c == 0 || show ? recordWidths_[c] : 0);
}

void TForm3::SizeTable() {
    const QStyle* style = StringGrid1->style();
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, StringGrid1);
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const int frame = frameGeometry().width() - width();

    const int f = StringGrid1->columnsWidth(0, recordColumns);
    const int valueColumns = std::max(0, model_->columnCount() - recordColumns);
    const int ncv = std::max(0, (screenRect.width() - frame - f - 32) / valueColumnWidth());
    const bool horizontal = ncv < valueColumns;
    const int clientWidth = f + std::min(ncv, valueColumns) * valueColumnWidth();

    const int dataRows = model_->rowCount();
    const bool vertical = dataRows > maxVisibleRows;
    const int clientHeight =
        StringGrid1->headerHeight() + std::min(dataRows, maxVisibleRows) * rowHeight_;

    StringGrid1->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
    const int gridWidth = clientWidth + (vertical ? scrollBar : 0);
    const int gridHeight = clientHeight + (horizontal ? scrollBar : 0);
    StringGrid1->setGeometry(gridLeft, gridTop, gridWidth, gridHeight);

    // The notices above the grid are never cut, even by a narrow table.
    int windowWidth = gridWidth + 32;
    for (const QLabel* label : {Label1, Label2})
        if (!label->isHidden()) windowWidth = std::max(windowWidth, label->width() + 32);
    Button1->move(gridLeft + gridWidth - Button1->width(), Button1->y());
    CheckBox2->move(Button1->x() - CheckBox2->width() - 10, CheckBox2->y());
    Button2->move(Button1->x(), Button2->y());
    Label3->move(Label3->x(), gridTop + gridHeight + 10);
    setFixedSize(windowWidth, gridTop + gridHeight + 30);
}

void TForm3::FormActivate() {
    SizeTable();
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const QSize outer = frameGeometry().size();
    move(screenRect.x() + (screenRect.width() - outer.width()) / 2,
         screenRect.y() + (screenRect.height() - outer.height()) / 2);
    // A run without gage rows has no cell to select.
    if (model_->rowCount() > 0 && model_->columnCount() > biologicalFlowColumn)
        StringGrid1->setCurrentIndex(model_->index(0, biologicalFlowColumn));
    StringGrid1->setFocus();
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TForm3::CheckBox1Click() {
    applyRecordColumnWidths();
    SizeTable();
}

QString TForm3::hintAt(int col, int gridRow) const {
    if (gridRow > 0 && col == 1)
        return periodHint(model_->cell(col, gridRow), qs(texts_.seasonStart), qs(texts_.seasonEnd),
                          result_.SYAdjust);
    if (gridRow > 0 && col == 0) return model_->cell(col, gridRow);
    return QStringLiteral("VANDO results");
}

void TForm3::StringGrid1DblClick(int col, int gridRow) {
    const bool biologicalFlow = gridRow > 0 && col == biologicalFlowColumn &&
                                gridRow <= result_.dataRowCount() &&
                                result_.rows[static_cast<std::size_t>(gridRow - 1)].hasExcursion();
    if (!biologicalFlow) {
        beep();
        return;
    }
    vd::run::ExcursionTable table;
    try {
        table = vd::run::excursionTableOfRow(result_, gridRow);
    } catch (const vd::VandoError&) {
        beep();  // a record without a calendar date has no analysis to show
        return;
    }
    Form4->setWindowTitle(QString::fromStdString(vd::run::excursionCaption(result_, gridRow)));
    Form4->showExcursions(std::move(table), texts_.comments, result_.sday, result_.eday);
    showModally(*Form4);
}

void TForm3::Button1Click() {
    vd::run::ReportSettings settings;
    settings.comments = texts_.comments;
    settings.climaticYear = texts_.climaticYear;
    settings.seasonStart = texts_.seasonStart;
    settings.seasonEnd = texts_.seasonEnd;
    settings.advanced = CheckBox2->isChecked();
    QGuiApplication::clipboard()->setText(qs(vd::run::reportText(result_, settings)));
    beep();
}

void TForm3::Button2Click() {
    accept();
}

}  // namespace vd::ui
