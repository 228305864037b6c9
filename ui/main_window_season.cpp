// Season and parameter entry of the main window: the date edits and the day before the
// start, "Use defaults" and the criteria, the non-biological choice, the change flag.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include "main_window.h"
#include "season_date.h"

namespace vd::ui {

namespace {

constexpr std::size_t keptTextLimit = 255;

struct CriterionDefaults {
    const char* values[4];
};
// Acute, chronic, ammonia: averaging days, years between excursions, clustering days,
// excursions counted per cluster.
constexpr CriterionDefaults criterionDefaults[3] = {
    {{"1", "3", "120", "5"}}, {{"4", "3", "120", "5"}}, {{"30", "3", "120", "4"}}};

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

void TForm1::connectSeasonHandlers() {
    Edit2->installEventFilter(this);
    Edit1->installEventFilter(this);
    connect(Edit2, &QLineEdit::textChanged, this, &TForm1::Edit2Change);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
}

void TForm1::connectParameterHandlers() {
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    const QRadioButton* criteria[] = {RadioButton1, RadioButton2, RadioButton3};
    for (int i = 0; i < 3; ++i)
        connect(criteria[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) CriterionClick(i);
        });
    const std::pair<QRadioButton*, int> choices[] = {
        {RadioButton4, 4}, {RadioButton5, 5}, {RadioButton6, 6}};
    for (const auto& [button, choice] : choices)
        connect(button, &QRadioButton::toggled, this, [this, choice = choice](bool checked) {
            if (checked) NonBiologicalClick(choice);
        });
    for (QLineEdit* edit : EditBio)
        connect(edit, &QLineEdit::textChanged, this, &TForm1::EditBio1Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm1::EditBio1Change);
    connect(Edit4, &QLineEdit::textChanged, this, &TForm1::EditBio1Change);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::EditBio1Change);
    connect(MEdit1, &QLineEdit::textChanged, this, &TForm1::MEdit1Change);
    connect(MEdit2, &QLineEdit::textChanged, this, &TForm1::MEdit1Change);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool seasonEdit = watched == Edit2 || watched == Edit1;
    if (seasonEdit && event->type() == QEvent::FocusIn) {
        Edit2Enter();
    } else if (seasonEdit && event->type() == QEvent::FocusOut) {
        // Leaving means moving to another control of this window, not switching windows.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            SeasonEditExit(static_cast<QLineEdit*>(watched));
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Edit2Enter() {
    save_ = text(Edit1) + text(Edit2);
}

void TForm1::SeasonEditExit(QLineEdit* edit) {
    IsChanged = true;
    edit->setText(QString::fromStdString(vd::niceenoughdate(text(edit)).text));
    if (text(Edit1) + text(Edit2) == save_) return;
    save_ = text(Edit1) + text(Edit2);
    ClearAndRead();
    // Reading may have taken the focus away; step forward and back so that it rests on
    // the control the user was moving to.
    QTimer::singleShot(0, this, [this] {
        focusNextChild();
        focusPreviousChild();
    });
}

std::string TForm1::dayBeforeStart() const {
    return vd::dayBeforeSeasonStart(text(Edit2));
}

bool TForm1::seasonValid() const {
    return vd::niceenoughdate(text(Edit2)).valid() && vd::niceenoughdate(text(Edit1)).valid();
}

void TForm1::Edit2Change() {
    if (!CheckBox2->isChecked()) return;
    // While the start is being typed and is no date yet, the end keeps its last value.
    const std::string end = dayBeforeStart();
    if (!end.empty()) Edit1->setText(QString::fromStdString(end));
}

void TForm1::CheckBox2Click(bool checked) {
    Edit1->setEnabled(!checked);
    Label3->setEnabled(!checked);
    setSeasonTabOrder(checked);
    if (!checked) {
        Edit1->setText(QString::fromStdString(EdayText));
        return;
    }
    EdayText = text(Edit1);
    const std::string end = dayBeforeStart();
    if (!end.empty()) Edit1->setText(QString::fromStdString(end));
}

void TForm1::setSeasonTabOrder(bool fullYear) {
    if (fullYear) {
        QWidget::setTabOrder(CheckBox2, Edit2);
        QWidget::setTabOrder(Edit2, Edit1);
    } else {
        QWidget::setTabOrder(Edit2, CheckBox2);
        QWidget::setTabOrder(CheckBox2, Edit1);
    }
}

void TForm1::CheckBox1Click(bool checked) {
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) r->setEnabled(checked);
    for (std::size_t i = 0; i < BioLabels.size(); ++i) {
        EditBio[i]->setEnabled(!checked);
        BioLabels[i]->setEnabled(!checked);
    }
    if (checked) {
        for (std::size_t i = 0; i < EditBio.size(); ++i)
            Bio[i] = text(EditBio[i]).substr(0, keptTextLimit);
        writeCriterionDefaults();
    } else {
        for (std::size_t i = 0; i < EditBio.size(); ++i)
            EditBio[i]->setText(QString::fromStdString(Bio[i]));
    }
}

void TForm1::writeCriterionDefaults() {
    CriterionClick(RadioButton1->isChecked() ? 0 : RadioButton2->isChecked() ? 1 : 2);
}

void TForm1::CriterionClick(int criterion) {
    const CriterionDefaults& d = criterionDefaults[criterion];
    for (std::size_t i = 0; i < 4; ++i) EditBio[i]->setText(QString::fromLatin1(d.values[i]));
}

void TForm1::NonBiologicalClick(int choice) {
    toggle = choice;
    Edit3->setEnabled(choice == 4);
    Edit4->setEnabled(choice == 4);
    Edit5->setEnabled(choice == 5);
    Label8->setEnabled(choice == 5);
    Edit6->setEnabled(choice == 6);
    Label9->setEnabled(choice == 6);
}

void TForm1::EditBio1Change() {
    IsChanged = true;
}

void TForm1::MEdit1Change() {
    IsChanged = true;
    MRGItems->button(4)->setChecked(true);
}

QString TForm1::recordHint(const QString& record) const {
    return QStringLiteral("%1, %2 - %3, %4")
        .arg(Edit2->text())
        .arg(record.left(4).toInt() - SYAdjust)
        .arg(Edit1->text())
        .arg(record.mid(5, 4));
}

}  // namespace vd::ui
