#include "biological_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "sized_edit.h"
#include "vd_paramfile.h"

namespace vd::ui {

namespace {

using vd::run::CriterionKind;

constexpr std::size_t keptTextLimit = 255;

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

BiologicalPanel::BiologicalPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Biological Design Flow Parameters"), parent) {
    setMinimumSize(329, 249);
    setSizePolicy(QSizePolicy::Fixed, sizePolicy().verticalPolicy());
    useDefaultsBox_ = new QCheckBox(QStringLiteral("Use defaults"), this);
    useDefaultsBox_->setChecked(true);
    acuteButton_ =
        new QRadioButton(QStringLiteral("Criterion maximum concentration (acute)"), this);
    chronicButton_ =
        new QRadioButton(QStringLiteral("Criterion continuous concentration (chronic)"), this);
    ammoniaButton_ = new QRadioButton(QStringLiteral("Ammonia"), this);
    acuteButton_->setChecked(true);
    const QStringList captions{QStringLiteral("Flow averaging period (days):"),
                               QStringLiteral("Average number of years between excursions"),
                               QStringLiteral("Length of excursion clustering period (days)"),
                               QStringLiteral("Average number of excursions counted per cluster:")};
    const QStringList values{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("120"),
                             QStringLiteral("5"), QStringLiteral("1")};
    const char* names[] = {"bioAveragingDays", "bioYearsBetween", "bioClusterDays",
                           "bioExcursionsPerCluster", "bioHiddenValue"};
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = newSizedEdit(values[static_cast<int>(i)], 5, this);
        edits_[i]->setObjectName(QLatin1String(names[i]));
        edits_[i]->setEnabled(false);
    }
    edits_[4]->hide();  // a fifth value that the window keeps but never shows
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        labels_[i] = new QLabel(captions[static_cast<int>(i)], this);
        labels_[i]->setWordWrap(true);
        labels_[i]->setEnabled(false);
        labels_[i]->setBuddy(edits_[i]);
    }
    useDefaultsBox_->setObjectName(QStringLiteral("useDefaults"));
    acuteButton_->setObjectName(QStringLiteral("acute"));
    chronicButton_->setObjectName(QStringLiteral("chronic"));
    ammoniaButton_->setObjectName(QStringLiteral("ammonia"));

    auto* criteria = new QVBoxLayout;
    criteria->addWidget(useDefaultsBox_);
    for (QRadioButton* r : {acuteButton_, chronicButton_, ammoniaButton_}) criteria->addWidget(r);
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        grid->addWidget(labels_[i], static_cast<int>(i), 0);
        grid->addWidget(edits_[i], static_cast<int>(i), 1, Qt::AlignTop);
    }
    grid->setColumnStretch(0, 1);
    auto* panel = new QVBoxLayout(this);
    panel->addLayout(criteria);
    panel->addSpacing(6);
    panel->addLayout(grid);
    panel->addStretch();

    connect(useDefaultsBox_, &QCheckBox::toggled, this, &BiologicalPanel::onUseDefaultsToggled);
    for (const CriterionKind kind :
         {CriterionKind::acute, CriterionKind::chronic, CriterionKind::ammonia})
        connect(button(kind), &QRadioButton::toggled, this, [this, kind](bool checked) {
            if (checked) writeDefaults(kind);
        });
    for (QLineEdit* edit : edits_)
        connect(edit, &QLineEdit::textChanged, this, &BiologicalPanel::edited);
}

QRadioButton* BiologicalPanel::button(CriterionKind kind) const {
    switch (kind) {
        case CriterionKind::chronic:
            return chronicButton_;
        case CriterionKind::ammonia:
            return ammoniaButton_;
        case CriterionKind::acute:
            break;
    }
    return acuteButton_;
}

CriterionKind BiologicalPanel::criterion() const {
    return ammoniaButton_->isChecked()   ? CriterionKind::ammonia
           : chronicButton_->isChecked() ? CriterionKind::chronic
                                         : CriterionKind::acute;
}

bool BiologicalPanel::criterionMarked() const {
    return acuteButton_->isChecked() || chronicButton_->isChecked() || ammoniaButton_->isChecked();
}

void BiologicalPanel::onUseDefaultsToggled(bool checked) {
    for (QRadioButton* r : {acuteButton_, chronicButton_, ammoniaButton_}) r->setEnabled(checked);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        edits_[i]->setEnabled(!checked);
        labels_[i]->setEnabled(!checked);
    }
    if (checked) {
        for (std::size_t i = 0; i < edits_.size(); ++i)
            kept_[i] = text(edits_[i]).substr(0, keptTextLimit);
        writeDefaults(criterion());
    } else {
        for (std::size_t i = 0; i < edits_.size(); ++i)
            edits_[i]->setText(QString::fromStdString(kept_[i]));
    }
}

void BiologicalPanel::writeDefaults(CriterionKind kind) {
    const vd::run::CriterionValues d = vd::run::criterionDefaults(kind);
    const char* values[] = {d.averagingDays, d.yearsBetween, d.clusterDays, d.excursionsPerCluster};
    for (std::size_t i = 0; i < std::size(values); ++i)
        edits_[i]->setText(QString::fromLatin1(values[i]));
}

void BiologicalPanel::fillTexts(vd::run::SettingsTexts& t) const {
    t.bioAveragingDays = text(edits_[0]);
    t.bioYearsBetween = text(edits_[1]);
    t.bioClusterDays = text(edits_[2]);
    t.bioExcursionsPerCluster = text(edits_[3]);
    t.criterion = criterion();
    t.useDefaults = useDefaultsBox_->isChecked();
}

void BiologicalPanel::fillKept(vd::run::KeptTexts& kept) const {
    kept.biological = kept_;
    kept.hiddenBiological = text(edits_[4]);
}

void BiologicalPanel::showTexts(const vd::run::SettingsTexts& t, const vd::run::KeptTexts& kept,
                                bool criterionMarked) {
    useDefaultsBox_->setChecked(t.useDefaults);
    // A file that marks no criterion leaves the choice as it is.
    if (criterionMarked) button(t.criterion)->setChecked(true);
    const std::string* values[] = {&t.bioAveragingDays, &t.bioYearsBetween, &t.bioClusterDays,
                                   &t.bioExcursionsPerCluster};
    for (std::size_t i = 0; i < std::size(values); ++i)
        edits_[i]->setText(QString::fromStdString(*values[i]));
    // The fifth value is kept by the format but never shown.
    edits_[4]->setText(QString::fromStdString(kept.hiddenBiological));
    kept_ = kept.biological;
}

QList<QWidget*> BiologicalPanel::tabOrder() const {
    return {useDefaultsBox_, acuteButton_, edits_[0], edits_[1], edits_[2], edits_[3]};
}

}  // namespace vd::ui
