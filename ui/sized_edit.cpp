#include "sized_edit.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace vd::ui {

QLineEdit* newSizedEdit(const QString& text, int digits, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    const QFontMetrics fm(edit->font());
    edit->setFixedWidth(fm.horizontalAdvance(QString(digits, QLatin1Char('8'))) + 14);
    return edit;
}

}  // namespace vd::ui
