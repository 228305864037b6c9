// What a calculation run reads from the main window.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "comments_panel.h"
#include "main_window.h"
#include "non_biological_panel.h"
#include "period_panel.h"

namespace vd::ui {

std::vector<std::string> MainWindow::commentLines() const {
    return comments_->lines();
}

QRadioButton* MainWindow::criterionButton(vd::run::CriterionKind kind) const {
    switch (kind) {
        case vd::run::CriterionKind::chronic:
            return chronicButton;
        case vd::run::CriterionKind::ammonia:
            return ammoniaButton;
        case vd::run::CriterionKind::acute:
            break;
    }
    return acuteButton;
}

// The one place where the window's controls become the settings as typed.
vd::run::SettingsTexts MainWindow::settingsTexts() const {
    const auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
    vd::run::SettingsTexts t;
    t.seasonStart = text(seasonStartEdit);
    t.seasonEnd = text(seasonEndEdit);
    t.fullClimaticYear = climaticYearBox->isChecked();
    t.bioWithinSeason = bioWithinSeasonBox->isChecked();
    period_->fillTexts(t);
    t.bioAveragingDays = text(bioFieldEdits[0]);
    t.bioYearsBetween = text(bioFieldEdits[1]);
    t.bioClusterDays = text(bioFieldEdits[2]);
    t.bioExcursionsPerCluster = text(bioFieldEdits[3]);
    t.criterion = ammoniaButton->isChecked()   ? vd::run::CriterionKind::ammonia
                  : chronicButton->isChecked() ? vd::run::CriterionKind::chronic
                                               : vd::run::CriterionKind::acute;
    t.useDefaults = useDefaultsBox->isChecked();
    nonBio_->fillTexts(t);
    comments_->fillTexts(t);
    return t;
}

vd::run::RunInput MainWindow::runInput() const {
    vd::run::RunInput in;
    in.texts = settingsTexts();
    in.rows = table_.rows();
    in.files = calc_->fileCache;  // the files the table has read are parsed already
    return in;
}

}  // namespace vd::ui
