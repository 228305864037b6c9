// The gage table of the main window: adding flow files, the Use marks, removing unused
// files, clearing, and the re-read after a change of season.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <algorithm>

#include "biological_panel.h"
#include "errors.h"
#include "flow_file_cache.h"
#include "flow_file_kinds.h"
#include "gage_rows.h"
#include "gage_table_model.h"
#include "gages_panel.h"
#include "main_window.h"
#include "period_panel.h"
#include "program_name.h"
#include "prompts.h"
#include "results/progress_window.h"
#include "season_date.h"
#include "season_panel.h"
#include "web_fetch_dialog.h"

namespace vd::ui {

namespace {

QString fileTitle(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

}  // namespace

void MainWindow::connectGageTable() {
    connect(gages_, &GagesPanel::addFilesClicked, this, &MainWindow::chooseFlowFiles);
    connect(gages_, &GagesPanel::removeUnusedClicked, this, &MainWindow::removeUnusedFiles);
    connect(gages_, &GagesPanel::clearAllClicked, this, &MainWindow::clearAll);
    connect(gages_, &GagesPanel::useToggleRequested, this,
            [this](int row) { toggleUseMark(GageTableModel::colUse, row); });
    connect(gages_, &GagesPanel::useAllRequested, this, [this](bool use) { setAllUseMarks(use); });
    // An edited Start or End cell (and every Use mark) is a change of the analysis.
    connect(model_, &GageTableModel::dataChanged, this, &MainWindow::markChanged);
    connect(gages_, &GagesPanel::filesDropped, this, &MainWindow::openArguments);
}

void MainWindow::clearTable() {
    model_->change([](GageTable& t) { t.clear(); });
    gages_->showEmptyTable();
    for (QWidget* w : {static_cast<QWidget*>(calculateButton), static_cast<QWidget*>(period_)})
        w->setEnabled(false);
}

void MainWindow::setGridEnabled(bool enabled) {
    gages_->setGridEnabled(enabled);
}

void MainWindow::sizeGrid() {
    gages_->sizeGrid();
}

bool MainWindow::checkSeasonForAdding() {
    using Date = SeasonPanel::Date;
    const std::pair<Date, const char*> dates[] = {{Date::start, "Invalid start date"},
                                                  {Date::end, "Invalid end date"}};
    for (const auto& [date, message] : dates) {
        if (vd::parseSeasonDate(season_->text(date)).valid()) continue;
        prompts_.message(this, QStringLiteral("Error"), QString::fromLatin1(message),
                         MessageIcon::exclamation);
        season_->focus(date);
        return false;
    }
    return true;
}

void MainWindow::chooseFlowFiles() {
    if (!checkSeasonForAdding()) return;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::openMany;
    request.title = QStringLiteral("Read Flow Files");
    request.filters = flowFileFilters();
    request.defaultSuffix = QStringLiteral("flo");
    const QStringList paths = confirmRepeatedFiles(prompts_.chooseFiles(this, request));
    if (paths.isEmpty()) return;
    unsavedChanges = true;
    addFiles(paths);
    calculateButton->setFocus();
}

void MainWindow::addGagesFromWeb() {
    if (!checkSeasonForAdding()) return;
    WebFetchDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!dialog.failures().isEmpty())
        prompts_.message(this, programName(), dialog.failures().join('\n'),
                         MessageIcon::exclamation);
    addFlowFiles(dialog.fetchedFiles());
}

void MainWindow::addFlowFiles(const QStringList& chosen) {
    if (chosen.isEmpty() || !checkSeasonForAdding()) return;
    const QStringList paths = confirmRepeatedFiles(chosen);
    if (paths.isEmpty()) return;
    unsavedChanges = true;
    addFiles(paths);
    calculateButton->setFocus();
}

QStringList MainWindow::confirmRepeatedFiles(const QStringList& paths) {
    QStringList inTable;
    for (const std::string& p : analysis_.table().filePaths())
        inTable << QFileInfo(QString::fromStdString(p)).absoluteFilePath();
    QStringList wanted;
    for (const QString& path : paths) {
        const bool repeated = inTable.contains(QFileInfo(path).absoluteFilePath());
        if (!repeated ||
            prompts_.confirm(this, QStringLiteral("%1 is already in the table. Add it again?")
                                       .arg(QDir::toNativeSeparators(path))))
            wanted << path;
    }
    return wanted;
}

void MainWindow::showReadError(const QString& path, const std::exception& e) {
    prompts_.message(this, programName(),
                     QString::fromStdString(vd::readErrorMessage(path.toStdString(), e, "\n")),
                     MessageIcon::information);
}

namespace {

QString manyGagesText(const QString& path, std::size_t gages) {
    return QStringLiteral(
               "%1 holds %2 gages; the gage table takes at most %3 per file. The batch "
               "command vando3-cli batch computes files of any size (see \"Files of "
               "many gages\" in the help).")
        .arg(QDir::toNativeSeparators(path))
        .arg(gages)
        .arg(GageTable::maxGagesPerFile);
}

}  // namespace

bool MainWindow::refuseFileOfManyGages(const QString& path) {
    // The reader stops at the file's 101st gage; the parsed file tells how many it holds.
    const std::size_t gages = analysis_.gagesInParsedFile(QFile::encodeName(path).toStdString());
    if (gages <= static_cast<std::size_t>(GageTable::maxGagesPerFile)) return false;
    progress_->hide();
    prompts_.message(this, QStringLiteral("Error"), manyGagesText(path, gages),
                     MessageIcon::exclamation);
    return true;
}

bool MainWindow::refuseOverfullTable(const QString& path, int gages) {
    QString why;
    if (gages > GageTable::maxGagesPerFile)
        why = manyGagesText(path, static_cast<std::size_t>(gages));
    else if (analysis_.table().rowCount() + gages > GageTable::maxRows)
        why = QStringLiteral(
                  "The gage table holds at most %1 gages; the %2 gages of \"%3\" "
                  "do not fit.")
                  .arg(GageTable::maxRows)
                  .arg(gages)
                  .arg(path);
    if (why.isEmpty()) return false;
    progress_->hide();
    prompts_.message(this, QStringLiteral("Error"),
                     why + QStringLiteral(" Adding stops here: this file and the files not yet "
                                          "read are not added."),
                     MessageIcon::exclamation);
    return true;
}

std::vector<int> MainWindow::addFiles(const QStringList& paths) {
    const int n = static_cast<int>(paths.size());
    std::vector<int> added(static_cast<std::size_t>(n), 0);
    seasonYearShift = vd::seasonYearShift(season_->startText(), season_->endText());
    progress_->setCaption(QStringLiteral("Reading flow records"));
    progress_->setGauge(0);
    progress_->showNow();

    analysis_.settings().seasonStart = season_->startText();
    analysis_.settings().seasonEnd = season_->endText();
    int lastFy = 0;
    int lastLy = 0;
    // The list is read from its end, so the dialog's last file comes first in the table.
    for (int k = n; k >= 1; --k) {
        const QString& path = paths[k - 1];
        progress_->setCaption(
            QStringLiteral("Reading %1 (%2 of %3)").arg(fileTitle(path)).arg(k).arg(n));
        progress_->setGauge(100 * (n - k) / n);
        progress_->showNow();
        const vd::FileReading reading = analysis_.readFile(QFile::encodeName(path).toStdString());
        try {
            if (!reading.read()) std::rethrow_exception(reading.failure);
        } catch (const vd::Error& e) {
            progress_->hide();
            if (e.code() != vd::ErrorCode::range || !refuseFileOfManyGages(path))
                showReadError(path, e);
            continue;
        } catch (const std::exception& e) {
            progress_->hide();
            showReadError(path, e);
            continue;
        }
        if (reading.repeatedDates) setCaption(QStringLiteral("trouble"));
        const int sites = static_cast<int>(reading.gages.size());
        if (sites <= 0) continue;
        if (refuseOverfullTable(path, sites)) {
            std::fill(added.begin(), added.begin() + k, -1);
            break;
        }
        for (const vd::TableGage& g : reading.gages) {
            model_->appendRow(vd::run::gageRowOf(path.toStdString(), g, sites));
            sizeGrid();
            setGridEnabled(true);
            gages_->repaintGrid();
            lastFy = g.firstYear;
            lastLy = g.lastYear;
        }
        added[static_cast<std::size_t>(k - 1)] = sites;
    }
    progress_->hide();
    if (analysis_.table().empty()) {
        // Nothing could be read: the table stays in its empty state.
        clearTable();
        return added;
    }
    gages_->showCount(QString::fromStdString(analysis_.table().countText()));
    period_->showYears(QString::number(lastFy), QString::number(lastLy));
    for (QWidget* w : {static_cast<QWidget*>(calculateButton), static_cast<QWidget*>(period_),
                       static_cast<QWidget*>(bio_)})
        w->setEnabled(true);
    gages_->setClearAllEnabled(true);
    period_->choose(vd::run::PeriodKind::all);
    saveAction->setEnabled(true);
    saveAsAction->setEnabled(true);
    update();
    return added;
}

void MainWindow::toggleUseMark(int column, int row) {
    if (column != GageTableModel::colUse || row < 0 || row >= analysis_.table().rowCount()) return;
    model_->toggleUse(row);
    markChanged();
    updateUseButtons();
}

void MainWindow::setAllUseMarks(bool use) {
    if (analysis_.table().empty()) return;
    model_->setAllUse(use);
    markChanged();
    updateUseButtons();
}

void MainWindow::updateUseButtons() {
    gages_->setRemoveUnusedEnabled(analysis_.table().someFileUnused());
    calculateButton->setEnabled(analysis_.table().used() > 0);
}

void MainWindow::removeUnusedFiles() {
    if (!prompts_.confirm(this, QStringLiteral("This will remove unused files from the table. "
                                               "Are you sure you want to remove them?")))
        return;
    model_->change([](GageTable& t) { t.removeUnusedFiles(); });
    markChanged();
    if (analysis_.table().empty()) {
        clearTable();
        return;
    }
    sizeGrid();
    gages_->showCount(QStringLiteral("%1 gages in %2 files")
                          .arg(analysis_.table().rowCount())
                          .arg(analysis_.table().files()));
    gages_->setRemoveUnusedEnabled(false);
}

void MainWindow::clearAll() {
    if (!prompts_.confirm(this, QStringLiteral("This will empty the flow data table. Are you "
                                               "sure you want to remove all gages?")))
        return;
    clearTable();
    markChanged();
}

void MainWindow::reReadTable() {
    if (analysis_.table().empty() || !seasonValid()) return;
    const std::vector<bool> marks = analysis_.table().marks();
    QStringList paths;
    for (const std::string& p : analysis_.table().filePaths())
        paths.prepend(QString::fromStdString(p));
    model_->change([](GageTable& t) { t.clear(); });
    addFiles(paths);
    model_->change([&marks](GageTable& t) {
        const int n = std::min(t.rowCount(), static_cast<int>(marks.size()));
        for (int r = 0; r < n; ++r) t.row(r).use = marks[static_cast<std::size_t>(r)];
    });
}

}  // namespace vd::ui
