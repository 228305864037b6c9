#include "checkbox_images.h"

#include <QPainter>
#include <QPainterPath>

namespace vd::ui {

namespace {

QPixmap emptyBox(int side) {
    QPixmap box(side, side);
    box.fill(Qt::white);
    QPainter p(&box);
    p.setPen(QColor(96, 96, 96));
    p.drawRect(0, 0, side - 1, side - 1);
    return box;
}

QPixmap checkedBox(int side) {
    QPixmap box = emptyBox(side);
    QPainter p(&box);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, side / 6.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(side * 0.22, side * 0.52);
    tick.lineTo(side * 0.42, side * 0.74);
    tick.lineTo(side * 0.78, side * 0.26);
    p.drawPath(tick);
    return box;
}

}  // namespace

CheckImages makeCheckImages(int side) {
    return {checkedBox(side), emptyBox(side)};
}

}  // namespace vd::ui
