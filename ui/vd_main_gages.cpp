// The gage table of the main window: adding flow files, the Use marks, removing unused
// files, clearing, and the re-read after a change of season.
#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "errors.h"
#include "gage_grid.h"
#include "gage_table_model.h"
#include "prompts.h"
#include "season_date.h"
#include "vd_main.h"
#include "vd_progress.h"
#include "web_fetch_dialog.h"

namespace vd::ui {

namespace {

// Days before each month in a year without a leap day; 0 for a month that is no month.
int daysBeforeMonth(int month) {
    constexpr int before[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return month >= 1 && month <= 12 ? before[month] : 0;
}

int seasonDay(const QLineEdit* edit) {
    const vd::SeasonDate d = vd::niceenoughdate(edit->text().toStdString());
    return daysBeforeMonth(d.NEMonth) + d.NEDay;
}

QString fileTitle(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

}  // namespace

void TForm1::connectGageTable() {
    connect(MButton1, &QPushButton::clicked, this, &TForm1::MButton1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(StringGrid1, &GageGrid::useToggleRequested, this,
            [this](int row) { ToggleCheckbox(GageTableModel::colUse, row); });
    connect(gridArea_, &FileDropArea::filesDropped, this, &TForm1::addFlowFiles);
}

void TForm1::Clear() {
    model_->change([](GageTable& t) { t.clear(); });
    setGridEnabled(false);
    origwidth = StringGrid1->contentWidth();
    sizeGrid();
    StringGrid1->setCurrentIndex({});
    StringGrid1->clearSelection();
    for (QWidget* w : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2),
                       static_cast<QWidget*>(Button5), static_cast<QWidget*>(MRG)})
        w->setEnabled(false);
    Label1->setText(QStringLiteral("No gages"));
    Label1->setEnabled(true);
}

void TForm1::setGridEnabled(bool enabled) {
    StringGrid1->setEnabled(enabled);
}

void TForm1::sizeGrid() {
    const int rows = model_->rowCount() + 1;  // with the header
    const int rh = StringGrid1->rowHeight();
    if (rows > 15)
        StringGrid1->setFixedSize(origwidth + StringGrid1->scrollBarWidth(), 15 * rh);
    else
        StringGrid1->setFixedSize(origwidth, rows * rh);
}

bool TForm1::checkSeasonForAdding() {
    const std::pair<QLineEdit*, const char*> dates[] = {{Edit2, "Invalid start date"},
                                                        {Edit1, "Invalid end date"}};
    for (const auto& [edit, message] : dates) {
        if (vd::niceenoughdate(edit->text().toStdString()).valid()) continue;
        prompts_.message(this, QStringLiteral("Error"), QString::fromLatin1(message),
                         MessageIcon::exclamation);
        edit->setFocus();
        return false;
    }
    return true;
}

void TForm1::MButton1Click() {
    if (!checkSeasonForAdding()) return;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::openMany;
    request.title = QStringLiteral("Read Flow Files");
    request.filters = {QStringLiteral("USGS NWIS flow files (*.txt)"),
                       QStringLiteral("USGS flow files (*.cgi)"),
                       QStringLiteral("\"Old\" flow files (*.flo)")};
    request.defaultSuffix = QStringLiteral("flo");
    const QStringList paths = prompts_.chooseFiles(this, request);
    if (paths.isEmpty()) return;
    IsChanged = true;
    AddFiles(paths);
    Button2->setFocus();
}

void TForm1::addGagesFromWeb() {
    if (!checkSeasonForAdding()) return;
    WebFetchDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!dialog.failures().isEmpty())
        prompts_.message(this, QStringLiteral("VANDO 3.1b"), dialog.failures().join('\n'),
                         MessageIcon::exclamation);
    addFlowFiles(dialog.fetchedFiles());
}

void TForm1::addFlowFiles(const QStringList& paths) {
    if (paths.isEmpty() || !checkSeasonForAdding()) return;
    IsChanged = true;
    AddFiles(paths);
    Button2->setFocus();
}

void TForm1::showReadError(const QString& path, const char* kind, const char* what) {
    prompts_.message(this, QStringLiteral("VANDO 3.1b"),
                     QStringLiteral("VANDO 3.1b is unable to read the file \"%1\". Please "
                                    "confirm \nthat this file exists and that it is a valid "
                                    "flow file in text format.\n\n(Exception class name = "
                                    "%2, message = %3)")
                         .arg(path, QString::fromUtf8(kind), QString::fromUtf8(what)),
                     MessageIcon::information);
}

bool TForm1::refuseOverfullTable(const QString& path, int gages) {
    QString why;
    if (gages > GageTable::maxGagesPerFile)
        why = QStringLiteral("\"%1\" holds %2 gages; at most %3 gages are read from one file.")
                  .arg(path)
                  .arg(gages)
                  .arg(GageTable::maxGagesPerFile);
    else if (table_.rowCount() + gages > GageTable::maxRows)
        why = QStringLiteral(
                  "The gage table holds at most %1 gages; the %2 gages of \"%3\" "
                  "do not fit.")
                  .arg(GageTable::maxRows)
                  .arg(gages)
                  .arg(path);
    if (why.isEmpty()) return false;
    Form6->hide();
    prompts_.message(this, QStringLiteral("Error"),
                     why + QStringLiteral(" Adding stops here: this file and the files not yet "
                                          "read are not added."),
                     MessageIcon::exclamation);
    return true;
}

std::vector<int> TForm1::AddFiles(const QStringList& paths) {
    const int n = static_cast<int>(paths.size());
    std::vector<int> added(static_cast<std::size_t>(n), 0);
    sday = seasonDay(Edit2);
    eday = seasonDay(Edit1);
    SYAdjust = sday > eday ? 1 : 0;
    Form6->setCaption(QStringLiteral("Reading flow records"));
    Form6->setGauge(0);
    Form6->showNow();

    vd::CalcState& s = *calc_;
    int lastFy = 0;
    int lastLy = 0;
    // The list is read from its end, so the dialog's last file comes first in the table.
    for (int k = n; k >= 1; --k) {
        const QString& path = paths[k - 1];
        Form6->setCaption(
            QStringLiteral("Reading %1 (%2 of %3)").arg(fileTitle(path)).arg(k).arg(n));
        Form6->setGauge(100 * (n - k) / n);
        Form6->showNow();
        s.flowfile = QFile::encodeName(path).toStdString();
        s.seasonStart = Edit2->text().toStdString();
        s.seasonEnd = Edit1->text().toStdString();
        s.J1 = -999;
        s.J2 = 199;
        s.j1send.fill(-999);
        s.j2send.fill(199);
        s.trouble = false;
        s.sites = 0;
        try {
            reader_(s);
        } catch (const vd::VandoError& e) {
            Form6->hide();
            showReadError(path, e.className(), e.what());
            continue;
        } catch (const std::exception& e) {
            Form6->hide();
            showReadError(path, "Exception", e.what());
            continue;
        }
        if (s.trouble) setWindowTitle(QStringLiteral("trouble"));
        if (s.sites <= 0) continue;
        if (refuseOverfullTable(path, s.sites)) {
            std::fill(added.begin(), added.begin() + k, -1);
            break;
        }
        for (int i = 1; i <= s.sites; ++i) {
            const int fy = s.j1big[i] + 1900 + SYAdjust;
            const int ly = s.j2big[i] + 1900;
            const bool full = fy < ly;
            GageRow row;
            row.name = s.sitenames[i];
            row.path = path.toStdString();
            row.gcount = s.sites;
            row.record = full ? std::to_string(fy) + "-" + std::to_string(ly) : "N/A";
            row.start = full ? std::to_string(fy) : "N/A";
            row.end = full ? std::to_string(ly) : "N/A";
            row.use = full;
            model_->appendRow(std::move(row));
            sizeGrid();
            setGridEnabled(true);
            StringGrid1->repaint();
            lastFy = fy;
            lastLy = ly;
        }
        added[static_cast<std::size_t>(k - 1)] = s.sites;
    }
    Form6->hide();
    if (table_.empty()) {
        // Nothing could be read: the table stays in its empty state.
        Clear();
        return added;
    }
    Label1->setText(QString::fromStdString(table_.countText()));
    MEdit1->setText(QString::number(lastFy));
    MEdit2->setText(QString::number(lastLy));
    for (QWidget* w : {static_cast<QWidget*>(Button2), static_cast<QWidget*>(Button5),
                       static_cast<QWidget*>(MRG), static_cast<QWidget*>(GroupBox1)})
        w->setEnabled(true);
    MRGItems->button(0)->setChecked(true);
    Saveas1->setEnabled(true);
    update();
    return added;
}

void TForm1::ToggleCheckbox(int column, int row) {
    if (column != GageTableModel::colUse || row < 0 || row >= table_.rowCount()) return;
    model_->toggleUse(row);
    updateUseButtons();
}

void TForm1::updateUseButtons() {
    Button1->setEnabled(table_.someFileUnused());
    Button2->setEnabled(table_.used() > 0);
}

void TForm1::Button1Click() {
    if (!prompts_.confirm(this, QStringLiteral("This will remove unused files from the table. "
                                               "Are you sure you want to remove them?")))
        return;
    model_->change([](GageTable& t) { t.removeUnusedFiles(); });
    if (table_.empty()) {
        Clear();
        return;
    }
    sizeGrid();
    Label1->setText(
        QStringLiteral("%1 gages in %2 files").arg(table_.rowCount()).arg(table_.files()));
    Button1->setEnabled(false);
}

void TForm1::Button5Click() {
    if (!prompts_.confirm(this, QStringLiteral("This will empty the flow data table. Are you "
                                               "sure you want to remove all gages?")))
        return;
    IsChanged = false;
    Clear();
}

void TForm1::ClearAndRead() {
    if (table_.empty() || !seasonValid()) return;
    const std::vector<bool> marks = table_.marks();
    QStringList paths;
    for (const std::string& p : table_.filePaths()) paths.prepend(QString::fromStdString(p));
    model_->change([](GageTable& t) { t.clear(); });
    AddFiles(paths);
    model_->change([&marks](GageTable& t) {
        const int n = std::min(t.rowCount(), static_cast<int>(marks.size()));
        for (int r = 0; r < n; ++r) t.row(r).use = marks[static_cast<std::size_t>(r)];
    });
}

}  // namespace vd::ui
