// What a calculation run reads from the main window.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>

#include "main_window.h"

namespace vd::ui {

std::vector<std::string> TForm1::commentLines() const {
    // An empty box holds no line, not one empty line.
    const QString memo = Memo1->toPlainText();
    std::vector<std::string> lines;
    if (memo.isEmpty()) return lines;
    for (const QString& line : memo.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
    return lines;
}

vd::run::RunInput TForm1::runInput() const {
    const auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
    vd::run::RunInput in;
    vd::run::ControlTexts& c = in.controls;
    c.Edit2 = text(Edit2);
    c.Edit1 = text(Edit1);
    c.CheckBox2 = CheckBox2->isChecked();
    c.MRG = std::max(0, MRGItems->checkedId());
    c.MEdit1 = text(MEdit1);
    c.MEdit2 = text(MEdit2);
    c.EditBio1 = text(EditBio[0]);
    c.EditBio2 = text(EditBio[1]);
    c.EditBio3 = text(EditBio[2]);
    c.EditBio4 = text(EditBio[3]);
    c.RadioButton2 = RadioButton2->isChecked();
    c.RadioButton3 = RadioButton3->isChecked();
    c.CheckBox1 = CheckBox1->isChecked();
    c.Edit3 = text(Edit3);
    c.Edit4 = text(Edit4);
    c.Edit5 = text(Edit5);
    c.Edit6 = text(Edit6);
    c.toggle = toggle;
    c.comments = commentLines();
    in.rows = table_.rows();
    in.files = calc_->fileCache;  // the files the table has read are parsed already
    return in;
}

}  // namespace vd::ui
