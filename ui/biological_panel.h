// "Biological Design Flow Parameters" of the main window: a criterion with its default
// values, or the user's own values with "Use defaults" cleared.
#pragma once

#include <QGroupBox>
#include <QList>
#include <array>
#include <string>

#include "run_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vd::run {
struct KeptTexts;
}

namespace vd::ui {

class BiologicalPanel final : public QGroupBox {
    Q_OBJECT
  public:
    explicit BiologicalPanel(QWidget* parent = nullptr);

    vd::run::CriterionKind criterion() const;
    // Whether a criterion is chosen at all (a parameter file may mark none).
    bool criterionMarked() const;
    // The biological texts, the criterion and "Use defaults" of the settings.
    void fillTexts(vd::run::SettingsTexts& t) const;
    // What the panel keeps beside them for a parameter file: the user's own values and the
    // fifth value, which is never shown.
    void fillKept(vd::run::KeptTexts& kept) const;
    // Shows those of a parameter file, in the file's order: "Use defaults", the criterion
    // (unless the file marks none), the values, then what is kept.
    void showTexts(const vd::run::SettingsTexts& t, const vd::run::KeptTexts& kept,
                   bool criterionMarked);
    // The panel's controls in the order Tab walks them.
    QList<QWidget*> tabOrder() const;

  signals:
    // A value changed, by typing or by a criterion's defaults.
    void edited();

  private:
    QRadioButton* button(vd::run::CriterionKind kind) const;
    void onUseDefaultsToggled(bool checked);
    // The criterion's default values replace the four shown.
    void writeDefaults(vd::run::CriterionKind kind);

    QCheckBox* useDefaultsBox_;
    QRadioButton* acuteButton_;
    QRadioButton* chronicButton_;
    QRadioButton* ammoniaButton_;
    // Averaging days, years between excursions, clustering days, excursions per cluster, and
    // a fifth value the parameter file stores but the panel never shows.
    std::array<QLineEdit*, 5> edits_{};
    std::array<QLabel*, 4> labels_{};
    // The user's own values, given back when "Use defaults" is cleared.
    std::array<std::string, 5> kept_{};
};

}  // namespace vd::ui
