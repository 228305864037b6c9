// The about box: what the program computes, where it comes from, this version.
#pragma once

#include <QDialog>

namespace vd::ui {

class AboutBox final : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);

  protected:
    // Centred on the screen each time it is shown, wherever it was moved before.
    void showEvent(QShowEvent* event) override;
};

}  // namespace vd::ui
