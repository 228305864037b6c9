// Season and parameter entry of the main window: the date edits and the day before the
// start, "Use defaults" and the criteria, the non-biological choice, the change flag.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "biological_panel.h"
#include "comments_panel.h"
#include "main_window.h"
#include "non_biological_panel.h"
#include "period_panel.h"
#include "prompts.h"
#include "results/results_window.h"
#include "run_settings.h"
#include "season_date.h"

namespace vd::ui {

namespace {

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

void MainWindow::connectSeasonHandlers() {
    seasonStartEdit->installEventFilter(this);
    seasonEndEdit->installEventFilter(this);
    connect(seasonStartEdit, &QLineEdit::textChanged, this, &MainWindow::onSeasonStartEdited);
    connect(climaticYearBox, &QCheckBox::toggled, this, &MainWindow::onClimaticYearToggled);
    connect(bioWithinSeasonBox, &QCheckBox::toggled, this, &MainWindow::markChanged);
}

void MainWindow::connectParameterHandlers() {
    connect(bio_, &BiologicalPanel::edited, this, &MainWindow::markChanged);
    connect(nonBio_, &NonBiologicalPanel::edited, this, &MainWindow::markChanged);
    connect(comments_, &CommentsPanel::edited, this, &MainWindow::markChanged);
    connect(period_, &PeriodPanel::edited, this, &MainWindow::markChanged);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool seasonEdit = watched == seasonStartEdit || watched == seasonEndEdit;
    if (seasonEdit && event->type() == QEvent::FocusIn) {
        rememberSeason();
    } else if (seasonEdit && event->type() == QEvent::FocusOut) {
        // Leaving means moving to another control of this window, not switching windows.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leaveSeasonEdit(static_cast<QLineEdit*>(watched));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::rememberSeason() {
    save_ = text(seasonEndEdit) + text(seasonStartEdit);
    startOnEntry_ = seasonStartEdit->text();
    endOnEntry_ = seasonEndEdit->text();
}

void MainWindow::refuseSeasonDate(QLineEdit* edit) {
    const QString typed = edit->text();
    const bool start = edit == seasonStartEdit;
    // The dates of before stay, and with them the table as it was read.
    seasonStartEdit->setText(startOnEntry_);
    seasonEndEdit->setText(endOnEntry_);
    prompts_.message(this, QStringLiteral("Error"),
                     QStringLiteral("%1: '%2' is not a date; use mmm dd or mm/dd")
                         .arg(start ? QStringLiteral("Start date of season")
                                    : QStringLiteral("End date of season"),
                              typed),
                     MessageIcon::exclamation);
}

void MainWindow::leaveSeasonEdit(QLineEdit* edit) {
    const vd::SeasonDate date = vd::typedSeasonDate(text(edit));
    if (!date.valid()) {
        refuseSeasonDate(edit);
        return;
    }
    unsavedChanges = true;
    edit->setText(QString::fromStdString(date.text));
    if (text(seasonEndEdit) + text(seasonStartEdit) == save_) return;
    save_ = text(seasonEndEdit) + text(seasonStartEdit);
    reReadTable();
    // Reading may have taken the focus away; step forward and back so that it rests on
    // the control the user was moving to.
    QTimer::singleShot(0, this, [this] {
        focusNextChild();
        focusPreviousChild();
    });
}

std::string MainWindow::dayBeforeStart() const {
    return vd::dayBeforeSeasonStart(text(seasonStartEdit));
}

bool MainWindow::seasonValid() const {
    return vd::parseSeasonDate(text(seasonStartEdit)).valid() &&
           vd::parseSeasonDate(text(seasonEndEdit)).valid();
}

void MainWindow::onSeasonStartEdited() {
    if (!climaticYearBox->isChecked()) return;
    // While the start is being typed and is no date yet, the end keeps its last value.
    const std::string end = dayBeforeStart();
    if (!end.empty()) seasonEndEdit->setText(QString::fromStdString(end));
}

void MainWindow::onClimaticYearToggled(bool checked) {
    markChanged();
    seasonEndEdit->setEnabled(!checked);
    seasonEndLabel->setEnabled(!checked);
    bioWithinSeasonBox->setEnabled(!checked);
    const QString endBefore = seasonEndEdit->text();
    if (!checked) {
        seasonEndEdit->setText(QString::fromStdString(keptEndText));
    } else {
        keptEndText = text(seasonEndEdit);
        const std::string end = dayBeforeStart();
        if (!end.empty()) seasonEndEdit->setText(QString::fromStdString(end));
    }
    // Another end is another season: the table shows the years it would compute.
    if (seasonEndEdit->text() != endBefore) reReadTable();
    save_ = text(seasonEndEdit) + text(seasonStartEdit);
}

void MainWindow::markChanged() {
    unsavedChanges = true;
}

QString MainWindow::recordHint(const QString& record) const {
    return periodHint(record, seasonStartEdit->text(), seasonEndEdit->text(), seasonYearShift);
}

}  // namespace vd::ui
