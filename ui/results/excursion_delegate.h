// The painting of the excursion table's data cells: dates right-aligned at the cell's
// edge, counts, durations and percentages right-aligned 20 pixels in from it.
#pragma once

#include <QStyledItemDelegate>

namespace vd::ui {

// Distance of a data text's right end from the cell's right edge, by column.
int excursionTextRightMargin(int col);

class ExcursionDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace vd::ui
