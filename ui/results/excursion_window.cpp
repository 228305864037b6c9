#include "excursion_window.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "excursion_delegate.h"
#include "grid_text_model.h"

namespace vd::ui {
namespace {

constexpr int designColumnWidth = 70;
constexpr int designRowHeight = 15;
// A cluster's last row is this much higher, which leaves a gap after the cluster.
constexpr int clusterGap = 5;
constexpr int gridLeft = 8;
constexpr int gridTop = 16;
constexpr int clientWidth = 470;
constexpr int minClientHeight = 240;
// Room for the vertical scroll bar beside the columns.
constexpr int scrollBarRoom = 16;

}  // namespace

TForm4::TForm4(QWidget* parent)
    : QDialog(parent),
      StringGrid1(new QTableView(this)),
      Button2(new QPushButton(QStringLiteral("Copy to clipboard"), this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      model_(new GridTextModel(this)) {
    setWindowTitle(QStringLiteral("VANDO 3.0 - Excursion Analysis"));
    StringGrid1->setGeometry(gridLeft, gridTop, 441, 169);
    StringGrid1->setModel(model_);
    StringGrid1->setItemDelegate(new ExcursionDelegate(this));
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setSectionsClickable(false);
    StringGrid1->setShowGrid(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Button2->setGeometry(8, 200, std::max(97, Button2->sizeHint().width()), 25);
    Button1->setGeometry(Button2->geometry().right() + 8, 200, 75, 25);
    Button2->setAutoDefault(false);
    Button1->setAutoDefault(false);
    setMinimumHeight(minClientHeight);
    resize(clientWidth, 266 - 26);

    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::showExcursions(vd::run::ExcursionTable table, std::vector<std::string> comments,
                            int sday, int eday) {
    table_ = std::move(table);
    comments_ = std::move(comments);
    sday_ = sday;
    eday_ = eday;
    FormActivate();
}

int TForm4::fittedColumnWidth() const {
    const QFontMetrics fm(font());
    QFont bold = StringGrid1->horizontalHeader()->font();
    const QFontMetrics fmHeader(bold);
    int width = designColumnWidth;
    for (std::size_t r = 0; r < table_.cells.size(); ++r)
        for (std::size_t c = 0; c < table_.cells[r].size(); ++c) {
            const QString text = QString::fromStdString(table_.cells[r][c]);
            const int need = r == 0 ? fmHeader.horizontalAdvance(text) + 12
                                    : fm.horizontalAdvance(text) + 2 +
                                          excursionTextRightMargin(static_cast<int>(c));
            width = std::max(width, need);
        }
    return width;
}

void TForm4::FormActivate() {
    model_->setCells(table_.cells);
    const int rowHeight = std::max(designRowHeight, QFontMetrics(font()).height() + 4);
    StringGrid1->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int p = 1; p < model_->gridRowCount(); ++p) {
        const bool ends = table_.endsCluster[static_cast<std::size_t>(p)];
        StringGrid1->setRowHeight(p - 1, ends ? rowHeight + clusterGap : rowHeight);
    }
    const int columnWidth = fittedColumnWidth();
    for (int c = 0; c < model_->columnCount(); ++c) StringGrid1->setColumnWidth(c, columnWidth);
    StringGrid1->resize(columnWidth * model_->columnCount() + scrollBarRoom, StringGrid1->height());
    FormResize();
}

void TForm4::FormResize() {
    // The client width is fixed, but never narrower than the table the font needs.
    const int width = std::max(clientWidth, StringGrid1->width() + 2 * gridLeft);
    if (minimumWidth() != width || maximumWidth() != width) setFixedWidth(width);
    const int height = std::max(minClientHeight, this->height());
    Button1->move(Button1->x(), height - 40);
    Button2->move(Button2->x(), Button1->y());
    StringGrid1->resize(StringGrid1->width(), height - 70);
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TForm4::Button2Click() {
    const std::string text = vd::run::excursionCopyText(table_, comments_, sday_, eday_);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void TForm4::Button1Click() {
    accept();
}

}  // namespace vd::ui
