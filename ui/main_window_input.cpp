// What a calculation run reads from the main window.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>

#include "main_window.h"

namespace vd::ui {

std::vector<std::string> MainWindow::commentLines() const {
    // An empty box holds no line, not one empty line.
    const QString memo = commentBox->toPlainText();
    std::vector<std::string> lines;
    if (memo.isEmpty()) return lines;
    for (const QString& line : memo.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
    return lines;
}

vd::run::RunInput MainWindow::runInput() const {
    const auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
    vd::run::RunInput in;
    vd::run::ControlTexts& c = in.controls;
    c.Edit2 = text(seasonStartEdit);
    c.Edit1 = text(seasonEndEdit);
    c.CheckBox2 = climaticYearBox->isChecked();
    c.MRG = std::max(0, periodChoice->checkedId());
    c.MEdit1 = text(firstYearEdit);
    c.MEdit2 = text(lastYearEdit);
    c.EditBio1 = text(bioFieldEdits[0]);
    c.EditBio2 = text(bioFieldEdits[1]);
    c.EditBio3 = text(bioFieldEdits[2]);
    c.EditBio4 = text(bioFieldEdits[3]);
    c.RadioButton2 = chronicButton->isChecked();
    c.RadioButton3 = ammoniaButton->isChecked();
    c.CheckBox1 = useDefaultsBox->isChecked();
    c.Edit3 = text(averagingPeriodsEdit);
    c.Edit4 = text(returnPeriodEdit);
    c.Edit5 = text(flowEdit);
    c.Edit6 = text(percentileEdit);
    c.toggle = nonBiologicalKind;
    c.comments = commentLines();
    in.rows = table_.rows();
    in.files = calc_->fileCache;  // the files the table has read are parsed already
    return in;
}

}  // namespace vd::ui
