#include "season_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "prompts.h"
#include "season_date.h"
#include "sized_edit.h"
#include "vd_paramfile.h"

namespace vd::ui {

namespace {

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

SeasonPanel::SeasonPanel(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    startLabel_ = new QLabel(QStringLiteral("Start date of season:"), this);
    startEdit_ = newSizedEdit(QStringLiteral("Apr 1"), 6, this);
    dateFormatLabel_ = new QLabel(QStringLiteral("Dates are specified as mmm dd or mm/dd"), this);
    endLabel_ = new QLabel(QStringLiteral("End date of season:"), this);
    endEdit_ = newSizedEdit(QStringLiteral("Mar 31"), 6, this);
    climaticYearBox_ = new QCheckBox(QStringLiteral("Season is full climatic year"), this);
    climaticYearBox_->setChecked(true);
    bioWithinSeasonBox_ = new QCheckBox(QStringLiteral("Biological flow within the season"), this);
    bioWithinSeasonBox_->setToolTip(
        QStringLiteral("Compute the biological flow, the percentiles and the excursion rates "
                       "over the days of the season only. Unchecked they cover the whole "
                       "record; the xQy flows always follow the season."));
    bioWithinSeasonBox_->setEnabled(false);
    endEdit_->setEnabled(false);
    endLabel_->setEnabled(false);
    startEdit_->setObjectName(QStringLiteral("seasonStart"));
    endEdit_->setObjectName(QStringLiteral("seasonEnd"));
    climaticYearBox_->setObjectName(QStringLiteral("climaticYear"));
    bioWithinSeasonBox_->setObjectName(QStringLiteral("bioWithinSeason"));
    keptStart_ = textOf(startEdit_);
    keptEnd_ = textOf(endEdit_);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(startLabel_, 0, 0);
    grid->addWidget(startEdit_, 0, 1);
    grid->addWidget(dateFormatLabel_, 0, 2);
    grid->addWidget(endLabel_, 1, 0);
    grid->addWidget(endEdit_, 1, 1);
    grid->addWidget(climaticYearBox_, 1, 2);
    grid->addWidget(bioWithinSeasonBox_, 2, 2);
    grid->setColumnStretch(2, 1);

    startEdit_->installEventFilter(this);
    endEdit_->installEventFilter(this);
    connect(startEdit_, &QLineEdit::textChanged, this, &SeasonPanel::onStartEdited);
    connect(climaticYearBox_, &QCheckBox::toggled, this, &SeasonPanel::onClimaticYearToggled);
    connect(bioWithinSeasonBox_, &QCheckBox::toggled, this, &SeasonPanel::edited);
}

QLineEdit* SeasonPanel::edit(Date date) const {
    return date == Date::start ? startEdit_ : endEdit_;
}

std::string SeasonPanel::text(Date date) const {
    return textOf(edit(date));
}

void SeasonPanel::focus(Date date) {
    edit(date)->setFocus();
}

bool SeasonPanel::datesValid() const {
    return vd::parseSeasonDate(startText()).valid() && vd::parseSeasonDate(endText()).valid();
}

std::string SeasonPanel::seasonKey() const {
    return endText() + startText();
}

bool SeasonPanel::eventFilter(QObject* watched, QEvent* event) {
    const bool dateEdit = watched == startEdit_ || watched == endEdit_;
    if (dateEdit && event->type() == QEvent::FocusIn) {
        rememberSeason();
    } else if (dateEdit && event->type() == QEvent::FocusOut) {
        // Leaving means moving to another control of this window, not switching windows.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leaveDate(static_cast<QLineEdit*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void SeasonPanel::rememberSeason() {
    save_ = seasonKey();
    startOnEntry_ = startEdit_->text();
    endOnEntry_ = endEdit_->text();
}

void SeasonPanel::refuseDate(QLineEdit* edit) {
    const QString typed = edit->text();
    const bool start = edit == startEdit_;
    // The dates of before stay, and with them the table as it was read.
    startEdit_->setText(startOnEntry_);
    endEdit_->setText(endOnEntry_);
    prompts_.message(window(), QStringLiteral("Error"),
                     QStringLiteral("%1: '%2' is not a date; use mmm dd or mm/dd")
                         .arg(start ? QStringLiteral("Start date of season")
                                    : QStringLiteral("End date of season"),
                              typed),
                     MessageIcon::exclamation);
}

void SeasonPanel::leaveDate(QLineEdit* edit) {
    const vd::SeasonDate date = vd::typedSeasonDate(textOf(edit));
    if (!date.valid()) {
        refuseDate(edit);
        return;
    }
    emit edited();
    edit->setText(qs(date.text));
    if (seasonKey() == save_) return;
    save_ = seasonKey();
    emit seasonChanged();
    // Reading may have taken the focus away; step forward and back so that it rests on
    // the control the user was moving to.
    QTimer::singleShot(0, this, [this] {
        focusNextChild();
        focusPreviousChild();
    });
}

std::string SeasonPanel::dayBeforeStart() const {
    return vd::dayBeforeSeasonStart(startText());
}

void SeasonPanel::onStartEdited() {
    if (!climaticYearBox_->isChecked()) return;
    // While the start is being typed and is no date yet, the end keeps its last value.
    const std::string end = dayBeforeStart();
    if (!end.empty()) endEdit_->setText(qs(end));
}

void SeasonPanel::onClimaticYearToggled(bool checked) {
    emit edited();
    endEdit_->setEnabled(!checked);
    endLabel_->setEnabled(!checked);
    bioWithinSeasonBox_->setEnabled(!checked);
    const QString endBefore = endEdit_->text();
    if (!checked) {
        endEdit_->setText(qs(keptEnd_));
    } else {
        keptEnd_ = endText();
        const std::string end = dayBeforeStart();
        if (!end.empty()) endEdit_->setText(qs(end));
    }
    // Another end is another season: the table shows the years it would compute.
    if (endEdit_->text() != endBefore) emit seasonChanged();
    save_ = seasonKey();
}

void SeasonPanel::fillTexts(vd::run::SettingsTexts& t) const {
    t.seasonStart = startText();
    t.seasonEnd = endText();
    t.fullClimaticYear = climaticYearBox_->isChecked();
    t.bioWithinSeason = bioWithinSeasonBox_->isChecked();
}

void SeasonPanel::fillKept(vd::run::KeptTexts& kept) const {
    kept.seasonStart = keptStart_;
    kept.seasonEnd = keptEnd_;
}

void SeasonPanel::showTexts(const vd::run::SettingsTexts& t, const vd::run::KeptTexts& kept) {
    climaticYearBox_->setChecked(t.fullClimaticYear);
    endEdit_->setText(qs(t.seasonEnd));
    startEdit_->setText(qs(t.seasonStart));
    keptStart_ = kept.seasonStart;
    keptEnd_ = kept.seasonEnd;
    bioWithinSeasonBox_->setChecked(t.bioWithinSeason);
}

QList<QWidget*> SeasonPanel::tabOrder() const {
    return {startEdit_, endEdit_, climaticYearBox_, bioWithinSeasonBox_};
}

}  // namespace vd::ui
