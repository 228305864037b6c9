#include "period_panel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "sized_edit.h"

namespace vd::ui {

namespace {

using vd::run::PeriodKind;

struct Choice {
    PeriodKind kind;
    const char* text;
    const char* name;  // the button's object name
};

// The choices as the panel lists them; the fifth has the years beside it instead of a text.
constexpr Choice choices[] = {{PeriodKind::all, "All available dates", "periodAll"},
                              {PeriodKind::common, "Common dates", "periodCommon"},
                              {PeriodKind::longest, "Longest period", "periodLongest"},
                              {PeriodKind::table, "Specified in table", "periodTable"},
                              {PeriodKind::years, "", "periodYears"}};

}  // namespace

PeriodPanel::PeriodPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Calculation period"), parent), group_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("calculationPeriod"));
    setMinimumSize(249, 89);
    setSizePolicy(sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    static_assert(std::size(choices) == std::tuple_size_v<decltype(buttons_)>);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i] = new QRadioButton(QString::fromLatin1(choices[i].text), this);
        buttons_[i]->setObjectName(QLatin1String(choices[i].name));
        group_->addButton(buttons_[i]);
    }
    firstYear_ = newSizedEdit(QString(), 4, this);
    lastYear_ = newSizedEdit(QString(), 4, this);
    firstYear_->setObjectName(QStringLiteral("firstYear"));
    lastYear_->setObjectName(QStringLiteral("lastYear"));

    auto* fifthItem = new QHBoxLayout;
    fifthItem->setSpacing(4);
    fifthItem->addWidget(button(PeriodKind::years));
    fifthItem->addWidget(firstYear_);
    fifthItem->addWidget(new QLabel(QStringLiteral("to"), this));
    fifthItem->addWidget(lastYear_);
    fifthItem->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(button(PeriodKind::all), 0, 0);
    grid->addWidget(button(PeriodKind::common), 1, 0);
    grid->addWidget(button(PeriodKind::longest), 2, 0);
    grid->addWidget(button(PeriodKind::table), 0, 1);
    grid->addLayout(fifthItem, 1, 1);

    connect(group_, &QButtonGroup::buttonClicked, this, &PeriodPanel::edited);
    // Typing a year chooses the fifth period; the window's own writes of the years do not.
    connect(firstYear_, &QLineEdit::textEdited, this, &PeriodPanel::onYearEdited);
    connect(lastYear_, &QLineEdit::textEdited, this, &PeriodPanel::onYearEdited);
}

QRadioButton* PeriodPanel::button(PeriodKind kind) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (choices[i].kind == kind) return buttons_[i];
    return buttons_.front();
}

PeriodKind PeriodPanel::choice() const {
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked()) return choices[i].kind;
    return PeriodKind::all;
}

void PeriodPanel::choose(PeriodKind kind) {
    button(kind)->setChecked(true);
}

void PeriodPanel::showYears(const QString& first, const QString& last) {
    firstYear_->setText(first);
    lastYear_->setText(last);
}

void PeriodPanel::fillTexts(vd::run::SettingsTexts& t) const {
    t.period = choice();
    t.firstYear = firstYear_->text().toStdString();
    t.lastYear = lastYear_->text().toStdString();
}

void PeriodPanel::showTexts(const vd::run::SettingsTexts& t) {
    showYears(QString::fromStdString(t.firstYear), QString::fromStdString(t.lastYear));
    choose(t.period);
}

QList<QWidget*> PeriodPanel::tabOrder() const {
    return {button(PeriodKind::all), firstYear_, lastYear_};
}

void PeriodPanel::onYearEdited() {
    emit edited();
    choose(PeriodKind::years);
}

}  // namespace vd::ui
