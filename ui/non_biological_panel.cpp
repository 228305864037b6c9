#include "non_biological_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "sized_edit.h"

namespace vd::ui {

using vd::run::NonBiologicalKind;

NonBiologicalPanel::NonBiologicalPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Non-Biological Design Flow Parameters"), parent) {
    setMinimumSize(329, 201);
    setSizePolicy(QSizePolicy::Fixed, sizePolicy().verticalPolicy());
    hydrologicalButton_ = new QRadioButton(QStringLiteral("Hydrological"), this);
    hydrologicalButton_->setChecked(true);
    averagingPeriodsLabel_ = new QLabel(QStringLiteral("Flow averaging period (days):"), this);
    returnPeriodLabel_ =
        new QLabel(QStringLiteral("Return period on years with excursions (years):"), this);
    returnPeriodLabel_->setWordWrap(true);
    averagingPeriodsEdit_ = newSizedEdit(QStringLiteral("7"), 5, this);
    returnPeriodEdit_ = newSizedEdit(QStringLiteral("10"), 5, this);
    averagingPeriodsLabel_->setBuddy(averagingPeriodsEdit_);
    returnPeriodLabel_->setBuddy(returnPeriodEdit_);
    explicitFlowButton_ = new QRadioButton(QStringLiteral("Explicit flow value:"), this);
    flowEdit_ = newSizedEdit(QStringLiteral("5"), 5, this);
    flowUnitLabel_ = new QLabel(QStringLiteral("cfs"), this);
    percentileButton_ = new QRadioButton(QStringLiteral("Flow percentile:"), this);
    percentileEdit_ = newSizedEdit(QStringLiteral("0.1"), 5, this);
    percentUnitLabel_ = new QLabel(QStringLiteral("%"), this);
    for (QWidget* w :
         {static_cast<QWidget*>(flowEdit_), static_cast<QWidget*>(flowUnitLabel_),
          static_cast<QWidget*>(percentileEdit_), static_cast<QWidget*>(percentUnitLabel_)})
        w->setEnabled(false);
    const std::pair<QObject*, const char*> names[] = {
        {hydrologicalButton_, "hydrological"}, {explicitFlowButton_, "explicitFlow"},
        {percentileButton_, "flowPercentile"}, {averagingPeriodsEdit_, "averagingPeriods"},
        {returnPeriodEdit_, "returnPeriod"},   {flowEdit_, "flow"},
        {percentileEdit_, "percentile"},       {flowUnitLabel_, "flowUnit"},
        {percentUnitLabel_, "percentUnit"}};
    for (const auto& [object, name] : names) object->setObjectName(QLatin1String(name));

    auto* grid = new QGridLayout(this);
    grid->addWidget(hydrologicalButton_, 0, 0, 1, 3);
    grid->addWidget(averagingPeriodsLabel_, 1, 0);
    grid->addWidget(averagingPeriodsEdit_, 1, 1);
    grid->addWidget(returnPeriodLabel_, 2, 0);
    grid->addWidget(returnPeriodEdit_, 2, 1, Qt::AlignTop);
    grid->addWidget(explicitFlowButton_, 3, 0);
    grid->addWidget(flowEdit_, 3, 1);
    grid->addWidget(flowUnitLabel_, 3, 2);
    grid->addWidget(percentileButton_, 4, 0);
    grid->addWidget(percentileEdit_, 4, 1);
    grid->addWidget(percentUnitLabel_, 4, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(5, 1);
    averagingPeriodsLabel_->setContentsMargins(20, 0, 0, 0);
    returnPeriodLabel_->setContentsMargins(20, 0, 0, 0);

    for (const NonBiologicalKind kind :
         {NonBiologicalKind::hydrological, NonBiologicalKind::explicitFlow,
          NonBiologicalKind::percentile})
        connect(button(kind), &QRadioButton::toggled, this, [this, kind](bool checked) {
            if (checked) onKindChosen(kind);
        });
    for (QLineEdit* edit : {averagingPeriodsEdit_, returnPeriodEdit_, flowEdit_, percentileEdit_})
        connect(edit, &QLineEdit::textChanged, this, &NonBiologicalPanel::edited);
}

QRadioButton* NonBiologicalPanel::button(NonBiologicalKind kind) const {
    switch (kind) {
        case NonBiologicalKind::explicitFlow:
            return explicitFlowButton_;
        case NonBiologicalKind::percentile:
            return percentileButton_;
        case NonBiologicalKind::hydrological:
            break;
    }
    return hydrologicalButton_;
}

void NonBiologicalPanel::onKindChosen(NonBiologicalKind kind) {
    emit edited();
    kind_ = kind;
    const bool hydrological = kind == NonBiologicalKind::hydrological;
    const bool flow = kind == NonBiologicalKind::explicitFlow;
    const bool percentile = kind == NonBiologicalKind::percentile;
    averagingPeriodsEdit_->setEnabled(hydrological);
    returnPeriodEdit_->setEnabled(hydrological);
    flowEdit_->setEnabled(flow);
    flowUnitLabel_->setEnabled(flow);
    percentileEdit_->setEnabled(percentile);
    percentUnitLabel_->setEnabled(percentile);
}

void NonBiologicalPanel::fillTexts(vd::run::SettingsTexts& t) const {
    t.averagingPeriods = averagingPeriodsEdit_->text().toStdString();
    t.returnYears = returnPeriodEdit_->text().toStdString();
    t.flow = flowEdit_->text().toStdString();
    t.percentile = percentileEdit_->text().toStdString();
    t.nonBiological = kind_;
}

void NonBiologicalPanel::showTexts(const vd::run::SettingsTexts& t) {
    averagingPeriodsEdit_->setText(QString::fromStdString(t.averagingPeriods));
    returnPeriodEdit_->setText(QString::fromStdString(t.returnYears));
    flowEdit_->setText(QString::fromStdString(t.flow));
    percentileEdit_->setText(QString::fromStdString(t.percentile));
    button(t.nonBiological)->setChecked(true);
}

QList<QWidget*> NonBiologicalPanel::tabOrder() const {
    return {hydrologicalButton_, averagingPeriodsEdit_, returnPeriodEdit_, explicitFlowButton_,
            flowEdit_,           percentileButton_,     percentileEdit_};
}

}  // namespace vd::ui
