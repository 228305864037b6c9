// "Non-Biological Design Flow Parameters" of the main window: the averaging periods, and the
// hydrological return period, the explicit flow or the flow percentile of the chosen kind.
#pragma once

#include <QGroupBox>
#include <QList>

#include "run_settings.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace vd::ui {

class NonBiologicalPanel final : public QGroupBox {
    Q_OBJECT
  public:
    explicit NonBiologicalPanel(QWidget* parent = nullptr);

    vd::run::NonBiologicalKind kind() const { return kind_; }
    // The non-biological texts and kind of the settings: fills them in, and shows those of a
    // parameter file.
    void fillTexts(vd::run::SettingsTexts& t) const;
    void showTexts(const vd::run::SettingsTexts& t);
    // The panel's controls in the order Tab walks them.
    QList<QWidget*> tabOrder() const;

  signals:
    // A kind chosen or a value typed.
    void edited();

  private:
    QRadioButton* button(vd::run::NonBiologicalKind kind) const;
    // Only the values of the chosen kind take typing.
    void onKindChosen(vd::run::NonBiologicalKind kind);

    vd::run::NonBiologicalKind kind_ = vd::run::NonBiologicalKind::hydrological;
    QRadioButton* hydrologicalButton_;
    QLabel* averagingPeriodsLabel_;
    QLabel* returnPeriodLabel_;
    QLineEdit* averagingPeriodsEdit_;
    QLineEdit* returnPeriodEdit_;
    QRadioButton* explicitFlowButton_;
    QLineEdit* flowEdit_;
    QLabel* flowUnitLabel_;
    QRadioButton* percentileButton_;
    QLineEdit* percentileEdit_;
    QLabel* percentUnitLabel_;
};

}  // namespace vd::ui
