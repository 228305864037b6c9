// What a calculation run reads from the main window.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "biological_panel.h"
#include "comments_panel.h"
#include "main_window.h"
#include "non_biological_panel.h"
#include "period_panel.h"

namespace vd::ui {

std::vector<std::string> MainWindow::commentLines() const {
    return comments_->lines();
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
    bio_->fillTexts(t);
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
