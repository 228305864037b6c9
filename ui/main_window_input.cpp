// What a calculation run reads from the main window: the settings its panels fill in, with
// the rows of the gage table.
#include "biological_panel.h"
#include "comments_panel.h"
#include "main_window.h"
#include "non_biological_panel.h"
#include "period_panel.h"
#include "season_panel.h"

namespace vd::ui {

std::vector<std::string> MainWindow::commentLines() const {
    return comments_->lines();
}

// The one place where the window's panels become the settings as typed; the report switch,
// which the main window does not show, keeps its default.
vd::run::SettingsTexts MainWindow::settingsTexts() const {
    vd::run::SettingsTexts t;
    season_->fillTexts(t);
    period_->fillTexts(t);
    bio_->fillTexts(t);
    nonBio_->fillTexts(t);
    comments_->fillTexts(t);
    return t;
}

vd::run::RunInput MainWindow::runInput() const {
    // The files the table has read are parsed already: the run reads them from the analysis.
    vd::run::RunInput in = analysis_.runInput();
    in.texts = settingsTexts();
    return in;
}

}  // namespace vd::ui
