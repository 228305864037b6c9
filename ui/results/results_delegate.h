// The painting of the results table: backgrounds by column, bold word-wrapped headers,
// right-aligned record, percentile and return-period columns, flows and excursion rates
// aligned on their decimal point, and a 3-D frame around every cell.
#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

namespace vd::ui {

// Left edge of a data cell's text. `cellRight` is the x just past the cell; `header` is
// the text of the cell's column header.
int resultsTextLeft(int col, const QString& text, const QString& header, const QFontMetrics& fm,
                    int shrunkLeft, int cellRight);

// Paints one cell of the results grid; `gridRow` 0 is the header row.
void paintResultsCell(QPainter& painter, const QRect& cell, int col, int gridRow,
                      const QString& text, const QString& header, const QFont& font,
                      const QPalette& palette);

class ResultsDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace vd::ui
