// The line edits of the main window's panels, each as wide as the digits it is meant for.
#pragma once

class QLineEdit;
class QString;
class QWidget;

namespace vd::ui {

// An edit holding `text`, wide enough for `digits` digits of its font.
QLineEdit* newSizedEdit(const QString& text, int digits, QWidget* parent);

}  // namespace vd::ui
