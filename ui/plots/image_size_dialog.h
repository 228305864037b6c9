// The size choice of "Save image...": the window's size, a fact-sheet figure, or a size
// and resolution of one's own.
#pragma once

#include <QDialog>
#include <QSize>

#include "chart_image.h"

class QComboBox;
class QSpinBox;

namespace vd::ui {

class ImageSizeDialog final : public QDialog {
    Q_OBJECT
  public:
    enum Choice { windowChoice, factSheetChoice, customChoice };

    ImageSizeDialog(QSize windowSize, QWidget* parent = nullptr);

    QComboBox* choiceBox;
    QSpinBox* widthBox;
    QSpinBox* heightBox;
    QSpinBox* dpiBox;

    ImageSize chosen() const;

  private:
    void showChoice(int choice);

    QSize windowSize_;
};

}  // namespace vd::ui
