// What a calculation run reads from the main window.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>

#include "vd_main.h"

namespace vd::ui {

std::vector<std::string> TForm1::commentLines() const {
    // An empty box holds no line, not one empty line.
    const QString memo = Memo1->toPlainText();
    std::vector<std::string> lines;
    if (memo.isEmpty()) return lines;
    for (const QString& line : memo.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
    return lines;
}

// The one place where the window's controls become the settings texts.
vd::run::RunInput TForm1::runInput() const {
    const auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
    vd::run::RunInput in;
    vd::run::SettingsTexts& t = in.texts;
    t.seasonStart = text(Edit2);
    t.seasonEnd = text(Edit1);
    t.fullClimaticYear = CheckBox2->isChecked();
    t.period = static_cast<vd::run::PeriodKind>(std::max(0, MRGItems->checkedId()));
    t.firstYear = text(MEdit1);
    t.lastYear = text(MEdit2);
    t.bioAveragingDays = text(EditBio[0]);
    t.bioYearsBetween = text(EditBio[1]);
    t.bioClusterDays = text(EditBio[2]);
    t.bioExcursionsPerCluster = text(EditBio[3]);
    t.criterion = RadioButton3->isChecked()   ? vd::run::CriterionKind::ammonia
                  : RadioButton2->isChecked() ? vd::run::CriterionKind::chronic
                                              : vd::run::CriterionKind::acute;
    t.useDefaults = CheckBox1->isChecked();
    t.averagingPeriods = text(Edit3);
    t.returnYears = text(Edit4);
    t.flow = text(Edit5);
    t.percentile = text(Edit6);
    t.nonBiological = toggle == 5   ? vd::run::NonBiologicalKind::explicitFlow
                      : toggle == 6 ? vd::run::NonBiologicalKind::percentile
                                    : vd::run::NonBiologicalKind::hydrological;
    t.comments = commentLines();
    in.rows = table_.rows();
    in.files = calc_->fileCache;  // the files the table has read are parsed already
    return in;
}

}  // namespace vd::ui
