#include "results_delegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>

namespace vd::ui {
namespace {

// Distance of a flow column's decimal point from the cell's right edge.
constexpr int pointFromRight = 20;
constexpr int rightMargin = 4;
constexpr int textInset = 2;

const QColor silver(0xC0, 0xC0, 0xC0);
const QColor lightGrey(0xDD, 0xDD, 0xDD);
const QColor darkGrey(0x80, 0x80, 0x80);

// With one averaging period these mark the non-biological block and the harmonic pair.
bool isShadedColumn(int col) {
    constexpr std::array shaded{7, 8, 9, 13, 14};
    return std::find(shaded.begin(), shaded.end(), col) != shaded.end();
}

QColor background(int col, int gridRow, const QPalette& palette) {
    if (gridRow == 0) return isShadedColumn(col) ? silver : palette.color(QPalette::Button);
    if (col < 4) return palette.color(QPalette::Button);
    return isShadedColumn(col) ? lightGrey : QColor(Qt::white);
}

void drawFrame(QPainter& painter, const QRect& cell, int col, int gridRow) {
    const int left = cell.left();
    const int top = cell.top();
    const int right = cell.left() + cell.width() - 1;
    const int bottom = cell.top() + cell.height() - 1;
    painter.setPen(Qt::white);
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, top, left, bottom);
    painter.setPen(gridRow == 0 || col < 4 ? darkGrey : silver);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
}

QRect shrunk(const QRect& cell) {
    return cell.adjusted(textInset, textInset, 0, -textInset);
}

}  // namespace

int resultsTextLeft(int col, const QString& text, const QString& header, const QFontMetrics& fm,
                    int shrunkLeft, int cellRight) {
    if (col == 0) return shrunkLeft;
    const bool rightAligned = col <= 3 || header.contains(QLatin1String("Percentile")) ||
                              header.contains(QLatin1String("ype"));
    if (rightAligned) return cellRight - fm.horizontalAdvance(text) - rightMargin;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (text.contains(QLatin1Char('E')) || point < 0)
        return cellRight - pointFromRight - fm.horizontalAdvance(text);
    return cellRight - pointFromRight - fm.horizontalAdvance(text.left(point));
}

void paintResultsCell(QPainter& painter, const QRect& cell, int col, int gridRow,
                      const QString& text, const QString& header, const QFont& font,
                      const QPalette& palette) {
    painter.save();
    painter.fillRect(cell, background(col, gridRow, palette));
    QFont cellFont = font;
    cellFont.setBold(gridRow == 0);
    painter.setFont(cellFont);
    painter.setPen(palette.color(QPalette::WindowText));
    const QRect textRect = shrunk(cell);
    painter.setClipRect(textRect);
    if (gridRow == 0) {
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
    } else {
        const QFontMetrics fm(cellFont);
        const int cellRight = cell.left() + cell.width();
        const int x = resultsTextLeft(col, text, header, fm, textRect.left(), cellRight);
        painter.drawText(QPoint(x, textRect.top() + fm.ascent()), text);
    }
    painter.setClipping(false);
    drawFrame(painter, cell, col, gridRow);
    painter.restore();
}

void ResultsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const QAbstractItemModel* model = index.model();
    const QString header = model->headerData(index.column(), Qt::Horizontal).toString();
    paintResultsCell(*painter, option.rect, index.column(), index.row() + 1,
                     index.data().toString(), header, option.font, option.palette);
}

}  // namespace vd::ui
