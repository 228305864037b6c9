#include "excursion_delegate.h"

#include <QPainter>

namespace vd::ui {

int excursionTextRightMargin(int col) {
    const bool date = col == 0 || col == 2;
    return date ? 4 : 20;
}

void ExcursionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    painter->save();
    painter->fillRect(option.rect, option.palette.color(QPalette::Base));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    const QRect textRect = option.rect.adjusted(2, 2, 0, -2);
    painter->setClipRect(textRect);
    const QString text = index.data().toString();
    const QFontMetrics fm(option.font);
    const int right = option.rect.left() + option.rect.width();
    const int x = right - fm.horizontalAdvance(text) - excursionTextRightMargin(index.column());
    painter->drawText(QPoint(x, textRect.top() + fm.ascent()), text);
    painter->restore();
}

}  // namespace vd::ui
