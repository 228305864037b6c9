// "Save as..." and "Open..." of the main window: the whole analysis to and from a
// parameter file, with the gage table rebuilt from the stored flow files.
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "biological_panel.h"
#include "comments_panel.h"
#include "errors.h"
#include "gage_table_model.h"
#include "input_file.h"
#include "main_window.h"
#include "non_biological_panel.h"
#include "period_panel.h"
#include "program_name.h"
#include "prompts.h"
#include "season_panel.h"
#include "utf8_path.h"
#include "vd_paramfile.h"
#include "whole_file.h"

namespace vd::ui {

namespace {

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
    p.settings = settingsTexts();
    const vd::run::PeriodTexts periods =
        vd::run::periodTextsForFile(p.settings.averagingPeriods, p.settings.returnYears);
    p.settings.averagingPeriods = periods.averagingPeriods;
    p.settings.returnYears = periods.returnYears;
    p.criterionMarked = bio_->criterionMarked();
    season_->fillKept(p.kept);
    bio_->fillKept(p.kept);
    for (const GageRow& r : analysis_.table().rows()) p.entries.push_back({r.path, r.use});
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
    try {
        writeWholeFile(pathFromUtf8(path.toStdString()), content);
    } catch (const vd::Error& e) {
        if (e.code() != vd::ErrorCode::inOut) throw;
        // The analysis stays marked as unsaved, so that leaving still asks.
        prompts_.message(this, QStringLiteral("Error"), QString::fromStdString(e.what()),
                         MessageIcon::exclamation);
        return;
    }
    unsavedChanges = false;
    parameterFilePath = path;
    setCaptionForFile(path);
    if (startOrEndEdited(analysis_.table()))
        prompts_.message(this, programName(),
                         QStringLiteral("The Start and End years of the table are not kept in "
                                        "the parameter file; they are read again from the "
                                        "files."),
                         MessageIcon::information);
}

void MainWindow::saveParameterFileInPlace() {
    if (parameterFilePath.isEmpty())
        saveParameterFileAs();
    else
        saveParameterFile(parameterFilePath);
}

void MainWindow::setCaptionForFile(const QString& path) {
    setCaption(parameterFileCaption(QFileInfo(path).fileName()));
}

void MainWindow::setCaption(const QString& caption) {
    caption_ = caption;
    showCaption();
}

void MainWindow::showCaption() {
    setWindowTitle(unsavedChanges ? QStringLiteral("*") + caption_ : caption_);
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
    // Opening a named pipe would block the window: anything but a regular file is refused.
    if (const char* kind = vd::nonRegularFileKind(path.toStdString())) {
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
    } catch (const vd::Error& e) {
        if (e.code() != vd::ErrorCode::paramFile) throw;
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
    // Distributed to the panels in the file's order: each control's handlers run, and every
    // later value overwrites what a handler wrote before it. The old table goes first, so
    // that no season change re-reads it.
    clearTable();
    const vd::run::SettingsTexts t = vd::run::settingsTextsOf(p);
    season_->showTexts(t, p.kept);
    comments_->showTexts(t);
    bio_->showTexts(t, p.kept, p.criterionMarked);
    nonBio_->showTexts(t);

    bool anyMissing = false;
    const std::vector<vd::run::ParamFileEntry> kept =
        vd::run::entriesStillPresent(p.entries, anyMissing);
    QStringList missing;
    for (const vd::run::ParamFileEntry& e : p.entries)
        if (std::ranges::find(kept, e) == kept.end() && !missing.contains(qs(e.path)))
            missing << qs(e.path);
    if (!missing.isEmpty()) showMissingFiles(missing);
    rebuildGageTable(kept);
    // After the table, whose files write the years and choose all dates as they are added.
    period_->showTexts(t);
}

void MainWindow::showMissingFiles(const QStringList& missing) {
    prompts_.message(this, QStringLiteral("Error!"),
                     QStringLiteral("One or more flow data files stored with the parameter file "
                                    "is missing and deleted from the list:\n\n") +
                         missing.join(QLatin1Char('\n')),
                     MessageIcon::stop);
}

void MainWindow::rebuildGageTable(const std::vector<vd::run::ParamFileEntry>& entries) {
    vd::run::replayStoredEntries(
        entries, [this](const std::string& path) { return addFiles({qs(path)}).front(); },
        [this] { return analysis_.table().rowCount(); },
        [this](int row) { model_->change([row](GageTable& t) { t.row(row).use = false; }); });
    if (!analysis_.table().empty()) updateUseButtons();
}

}  // namespace vd::ui
