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

ExcursionWindow::ExcursionWindow(QWidget* parent)
    : QDialog(parent),
      grid(new QTableView(this)),
      copyButton(new QPushButton(QStringLiteral("Copy to clipboard"), this)),
      okButton(new QPushButton(QStringLiteral("OK"), this)),
      model_(new GridTextModel(this)) {
    setWindowTitle(QStringLiteral("VANDO 3.0 - Excursion Analysis"));
    grid->setGeometry(gridLeft, gridTop, 441, 169);
    grid->setModel(model_);
    grid->setItemDelegate(new ExcursionDelegate(this));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->setShowGrid(false);
    grid->setWordWrap(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    copyButton->setGeometry(8, 200, std::max(97, copyButton->sizeHint().width()), 25);
    okButton->setGeometry(copyButton->geometry().right() + 8, 200, 75, 25);
    copyButton->setAutoDefault(false);
    okButton->setAutoDefault(false);
    setMinimumHeight(minClientHeight);
    resize(clientWidth, 266 - 26);

    connect(copyButton, &QPushButton::clicked, this, &ExcursionWindow::copyTable);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void ExcursionWindow::showExcursions(vd::run::ExcursionTable table,
                                     std::vector<std::string> comments, int seasonStartDay,
                                     int seasonEndDay, vd::run::BioScope scope) {
    table_ = std::move(table);
    comments_ = std::move(comments);
    seasonStartDay_ = seasonStartDay;
    seasonEndDay_ = seasonEndDay;
    scope_ = scope;
    fillTable();
}

int ExcursionWindow::fittedColumnWidth() const {
    const QFontMetrics fm(font());
    QFont bold = grid->horizontalHeader()->font();
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

void ExcursionWindow::fillTable() {
    model_->setCells(table_.cells);
    const int rowHeight = std::max(designRowHeight, QFontMetrics(font()).height() + 4);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int p = 1; p < model_->gridRowCount(); ++p) {
        const bool ends = table_.endsCluster[static_cast<std::size_t>(p)];
        grid->setRowHeight(p - 1, ends ? rowHeight + clusterGap : rowHeight);
    }
    const int columnWidth = fittedColumnWidth();
    for (int c = 0; c < model_->columnCount(); ++c) grid->setColumnWidth(c, columnWidth);
    grid->resize(columnWidth * model_->columnCount() + scrollBarRoom, grid->height());
    fitToHeight();
}

void ExcursionWindow::fitToHeight() {
    // The client width is fixed, but never narrower than the table the font needs.
    const int width = std::max(clientWidth, grid->width() + 2 * gridLeft);
    if (minimumWidth() != width || maximumWidth() != width) setFixedWidth(width);
    const int height = std::max(minClientHeight, this->height());
    okButton->move(okButton->x(), height - 40);
    copyButton->move(copyButton->x(), okButton->y());
    grid->resize(grid->width(), height - 70);
}

void ExcursionWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitToHeight();
}

void ExcursionWindow::copyTable() {
    const std::string text =
        vd::run::excursionCopyText(table_, comments_, seasonStartDay_, seasonEndDay_, scope_);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace vd::ui
