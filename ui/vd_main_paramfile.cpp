// "Save as..." and "Open..." of the main window: the whole analysis to and from a
// parameter file, with the gage table rebuilt from the stored flow files.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSaveFile>
#include <algorithm>

#include "gage_table_model.h"
#include "input_file.h"
#include "prompts.h"
#include "vd_main.h"
#include "vd_paramfile.h"

namespace vd::ui {

namespace {

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

FileDialogRequest parameterFileDialog(FileDialogRequest::Mode mode, const QString& title,
                                      const QString& description) {
    FileDialogRequest r;
    r.mode = mode;
    r.title = title;
    r.filters = {description, QStringLiteral("All files (*.*)")};
    r.defaultSuffix = QStringLiteral("vdp");
    return r;
}

}  // namespace

vd::run::ParamFile TForm1::parameterFileContent() const {
    vd::run::ParamFile p;
    p.MRG = std::max(0, MRGItems->checkedId());
    p.MEdit1 = text(MEdit1);
    p.MEdit2 = text(MEdit2);
    p.CheckBox2 = CheckBox2->isChecked();
    p.Edit1 = text(Edit1);
    p.Edit2 = text(Edit2);
    p.SDayText = SDayText;
    p.EdayText = EdayText;
    p.comments = commentLines();
    p.CheckBox1 = CheckBox1->isChecked();
    p.RadioButton1 = RadioButton1->isChecked();
    p.RadioButton2 = RadioButton2->isChecked();
    p.RadioButton3 = RadioButton3->isChecked();
    for (std::size_t i = 0; i < EditBio.size(); ++i) p.EditBio[i] = text(EditBio[i]);
    p.Bio = Bio;
    p.Edit3 = text(Edit3);
    p.Edit4 = text(Edit4);
    for (const GageRow& r : table_.rows()) p.entries.push_back({r.path, r.use});
    return p;
}

void TForm1::Saveas1Click() {
    const QStringList chosen = prompts_.chooseFiles(
        this, parameterFileDialog(FileDialogRequest::Mode::save, QStringLiteral("Save As"),
                                  QStringLiteral("VANDO 3 parameter files (*.vdp)")));
    if (chosen.isEmpty()) return;
    SaveFile(chosen.first());
}

void TForm1::SaveFile(const QString& path) {
    const std::string content = vd::run::paramFileText(parameterFileContent());
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(content.data(), static_cast<qint64>(content.size())) ==
                           static_cast<qint64>(content.size()) &&
                       file.commit();
    if (!saved) {
        // The analysis stays marked as unsaved, so that leaving still asks.
        prompts_.message(this, QStringLiteral("Error"),
                         QStringLiteral("Unable to save \"%1\": %2").arg(path, file.errorString()),
                         MessageIcon::exclamation);
        return;
    }
    IsChanged = false;
    vdpfilename = path;
    setCaptionForFile(path);
}

void TForm1::setCaptionForFile(const QString& path) {
    setWindowTitle(QStringLiteral("VANDO 3 - ") + QFileInfo(path).fileName() +
                   QStringLiteral(".1b"));
}

void TForm1::Open1Click() {
    if (IsChanged &&
        !prompts_.confirm(this, QStringLiteral("Opening an old VANDO parameter file will lose "
                                               "changes to the flow data table and parameters. "
                                               "Are you sure you want to open an old file?")))
        return;
    const QStringList chosen = prompts_.chooseFiles(
        this, parameterFileDialog(FileDialogRequest::Mode::openOne, QStringLiteral("Open"),
                                  QStringLiteral("VANDO parameter files (*.vdp)")));
    if (chosen.isEmpty()) return;
    openParameterFile(chosen.first());
}

void TForm1::openParameterFile(const QString& path) {
    // Opening a named pipe would block the window: anything but a regular file is refused.
    if (const char* kind = vd::nonRegularFileKind(QFile::encodeName(path).toStdString())) {
        prompts_.message(this, QStringLiteral("Error!"),
                         QStringLiteral("\"%1\" is %2, not a parameter file.")
                             .arg(path, QString::fromLatin1(kind)),
                         MessageIcon::stop);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_.message(this, QStringLiteral("Error!"),
                         QStringLiteral("Unable to open \"%1\": %2").arg(path, file.errorString()),
                         MessageIcon::stop);
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    vd::run::ParamFile p;
    try {
        p = vd::run::parseParamFile(bytes.toStdString(),
                                    QFileInfo(path).absoluteFilePath().toStdString());
    } catch (const vd::run::ParamFileError& e) {
        // The whole file is parsed before any control changes, so a refusal changes nothing.
        prompts_.message(this, QStringLiteral("Error!"), QString::fromStdString(e.what()),
                         MessageIcon::stop);
        return;
    }
    applyParameterFile(p);
    vdpfilename = path;
    setCaptionForFile(path);
    IsChanged = false;
}

void TForm1::applyParameterFile(const vd::run::ParamFile& p) {
    // Written in the file's order: each control's handlers run, and every later value
    // overwrites what a handler wrote before it.
    CheckBox2->setChecked(p.CheckBox2);
    Edit1->setText(qs(p.Edit1));
    Edit2->setText(qs(p.Edit2));
    SDayText = p.SDayText;
    EdayText = p.EdayText;
    QStringList comments;
    for (const auto& c : p.comments) comments << qs(c);
    Memo1->setPlainText(comments.join(QLatin1Char('\n')));
    CheckBox1->setChecked(p.CheckBox1);
    const std::pair<QRadioButton*, bool> criteria[] = {{RadioButton1, p.RadioButton1},
                                                       {RadioButton2, p.RadioButton2},
                                                       {RadioButton3, p.RadioButton3}};
    for (const auto& [button, checked] : criteria)
        if (checked) button->setChecked(true);
    for (std::size_t i = 0; i < EditBio.size(); ++i) EditBio[i]->setText(qs(p.EditBio[i]));
    Bio = p.Bio;
    Edit3->setText(qs(p.Edit3));
    Edit4->setText(qs(p.Edit4));

    std::vector<vd::run::ParamFileEntry> kept;
    std::ranges::copy_if(p.entries, std::back_inserter(kept),
                         [](const auto& e) { return QFileInfo(qs(e.path)).isFile(); });
    Clear();
    if (kept.size() != p.entries.size())
        prompts_.message(this, QStringLiteral("Error!"),
                         QStringLiteral("One or more flow data files stored with the parameter "
                                        "file is missing and deleted from the list. "),
                         MessageIcon::stop);
    rebuildGageTable(kept);
    MEdit1->setText(qs(p.MEdit1));
    MEdit2->setText(qs(p.MEdit2));
    MRGItems->button(p.MRG)->setChecked(true);
}

void TForm1::rebuildGageTable(const std::vector<vd::run::ParamFileEntry>& entries) {
    std::size_t i = 0;
    while (i < entries.size()) {
        const std::string& path = entries[i].path;
        // The consecutive entries that name this file stand for its rows.
        std::size_t run = 1;
        while (i + run < entries.size() && entries[i + run].path == path) ++run;
        const int added = AddFiles({qs(path)}).front();
        if (added < 0) break;  // the table is full
        if (added == 0) {
            i += run;
            continue;
        }
        const std::size_t covered = std::min(run, static_cast<std::size_t>(added));
        const int first = table_.rowCount() - added;
        model_->change([&](GageTable& t) {
            for (std::size_t j = 0; j < covered; ++j)
                if (!entries[i + j].use) t.row(first + static_cast<int>(j)).use = false;
        });
        i += covered;
    }
    if (!table_.empty()) updateUseButtons();
}

}  // namespace vd::ui
