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
#include "main_window.h"
#include "program_name.h"
#include "prompts.h"
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

// Whether a Start or End cell holds other years than the row's record: the parameter file
// has no place for them.
bool startOrEndEdited(const GageTable& table) {
    return std::ranges::any_of(table.rows(), [](const GageRow& r) {
        if (r.record.size() != 9) return false;  // "N/A": nothing to edit
        return r.start != r.record.substr(0, 4) || r.end != r.record.substr(5, 4);
    });
}

}  // namespace

vd::run::ParamFile MainWindow::parameterFileContent() const {
    vd::run::ParamFile p;
    p.MRG = std::max(0, periodChoice->checkedId());
    p.MEdit1 = text(firstYearEdit);
    p.MEdit2 = text(lastYearEdit);
    p.CheckBox2 = climaticYearBox->isChecked();
    p.Edit1 = text(seasonEndEdit);
    p.Edit2 = text(seasonStartEdit);
    p.SDayText = keptStartText;
    p.EdayText = keptEndText;
    p.comments = commentLines();
    p.CheckBox1 = useDefaultsBox->isChecked();
    p.RadioButton1 = acuteButton->isChecked();
    p.RadioButton2 = chronicButton->isChecked();
    p.RadioButton3 = ammoniaButton->isChecked();
    for (std::size_t i = 0; i < bioFieldEdits.size(); ++i) p.EditBio[i] = text(bioFieldEdits[i]);
    p.Bio = keptBioTexts;
    p.Edit3 = text(averagingPeriodsEdit);
    p.Edit4 = text(returnPeriodEdit);
    for (const GageRow& r : table_.rows()) p.entries.push_back({r.path, r.use});
    return p;
}

void MainWindow::saveParameterFileAs() {
    const QStringList chosen = prompts_.chooseFiles(
        this, parameterFileDialog(FileDialogRequest::Mode::save, QStringLiteral("Save As"),
                                  QStringLiteral("VANDO 3 parameter files (*.vdp)")));
    if (chosen.isEmpty()) return;
    saveParameterFile(chosen.first());
}

void MainWindow::saveParameterFile(const QString& path) {
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
    unsavedChanges = false;
    parameterFilePath = path;
    setCaptionForFile(path);
    if (startOrEndEdited(table_))
        prompts_.message(this, programName(),
                         QStringLiteral("The Start and End years of the table are not kept in "
                                        "the parameter file; they are read again from the "
                                        "files."),
                         MessageIcon::information);
}

void MainWindow::setCaptionForFile(const QString& path) {
    setWindowTitle(parameterFileCaption(QFileInfo(path).fileName()));
}

bool MainWindow::mayDiscardChanges() {
    return !unsavedChanges ||
           prompts_.confirm(this, QStringLiteral("Opening an old VANDO parameter file will lose "
                                                 "changes to the flow data table and parameters. "
                                                 "Are you sure you want to open an old file?"));
}

void MainWindow::chooseParameterFile() {
    if (!mayDiscardChanges()) return;
    const QStringList chosen = prompts_.chooseFiles(
        this, parameterFileDialog(FileDialogRequest::Mode::openOne, QStringLiteral("Open"),
                                  QStringLiteral("VANDO parameter files (*.vdp)")));
    if (chosen.isEmpty()) return;
    openParameterFile(chosen.first());
}

void MainWindow::openParameterFile(const QString& path) {
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
    parameterFilePath = path;
    setCaptionForFile(path);
    unsavedChanges = false;
}

void MainWindow::applyParameterFile(const vd::run::ParamFile& p) {
    // Written in the file's order: each control's handlers run, and every later value
    // overwrites what a handler wrote before it. The old table goes first, so that no
    // season change re-reads it.
    clearTable();
    climaticYearBox->setChecked(p.CheckBox2);
    seasonEndEdit->setText(qs(p.Edit1));
    seasonStartEdit->setText(qs(p.Edit2));
    keptStartText = p.SDayText;
    keptEndText = p.EdayText;
    QStringList comments;
    for (const auto& c : p.comments) comments << qs(c);
    commentBox->setPlainText(comments.join(QLatin1Char('\n')));
    useDefaultsBox->setChecked(p.CheckBox1);
    const std::pair<QRadioButton*, bool> criteria[] = {{acuteButton, p.RadioButton1},
                                                       {chronicButton, p.RadioButton2},
                                                       {ammoniaButton, p.RadioButton3}};
    for (const auto& [button, checked] : criteria)
        if (checked) button->setChecked(true);
    for (std::size_t i = 0; i < bioFieldEdits.size(); ++i)
        bioFieldEdits[i]->setText(qs(p.EditBio[i]));
    keptBioTexts = p.Bio;
    averagingPeriodsEdit->setText(qs(p.Edit3));
    returnPeriodEdit->setText(qs(p.Edit4));

    std::vector<vd::run::ParamFileEntry> kept;
    QStringList missing;
    for (const vd::run::ParamFileEntry& e : p.entries) {
        if (QFileInfo(qs(e.path)).isFile())
            kept.push_back(e);
        else if (!missing.contains(qs(e.path)))
            missing << qs(e.path);
    }
    if (!missing.isEmpty()) showMissingFiles(missing);
    rebuildGageTable(kept);
    firstYearEdit->setText(qs(p.MEdit1));
    lastYearEdit->setText(qs(p.MEdit2));
    periodChoice->button(p.MRG)->setChecked(true);
}

void MainWindow::showMissingFiles(const QStringList& missing) {
    prompts_.message(this, QStringLiteral("Error!"),
                     QStringLiteral("One or more flow data files stored with the parameter file "
                                    "is missing and deleted from the list:\n\n") +
                         missing.join(QLatin1Char('\n')),
                     MessageIcon::stop);
}

void MainWindow::rebuildGageTable(const std::vector<vd::run::ParamFileEntry>& entries) {
    std::size_t i = 0;
    while (i < entries.size()) {
        const std::string& path = entries[i].path;
        // The consecutive entries that name this file stand for its rows.
        std::size_t run = 1;
        while (i + run < entries.size() && entries[i + run].path == path) ++run;
        const int added = addFiles({qs(path)}).front();
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
