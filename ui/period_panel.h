// "Calculation period" of the main window: which years of the gages' records a run computes
// over, with the first and last year of the fifth choice.
#pragma once

#include <QGroupBox>
#include <QList>
#include <array>

#include "run_settings.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace vd::ui {

class PeriodPanel final : public QGroupBox {
    Q_OBJECT
  public:
    explicit PeriodPanel(QWidget* parent = nullptr);

    vd::run::PeriodKind choice() const;
    void choose(vd::run::PeriodKind kind);
    // The years of the fifth choice, as the window writes them: they choose nothing.
    void showYears(const QString& first, const QString& last);
    // The period and its years of the settings: fills them in, and shows those of a
    // parameter file.
    void fillTexts(vd::run::SettingsTexts& t) const;
    void showTexts(const vd::run::SettingsTexts& t);
    // The panel's controls in the order Tab walks them.
    QList<QWidget*> tabOrder() const;

  signals:
    // A choice clicked, or a year typed (which chooses the fifth period).
    void edited();

  private:
    QRadioButton* button(vd::run::PeriodKind kind) const;
    void onYearEdited();

    QButtonGroup* group_;
    std::array<QRadioButton*, 5> buttons_{};  // in the order of the choices below
    QLineEdit* firstYear_;
    QLineEdit* lastYear_;
};

}  // namespace vd::ui
