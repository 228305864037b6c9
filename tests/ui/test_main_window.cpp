// The main window driven through its real widgets, offscreen; message boxes, file dialogs,
// help and (mostly) the flow reader are stand-ins, so nothing blocks.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>

#include "about_box.h"
#include "gage_grid.h"
#include "gage_table_model.h"
#include "gages_panel.h"
#include "ui_fakes.h"
#include "vd_paramfile.h"
#include "widget_lookup.h"

using namespace vd;
using namespace vd::test;
using ui::GageTableModel;
using ui::MainWindow;

namespace {

// The window's controls, found by their object names: the window keeps its widgets private.
struct Controls {
    Controls() = default;
    explicit Controls(const MainWindow& w);
    // The radio button of a period choice.
    QRadioButton* period(run::PeriodKind kind) const;

    QLineEdit* seasonStartEdit = nullptr;
    QLineEdit* seasonEndEdit = nullptr;
    QCheckBox* climaticYearBox = nullptr;
    QCheckBox* bioWithinSeasonBox = nullptr;
    QPushButton* addFilesButton = nullptr;
    QPushButton* removeUnusedButton = nullptr;
    QPushButton* clearAllButton = nullptr;
    ui::GageGrid* gageGrid = nullptr;
    QLabel* gageCountLabel = nullptr;
    QGroupBox* periodGroup = nullptr;
    QLineEdit* firstYearEdit = nullptr;
    QLineEdit* lastYearEdit = nullptr;
    QPlainTextEdit* commentBox = nullptr;
    QCheckBox* useDefaultsBox = nullptr;
    QRadioButton* acuteButton = nullptr;
    QRadioButton* chronicButton = nullptr;
    QRadioButton* ammoniaButton = nullptr;
    QRadioButton* hydrologicalButton = nullptr;
    QRadioButton* explicitFlowButton = nullptr;
    QRadioButton* percentileButton = nullptr;
    QLineEdit* averagingPeriodsEdit = nullptr;
    QLineEdit* returnPeriodEdit = nullptr;
    QLineEdit* flowEdit = nullptr;
    QLineEdit* percentileEdit = nullptr;
    QLabel* flowUnitLabel = nullptr;
    QLabel* percentUnitLabel = nullptr;
    QPushButton* calculateButton = nullptr;
    QPushButton* exitButton = nullptr;
    QPushButton* helpButton = nullptr;
    QAction* clearFlowsAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    QAction* helpAction = nullptr;
    std::array<QLineEdit*, 4> bioFieldEdits{};  // the four biological values shown
    const MainWindow* window = nullptr;
};

Controls::Controls(const MainWindow& w) : window(&w) {
    seasonStartEdit = child<QLineEdit>(w, "seasonStart");
    seasonEndEdit = child<QLineEdit>(w, "seasonEnd");
    climaticYearBox = child<QCheckBox>(w, "climaticYear");
    bioWithinSeasonBox = child<QCheckBox>(w, "bioWithinSeason");
    addFilesButton = child<QPushButton>(w, "addFiles");
    removeUnusedButton = child<QPushButton>(w, "removeUnused");
    clearAllButton = child<QPushButton>(w, "clearAll");
    gageGrid = child<ui::GageGrid>(w, "gageGrid");
    gageCountLabel = child<QLabel>(w, "gageCount");
    periodGroup = child<QGroupBox>(w, "calculationPeriod");
    firstYearEdit = child<QLineEdit>(w, "firstYear");
    lastYearEdit = child<QLineEdit>(w, "lastYear");
    commentBox = child<QPlainTextEdit>(w, "comments");
    useDefaultsBox = child<QCheckBox>(w, "useDefaults");
    acuteButton = child<QRadioButton>(w, "acute");
    chronicButton = child<QRadioButton>(w, "chronic");
    ammoniaButton = child<QRadioButton>(w, "ammonia");
    hydrologicalButton = child<QRadioButton>(w, "hydrological");
    explicitFlowButton = child<QRadioButton>(w, "explicitFlow");
    percentileButton = child<QRadioButton>(w, "flowPercentile");
    averagingPeriodsEdit = child<QLineEdit>(w, "averagingPeriods");
    returnPeriodEdit = child<QLineEdit>(w, "returnPeriod");
    flowEdit = child<QLineEdit>(w, "flow");
    percentileEdit = child<QLineEdit>(w, "percentile");
    flowUnitLabel = child<QLabel>(w, "flowUnit");
    percentUnitLabel = child<QLabel>(w, "percentUnit");
    calculateButton = child<QPushButton>(w, "calculate");
    exitButton = child<QPushButton>(w, "exit");
    helpButton = child<QPushButton>(w, "help");
    clearFlowsAction = child<QAction>(w, "clearFlowsAction");
    saveAction = child<QAction>(w, "saveAction");
    saveAsAction = child<QAction>(w, "saveAsAction");
    helpAction = child<QAction>(w, "helpAction");
    const char* bio[] = {"bioAveragingDays", "bioYearsBetween", "bioClusterDays",
                         "bioExcursionsPerCluster"};
    for (std::size_t i = 0; i < bioFieldEdits.size(); ++i)
        bioFieldEdits[i] = child<QLineEdit>(w, bio[i]);
}

QRadioButton* Controls::period(run::PeriodKind kind) const {
    const char* names[] = {"periodAll", "periodCommon", "periodLongest", "periodTable",
                           "periodYears"};
    return child<QRadioButton>(*window, names[static_cast<int>(kind)]);
}

// One window with its stand-ins. `realReader` reads real flow files instead of FakeReader's.
struct Fixture {
    explicit Fixture(bool realReader = false, QString helpFile = {}) {
        if (helpFile.isNull()) {
            helpFile = dir.filePath(QStringLiteral("Vando31.html"));
            QFile f(helpFile);
            f.open(QIODevice::WriteOnly);
            f.write("<html></html>");
        }
        ui::FlowReader r = realReader ? ui::FlowReader{} : reader.reader(&progress);
        form = std::make_unique<MainWindow>(
            ui::MainWindowServices{prompts, help, helpFile, nullptr, r});
        progress = &form->progressWindow();
        c = Controls(*form);
    }

    // A file that exists on disk (so a parameter file keeps it), read as the given gages.
    QString file(const QString& name, std::vector<FakeGage> gages) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        reader.files[path.toStdString()] = std::move(gages);
        return path;
    }

    void add(const QStringList& paths) {
        prompts.choices.push_back(paths);
        form->chooseFlowFiles();
    }

    void show() {
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Types into a date edit and moves the focus on, as a user leaving it does.
    void typeAndLeave(QLineEdit* edit, const QString& text) {
        // The offscreen platform activates every window it shows, the progress window too,
        // and leaves none active when that hides again.
        QApplication::setActiveWindow(form.get());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        c.commentBox->setFocus();
        QApplication::processEvents();
    }

    // Drags the URLs onto the gage table and drops them; false when the table refuses them.
    bool drop(const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QWidget* area = c.gageGrid->parentWidget();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(area, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(area, &dropped);
        return true;
    }

    QString cell(int row, int column) const {
        return form->gageModel().index(row, column).data().toString();
    }
    QString hint(int row, int column) const {
        return form->gageModel().index(row, column).data(Qt::ToolTipRole).toString();
    }
    std::vector<bool> marks() const { return form->gageTable().marks(); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    RecordingHelp help;
    FakeReader reader;
    const ui::ProgressWindow* progress = nullptr;
    std::unique_ptr<MainWindow> form;
    Controls c;  // the window's controls
};

std::vector<FakeGage> gages(const std::string& prefix, int n, int j1 = 89, int j2 = 121) {
    std::vector<FakeGage> g;
    for (int i = 1; i <= n; ++i) g.push_back({prefix + std::to_string(i), j1, j2});
    return g;
}

QStringList bioTexts(const Controls& c) {
    QStringList t;
    for (const QLineEdit* edit : c.bioFieldEdits) t << edit->text();
    return t;
}

QString examplesDir() {
    return QStringLiteral(VANDO_EXAMPLES);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsInTheStartingState();
    void missingHelpFileIsReportedOnceAndTheWindowRuns();
    void seasonDatesAreNormalisedOnLeaving();
    void seasonChangeReReadsOnceAndKeepsMarks();
    void seasonChangeWithEmptyTableReadsNothing();
    void fullClimaticYearBoxKeepsTheUsersEndDate();
    void useDefaultsRoundTrip();
    void criterionAndNonBiologicalChoices();
    void addingFilesFillsBlocksInReverseListOrder();
    void gagesWithoutAFullSeasonStartUnmarked();
    void gridGrowsTo15RowsThenScrolls();
    void unreadableFileGivesOneMessageAndAddsNothing();
    void invalidSeasonStopsAddingBeforeTheDialog();
    void addingStopsAtTheTableLimit();
    void repeatedDateSetsTroubleCaption();
    void useMarksToggleByClickAndSpace();
    void removeUnusedFiles();
    void removingEveryFileEmptiesTheTable();
    void clearAllAsksFirst();
    void recordHints();
    void startingStateSavesAsTheFormatSays();
    void parameterFileRoundTripThroughTheWindow();
    void parameterFileRefusalsChangeNothing();
    void optionalEntriesSaveAndOpenThroughTheWindow();
    void missingStoredFilesAreDroppedWithOneMessage();
    void sampleAnalysisOpensFromAnyFolder();
    void foldersAndPipesAreRefusedAsFlowFiles();
    void commandLineArguments();
    void droppedFlowFilesAreAdded();
    void exitQuestionOnlyWithChanges();
    void saveKeepsTheOpenFileAndTheCaptionMarksChanges();
    void helpByContextNumber();
    void runInputCarriesControlsAndRows();
    void aboutBoxIsCentredEveryTime();
    void helpViewerOpensSectionsAndClosesAll();
    void shippedHelpFileHasASectionPerContext();
    void everyChangeOfTheAnalysisIsUnsaved();
    void openingAskFirstWithUnsavedChanges();
    void savingEditedStartOrEndYearsSaysTheyAreNotKept();
    void climaticYearBoxReReadsTheTable();
    void seasonTextThatIsNoDateIsRefused();
    void flowFileDialogShowsEveryKindFirst();
    void fileOfMoreThan100GagesSaysHowMany();
    void useAllAndUseNone();
    void columnsWidenAndTheTableGrowsWithTheWindow();
    void tabFollowsTheLayoutAndLeavesTheTable();
};

void MainWindowTest::startsInTheStartingState() {
    Fixture f;
    MainWindow& w = *f.form;
    QCOMPARE(w.windowTitle(), QStringLiteral("VANDO 3.1b"));
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("No gages"));
    QCOMPARE(f.c.seasonStartEdit->text(), QStringLiteral("Apr 1"));
    QCOMPARE(f.c.seasonEndEdit->text(), QStringLiteral("Mar 31"));
    QCOMPARE(bioTexts(f.c), (QStringList{"1", "3", "120", "5"}));
    QVERIFY(f.c.acuteButton->isChecked());
    QVERIFY(!f.c.seasonEndEdit->isEnabled());
    QVERIFY(!f.c.gageGrid->isEnabled());
    for (const QWidget* off :
         {static_cast<QWidget*>(f.c.removeUnusedButton), static_cast<QWidget*>(f.c.calculateButton),
          static_cast<QWidget*>(f.c.clearAllButton), static_cast<QWidget*>(f.c.periodGroup)})
        QVERIFY(!off->isEnabled());
    QVERIFY(!f.c.saveAsAction->isEnabled());
    QVERIFY(f.c.period(run::PeriodKind::all)->isChecked());
    QVERIFY(!w.unsavedChanges);
    QVERIFY(f.prompts.messages.empty());
    f.show();
    QCOMPARE(QApplication::focusWidget(), f.c.addFilesButton);
}

void MainWindowTest::missingHelpFileIsReportedOnceAndTheWindowRuns() {
    Fixture f(false, QStringLiteral("/nowhere/Vando31.html"));
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QCOMPARE(f.prompts.messages[0].text,
             QStringLiteral("Help file not found\n/nowhere/Vando31.html"));
    QCOMPARE(f.form->windowTitle(), QStringLiteral("VANDO 3.1b"));
}

void MainWindowTest::seasonDatesAreNormalisedOnLeaving() {
    const struct {
        const char* typed;
        const char* start;
        const char* end;  // with "Season is full climatic year" checked
    } cases[] = {{"4/1", "Apr 1", "Mar 31"},    {"feb 28", "Feb 28", "Feb 27"},
                 {"Mar 1", "Mar 1", "Feb 28"},  {"jan", "Jan 1", "Dec 31"},
                 {"10/15", "Oct 15", "Oct 14"}, {"12/31", "Dec 31", "Dec 30"}};
    Fixture f;
    f.show();
    for (const auto& c : cases) {
        f.typeAndLeave(f.c.seasonStartEdit, QString::fromLatin1(c.typed));
        QCOMPARE(f.c.seasonStartEdit->text(), QString::fromLatin1(c.start));
        QCOMPARE(f.c.seasonEndEdit->text(), QString::fromLatin1(c.end));
    }
    f.form->unsavedChanges = false;
    f.form->unsavedChanges = false;
    f.typeAndLeave(f.c.seasonStartEdit,
                   QStringLiteral("Dec 31"));  // unchanged text: still a change
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Dec 31"));
    QVERIFY(f.form->unsavedChanges);
}

void MainWindowTest::seasonChangeReReadsOnceAndKeepsMarks() {
    Fixture f;
    // File B's second gage has less than a season under the new start: it shows N/A.
    const QString a = f.file("A.txt", gages("A", 1));
    const QString b = f.file("B.txt", gages("B", 2));
    f.add({a, b});
    f.form->toggleUseMark(6, 1);  // B2 unmarked
    f.show();
    const std::size_t before = f.reader.reads.size();
    f.reader.files[b.toStdString()][1] = {"B2", 100, 100};
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Oct 1"));
    QCOMPARE(f.reader.reads.size(), before + 2);
    QCOMPARE(f.reader.reads.back().seasonStart, std::string("Oct 1"));
    QCOMPARE(f.cell(0, 1), QStringLiteral("B1"));
    QCOMPARE(f.cell(1, 3), QStringLiteral("N/A"));
    QCOMPARE(f.cell(2, 1), QStringLiteral("A1"));
    QCOMPARE(f.marks(), (std::vector<bool>{true, false, true}));
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Oct 1"));
    QCOMPARE(f.reader.reads.size(), before + 2);
    // A text that is no date is refused: the date and the table stay as they are.
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("xyz"));
    QCOMPARE(f.reader.reads.size(), before + 2);
    QCOMPARE(f.form->gageTable().rowCount(), 3);
    QCOMPARE(f.c.seasonStartEdit->text(), QStringLiteral("Oct 1"));
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Oct 1"));
    QCOMPARE(f.reader.reads.size(), before + 2);
    // A row that now shows N/A keeps a set mark.
    f.form->toggleUseMark(6, 1);
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Sep 1"));
    QCOMPARE(f.cell(1, 3), QStringLiteral("N/A"));
    QCOMPARE(f.marks(), (std::vector<bool>{true, true, true}));
}

void MainWindowTest::seasonChangeWithEmptyTableReadsNothing() {
    Fixture f;
    f.show();
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Jun 1"));
    QVERIFY(f.reader.reads.empty());
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("No gages"));
}

void MainWindowTest::fullClimaticYearBoxKeepsTheUsersEndDate() {
    Fixture f;
    f.c.climaticYearBox->setChecked(false);
    QVERIFY(f.c.seasonEndEdit->isEnabled());
    QCOMPARE(f.c.seasonEndEdit->text(), QStringLiteral("Mar 31"));
    f.c.seasonEndEdit->setText(QStringLiteral("Sep 30"));
    f.c.seasonStartEdit->setText(QStringLiteral("Jun 1"));
    QCOMPARE(f.c.seasonEndEdit->text(),
             QStringLiteral("Sep 30"));  // the box is clear: no day-before rule
    f.c.climaticYearBox->setChecked(true);
    QVERIFY(!f.c.seasonEndEdit->isEnabled());
    QCOMPARE(f.c.seasonEndEdit->text(), QStringLiteral("May 31"));
    f.c.climaticYearBox->setChecked(false);
    QCOMPARE(f.c.seasonEndEdit->text(), QStringLiteral("Sep 30"));
}

void MainWindowTest::useDefaultsRoundTrip() {
    Fixture f;
    f.c.useDefaultsBox->setChecked(false);
    QCOMPARE(bioTexts(f.c), (QStringList{"", "", "", ""}));
    QVERIFY(f.c.bioFieldEdits[0]->isEnabled());
    QVERIFY(!f.c.chronicButton->isEnabled());
    const QStringList own{"2", "4", "100", "3"};
    for (int i = 0; i < 4; ++i) f.c.bioFieldEdits[static_cast<std::size_t>(i)]->setText(own[i]);
    f.c.useDefaultsBox->setChecked(true);
    QCOMPARE(bioTexts(f.c), (QStringList{"1", "3", "120", "5"}));
    QVERIFY(!f.c.bioFieldEdits[0]->isEnabled());
    f.c.useDefaultsBox->setChecked(false);
    QCOMPARE(bioTexts(f.c), own);
}

void MainWindowTest::criterionAndNonBiologicalChoices() {
    Fixture f;
    MainWindow& w = *f.form;
    f.c.ammoniaButton->click();
    QCOMPARE(bioTexts(f.c), (QStringList{"30", "3", "120", "4"}));
    QVERIFY(w.unsavedChanges);
    f.c.chronicButton->click();
    QCOMPARE(bioTexts(f.c), (QStringList{"4", "3", "120", "5"}));

    w.unsavedChanges = false;
    f.c.percentileButton->click();
    QVERIFY(w.settingsTexts().nonBiological == run::NonBiologicalKind::percentile);
    QVERIFY(w.unsavedChanges);
    QVERIFY(f.c.percentileEdit->isEnabled() && f.c.percentUnitLabel->isEnabled());
    QVERIFY(!f.c.averagingPeriodsEdit->isEnabled() && !f.c.returnPeriodEdit->isEnabled() &&
            !f.c.flowEdit->isEnabled() && !f.c.flowUnitLabel->isEnabled());
    w.unsavedChanges = false;
    f.c.percentileEdit->setText(QStringLiteral("1.5"));
    QVERIFY(w.unsavedChanges);
    f.c.explicitFlowButton->click();
    QVERIFY(w.settingsTexts().nonBiological == run::NonBiologicalKind::explicitFlow);
    QVERIFY(f.c.flowEdit->isEnabled() && !f.c.percentileEdit->isEnabled());

    // Choosing a period by hand is a change; it leaves the year edits as they are.
    const QString a = f.file("A.txt", gages("A", 1));
    f.add({a});
    w.unsavedChanges = false;
    f.c.period(run::PeriodKind::longest)->click();
    QVERIFY(w.unsavedChanges);
    QCOMPARE(f.c.firstYearEdit->text(), QStringLiteral("1990"));
    // The year edits take typing; a typed year selects the fifth period and is a change.
    QVERIFY(f.c.firstYearEdit->isEnabled() && f.c.lastYearEdit->isEnabled());
    w.unsavedChanges = false;
    f.c.lastYearEdit->selectAll();
    QTest::keyClicks(f.c.lastYearEdit, QStringLiteral("2010"));
    QVERIFY(f.c.period(run::PeriodKind::years)->isChecked());
    QCOMPARE(f.c.lastYearEdit->text(), QStringLiteral("2010"));
    QVERIFY(w.unsavedChanges);
    QCOMPARE(w.runInput().texts.lastYear, std::string("2010"));
    // The window's own writes of the years choose nothing.
    f.c.period(run::PeriodKind::all)->click();
    f.c.firstYearEdit->setText(QStringLiteral("1991"));
    QVERIFY(f.c.period(run::PeriodKind::all)->isChecked());
}

void MainWindowTest::addingFilesFillsBlocksInReverseListOrder() {
    Fixture f;
    MainWindow& w = *f.form;
    const QString a = f.file("A.txt", gages("A", 1));
    const QString b = f.file("B.txt", gages("B", 1));
    const QString c = f.file("C.flo", gages("C", 3));
    f.add({a, b, c});
    QCOMPARE(f.reader.reads.size(), std::size_t{3});
    QCOMPARE(f.reader.reads[0].caption, QStringLiteral("Reading C (3 of 3)"));
    QCOMPARE(f.reader.reads[0].gauge, 0);
    QCOMPARE(f.reader.reads[2].caption, QStringLiteral("Reading A (1 of 3)"));
    QCOMPARE(f.reader.reads[2].gauge, 66);
    QVERIFY(!f.progress->isVisible());

    const QStringList expected{"C1", "C2", "C3", "B1", "A1"};
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(f.cell(r, 1), expected[r]);
        QCOMPARE(f.cell(r, 0), QString::asprintf(" %2.2d", r + 1));
    }
    QCOMPARE(f.cell(0, 2), QStringLiteral("C"));
    QCOMPARE(f.cell(0, 3), QStringLiteral("1990-2021"));  // j1 89 + 1900 + 1, j2 121 + 1900
    for (int r = 0; r < 3; ++r) {
        QCOMPARE(w.gageTable().row(r).gcount, 3);
        QCOMPARE(w.gageTable().row(r).path, c.toStdString());
    }
    QCOMPARE(w.gageTable().files(), 3);
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("5 gages in 3 files"));
    QVERIFY(w.unsavedChanges);
    QVERIFY(f.c.gageGrid->isEnabled() && f.c.calculateButton->isEnabled() &&
            f.c.clearAllButton->isEnabled() && f.c.periodGroup->isEnabled() &&
            f.c.saveAsAction->isEnabled());
    QVERIFY(f.c.period(run::PeriodKind::all)->isChecked());
    QCOMPARE(f.c.firstYearEdit->text(), QStringLiteral("1990"));
    QCOMPARE(f.c.lastYearEdit->text(), QStringLiteral("2021"));

    Fixture g;
    g.add({g.file("One.txt", gages("X", 1))});
    QCOMPARE(g.c.gageCountLabel->text(), QStringLiteral("1 gage in 1 file"));
    g.add({g.file("Two.txt", gages("Y", 1))});
    QCOMPARE(g.c.gageCountLabel->text(), QStringLiteral("2 gages in 2 files"));
    // The same file again: asked first, then a further block.
    g.add({g.dir.filePath("Two.txt")});
    QCOMPARE(g.prompts.questions.back(),
             QDir::toNativeSeparators(g.dir.filePath("Two.txt")) +
                 QStringLiteral(" is already in the table. Add it again?"));
    QCOMPARE(g.form->gageTable().files(), 2);
    g.prompts.answers = {true};
    g.add({g.dir.filePath("Two.txt"), g.file("Three.txt", gages("Z", 1))});
    QCOMPARE(g.prompts.questions.size(), std::size_t{2});
    QCOMPARE(g.form->gageTable().files(), 4);
}

void MainWindowTest::gagesWithoutAFullSeasonStartUnmarked() {
    Fixture f;
    // "short" holds Apr 2021 to the data's end, no season through to Mar 31.
    f.add({f.file("A.txt", {{"full", 89, 121}, {"short", 121, 121}})});
    QCOMPARE(f.cell(1, 3), QStringLiteral("N/A"));
    QCOMPARE(f.cell(1, 4), QStringLiteral("N/A"));
    QCOMPARE(f.cell(1, 5), QStringLiteral("N/A"));
    QCOMPARE(f.marks(), (std::vector<bool>{true, false}));
    QCOMPARE(f.form->gageTable().used(), 1);
    QCOMPARE(f.hint(1, 3), QStringLiteral("Less than one full season of data found for this gage"));
}

void MainWindowTest::gridGrowsTo15RowsThenScrolls() {
    for (const int n : {14, 15}) {
        Fixture f;
        f.show();
        f.add({f.file("A.txt", gages("G", n))});
        const ui::GageGrid* grid = f.c.gageGrid;
        QCOMPARE(grid->height(), 15 * grid->rowHeight());
        QApplication::processEvents();
        QCOMPARE(grid->width(), grid->parentWidget()->width());
        QVERIFY(grid->width() >=
                f.form->findChild<ui::GagesPanel*>()->gridContentWidth() + grid->scrollBarWidth());
        QCOMPARE(grid->verticalScrollBar()->maximum() > 0, n == 15);
    }
    Fixture f;
    f.show();
    f.add({f.file("A.txt", gages("G", 3))});
    QCOMPARE(f.c.gageGrid->height(), 4 * f.c.gageGrid->rowHeight());
}

void MainWindowTest::unreadableFileGivesOneMessageAndAddsNothing() {
    Fixture f;
    const QString good = f.file("good.txt", gages("G", 2));
    const QString bad = f.dir.filePath("bad.txt");
    f.add({good, bad});
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QCOMPARE(f.prompts.messages[0].text,
             QStringLiteral("VANDO 3.1b is unable to read the file \"%1\". Please confirm \nthat "
                            "this file exists and that it is a valid flow file in text format."
                            "\n\n(Exception class name = EInOutError, message = File not found)")
                 .arg(bad));
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("2 gages in 1 file"));

    // Nothing readable at all: the table stays empty and says so.
    Fixture g;
    g.add({g.dir.filePath("missing.txt")});
    QCOMPARE(g.c.gageCountLabel->text(), QStringLiteral("No gages"));
    QVERIFY(!g.c.calculateButton->isEnabled());
}

void MainWindowTest::invalidSeasonStopsAddingBeforeTheDialog() {
    const struct {
        bool start;
        const char* text;
        const char* message;
    } cases[] = {{true, "", "Invalid start date"},
                 {true, "13/1", "Invalid start date"},
                 {false, "xyz", "Invalid end date"}};
    for (const auto& c : cases) {
        Fixture f;
        f.c.climaticYearBox->setChecked(false);
        (c.start ? f.c.seasonStartEdit : f.c.seasonEndEdit)->setText(QString::fromLatin1(c.text));
        f.form->chooseFlowFiles();
        QVERIFY(f.prompts.requests.empty());
        QCOMPARE(f.prompts.messages.size(), std::size_t{1});
        QCOMPARE(f.prompts.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(f.prompts.messages[0].text, QString::fromLatin1(c.message));
    }
}

void MainWindowTest::addingStopsAtTheTableLimit() {
    Fixture f;
    QStringList paths;
    for (int i = 0; i < 11; ++i)
        paths.prepend(f.file(QStringLiteral("F%1.txt").arg(i), gages("G", 100)));
    f.add(paths);
    QCOMPARE(f.form->gageTable().rowCount(), 1000);
    QCOMPARE(f.reader.reads.size(), std::size_t{11});
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QVERIFY(f.prompts.messages[0].text.contains(QStringLiteral("at most 1000 gages")));

    // The reader refuses a file of more than 100 gages; the other files are still read.
    Fixture g;
    g.add({g.file("small.txt", gages("S", 1)), g.file("big.txt", gages("G", 101))});
    QCOMPARE(g.form->gageTable().rowCount(), 1);
    QCOMPARE(g.prompts.messages.size(), std::size_t{1});
    QVERIFY(g.prompts.messages[0].text.contains(QStringLiteral("more than 100 gages")));
}

void MainWindowTest::repeatedDateSetsTroubleCaption() {
    Fixture f;
    const QString a = f.file("A.txt", gages("A", 1));
    f.reader.troubleFor = a.toStdString();
    f.add({a});
    // The table has just changed: the caption carries the unsaved mark.
    QCOMPARE(f.form->windowTitle(), QStringLiteral("*trouble"));
}

void MainWindowTest::useMarksToggleByClickAndSpace() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("A.txt", gages("A", 2)), f.file("B.txt", gages("B", 1))});
    f.show();
    ui::GageGrid* grid = f.c.gageGrid;
    // B1 is row 0; a click on its Use cell leaves file B wholly unmarked.
    const QRect useCell = grid->visualRect(w.gageModel().index(0, GageTableModel::colUse));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, useCell.center());
    QCOMPARE(f.marks(), (std::vector<bool>{false, true, true}));
    QVERIFY(f.c.removeUnusedButton->isEnabled());
    // A click elsewhere flips nothing.
    const QRect nameCell = grid->visualRect(w.gageModel().index(1, GageTableModel::colGage));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, nameCell.center());
    QCOMPARE(f.marks(), (std::vector<bool>{false, true, true}));
    // Space on the current Use cell, twice for the last two rows.
    for (int r : {1, 2}) {
        grid->setCurrentIndex(w.gageModel().index(r, GageTableModel::colUse));
        QTest::keyClick(grid, Qt::Key_Space);
    }
    QCOMPARE(f.marks(), (std::vector<bool>{false, false, false}));
    QCOMPARE(w.gageTable().used(), 0);
    QVERIFY(!f.c.calculateButton->isEnabled());
    grid->setCurrentIndex(w.gageModel().index(2, GageTableModel::colUse));
    QTest::keyClick(grid, Qt::Key_Space);
    QVERIFY(f.c.calculateButton->isEnabled());
    // The Start and End cells are editable, the others are not.
    QVERIFY(w.gageModel().flags(w.gageModel().index(0, GageTableModel::colStart)) &
            Qt::ItemIsEditable);
    QVERIFY(!(w.gageModel().flags(w.gageModel().index(0, GageTableModel::colRecord)) &
              Qt::ItemIsEditable));
}

void MainWindowTest::removeUnusedFiles() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("B.txt", gages("B", 1)), f.file("A.txt", gages("A", 2))});  // A first
    w.toggleUseMark(6, 0);
    w.toggleUseMark(6, 1);
    QVERIFY(f.c.removeUnusedButton->isEnabled());
    w.unsavedChanges = false;
    f.prompts.answers = {false};
    w.removeUnusedFiles();
    QCOMPARE(w.gageTable().rowCount(), 3);
    QVERIFY(!w.unsavedChanges);
    f.prompts.answers = {true};
    w.removeUnusedFiles();
    QCOMPARE(f.prompts.questions.back(),
             QStringLiteral("This will remove unused files from the table. Are you sure you want "
                            "to remove them?"));
    QCOMPARE(w.gageTable().rowCount(), 1);
    QCOMPARE(f.cell(0, 0), QStringLiteral(" 01"));
    QCOMPARE(f.cell(0, 1), QStringLiteral("B1"));
    QCOMPARE(w.gageTable().files(), 1);
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("1 gages in 1 files"));
    QVERIFY(!f.c.removeUnusedButton->isEnabled());
    QVERIFY(w.unsavedChanges);
}

void MainWindowTest::removingEveryFileEmptiesTheTable() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("A.txt", gages("A", 2))});
    w.toggleUseMark(6, 0);
    w.toggleUseMark(6, 1);
    f.prompts.answers = {true};
    w.removeUnusedFiles();
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("No gages"));
    QVERIFY(!f.c.gageGrid->isEnabled());
    QCOMPARE(w.gageModel().rowCount(), 0);  // no phantom row
    f.add({f.file("B.txt", gages("B", 1))});
    QCOMPARE(f.cell(0, 1), QStringLiteral("B1"));
    QCOMPARE(w.gageTable().rowCount(), 1);
}

void MainWindowTest::clearAllAsksFirst() {
    Fixture f;
    f.add({f.file("A.txt", gages("A", 2))});
    f.prompts.answers = {false, true};
    f.form->clearAll();
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    QVERIFY(f.form->unsavedChanges);
    f.form->unsavedChanges = false;
    f.c.clearFlowsAction->trigger();
    QVERIFY(f.form->gageTable().empty());
    QVERIFY(f.form->unsavedChanges);
    QCOMPARE(f.c.gageCountLabel->text(), QStringLiteral("No gages"));
    QCOMPARE(f.prompts.questions.back(),
             QStringLiteral("This will empty the flow data table. Are you sure you want to "
                            "remove all gages?"));
}

void MainWindowTest::recordHints() {
    Fixture f;
    f.add({f.file("LongGageName.txt", {{"a gage with a long name", 50, 100}})});
    QCOMPARE(f.cell(0, 3), QStringLiteral("1951-2000"));
    QCOMPARE(f.hint(0, 3), QStringLiteral("Apr 1, 1950 - Mar 31, 2000"));
    QCOMPARE(f.hint(0, 1), QStringLiteral("a gage with a long name"));
    QCOMPARE(f.hint(0, 2), QStringLiteral("LongGageName"));
    QCOMPARE(f.hint(0, 4), QStringLiteral("Flow data"));

    Fixture g;
    g.c.climaticYearBox->setChecked(false);
    g.c.seasonStartEdit->setText(QStringLiteral("Jan 1"));
    g.c.seasonEndEdit->setText(QStringLiteral("Dec 31"));
    g.add({g.file("A.txt", {{"A", 50, 100}})});
    QCOMPARE(g.cell(0, 3), QStringLiteral("1950-2000"));
    QCOMPARE(g.hint(0, 3), QStringLiteral("Jan 1, 1950 - Dec 31, 2000"));
}

void MainWindowTest::startingStateSavesAsTheFormatSays() {
    Fixture f;
    const QString a = f.file("A.txt", {{"A", 89, 121}});
    f.add({a});
    const QString vdp = f.dir.filePath(QStringLiteral("start.vdp"));
    f.form->saveParameterFile(vdp);
    QFile saved(vdp);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QStringList expected{"VANDO 3.0",
                               "--Calculation Period",
                               "0",
                               "1990",
                               "2021",
                               "--Season",
                               "1",
                               "Mar 31",
                               "Apr 1",
                               "Apr 1",
                               "Mar 31",
                               "--Comments",
                               "0",
                               "--Biological",
                               "1",
                               "1",
                               "0",
                               "0",
                               "1",
                               "3",
                               "120",
                               "5",
                               "1",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "--Hydrological",
                               "7",
                               "10",
                               "--Files",
                               "1",
                               a,
                               "1"};
    QCOMPARE(QString::fromUtf8(saved.readAll()), expected.join(QStringLiteral("\r\n")) + "\r\n");
}

void MainWindowTest::parameterFileRoundTripThroughTheWindow() {
    Fixture f;
    MainWindow& w = *f.form;
    const QString a = f.file("A.txt", gages("A", 2));
    const QString b = f.file("B.txt", gages("B", 1));
    f.add({b, a});
    w.toggleUseMark(6, 1);  // A2
    f.c.commentBox->setPlainText(QStringLiteral("first\nsecond\nthird"));
    f.c.climaticYearBox->setChecked(false);
    f.c.seasonEndEdit->setText(QStringLiteral("Sep 30"));
    f.c.averagingPeriodsEdit->setText(QStringLiteral("7,30"));
    f.c.period(run::PeriodKind::table)->setChecked(true);
    const QString vdp = f.dir.filePath(QStringLiteral("analysis.vdp"));
    f.prompts.choices.push_back({vdp});
    w.saveParameterFileAs();
    QCOMPARE(f.prompts.requests.back().filters,
             (QStringList{"VANDO 3 parameter files (*.vdp)", "All files (*.*)"}));
    QVERIFY(!w.unsavedChanges);
    QCOMPARE(w.windowTitle(), QStringLiteral("VANDO 3.1b - analysis.vdp"));
    const run::ParamFile saved = run::loadParamFile(vdp.toStdString());
    const std::vector<run::ParamFileEntry> entries{
        {a.toStdString(), true}, {a.toStdString(), false}, {b.toStdString(), true}};
    QVERIFY(saved.entries == entries);

    Fixture g;
    g.reader.files = f.reader.files;
    g.form->unsavedChanges = true;
    g.prompts.answers = {true};
    g.prompts.choices.push_back({vdp});
    g.form->chooseParameterFile();
    QCOMPARE(g.prompts.questions.size(), std::size_t{1});
    MainWindow& o = *g.form;
    QCOMPARE(g.cell(0, 1), QStringLiteral("A1"));
    QCOMPARE(g.cell(1, 1), QStringLiteral("A2"));
    QCOMPARE(g.cell(2, 1), QStringLiteral("B1"));
    QCOMPARE(g.marks(), (std::vector<bool>{true, false, true}));
    QCOMPARE(g.c.commentBox->toPlainText(), QStringLiteral("first\nsecond\nthird"));
    QVERIFY(!g.c.climaticYearBox->isChecked());
    QCOMPARE(g.c.seasonEndEdit->text(), QStringLiteral("Sep 30"));
    QCOMPARE(g.c.averagingPeriodsEdit->text(), QStringLiteral("7,30"));
    QVERIFY(g.c.period(run::PeriodKind::table)->isChecked());
    QCOMPARE(o.windowTitle(), QStringLiteral("VANDO 3.1b - analysis.vdp"));
    QVERIFY(!o.unsavedChanges);
    QVERIFY(g.prompts.messages.empty());
    // Saved again, the analysis is the same file.
    const QString again = g.dir.filePath(QStringLiteral("again.vdp"));
    o.saveParameterFile(again);
    QVERIFY(run::loadParamFile(again.toStdString()) == saved);

    // A save that fails keeps the analysis marked unsaved and says why.
    o.unsavedChanges = true;
    const QString nowhere = g.dir.filePath(QStringLiteral("no/such/folder/x.vdp"));
    o.saveParameterFile(nowhere);
    QVERIFY(o.unsavedChanges);
    QCOMPARE(g.prompts.messages.size(), std::size_t{1});
    QCOMPARE(g.prompts.messages[0].text,
             QStringLiteral("Cannot write \"%1\": No such file or directory").arg(nowhere));
}

void MainWindowTest::optionalEntriesSaveAndOpenThroughTheWindow() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("A.txt", gages("A", 1))});
    // Only a season has a choice of scope.
    QVERIFY(!f.c.bioWithinSeasonBox->isEnabled());
    f.c.climaticYearBox->setChecked(false);
    QVERIFY(f.c.bioWithinSeasonBox->isEnabled());
    f.c.seasonEndEdit->setText(QStringLiteral("Sep 30"));
    w.unsavedChanges = false;
    f.c.bioWithinSeasonBox->setChecked(true);
    QVERIFY(w.unsavedChanges);
    QVERIFY(w.runInput().texts.bioWithinSeason);
    f.c.percentileButton->setChecked(true);
    f.c.percentileEdit->setText(QStringLiteral("2.5"));
    f.c.flowEdit->setText(QStringLiteral("12"));
    const QString vdp = f.dir.filePath(QStringLiteral("options.vdp"));
    w.saveParameterFile(vdp);
    QVERIFY(f.prompts.messages.empty());
    QFile saved(vdp);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const std::string tail = "--Files\r\n1\r\n" + w.gageTable().row(0).path +
                             "\r\n1\r\n--Options\r\nnonbio=perc\r\nflow=12\r\n"
                             "percentile=2.5\r\nbio_within_season=1\r\n";
    QVERIFY2(saved.readAll().endsWith(QByteArray::fromStdString(tail)),
             "the optional entries follow the files");

    Fixture g;
    g.reader.files = f.reader.files;
    MainWindow& o = *g.form;
    o.openParameterFile(vdp);
    QVERIFY(g.prompts.messages.empty());
    QVERIFY(g.c.percentileButton->isChecked());
    QVERIFY(g.c.percentileEdit->isEnabled());
    QVERIFY(!g.c.returnPeriodEdit->isEnabled());
    QCOMPARE(g.c.percentileEdit->text(), QStringLiteral("2.5"));
    QCOMPARE(g.c.flowEdit->text(), QStringLiteral("12"));
    QVERIFY(g.c.bioWithinSeasonBox->isChecked());
    QVERIFY(g.c.bioWithinSeasonBox->isEnabled());
    const run::SettingsTexts t = o.runInput().texts;
    QCOMPARE(t.nonBiological, run::NonBiologicalKind::percentile);
    QVERIFY(t.bioWithinSeason);
    QVERIFY(!o.unsavedChanges);

    // Back to the defaults, the file is the older form again.
    g.c.hydrologicalButton->setChecked(true);
    g.c.flowEdit->setText(QStringLiteral("5"));
    g.c.percentileEdit->setText(QStringLiteral("0.1"));
    g.c.bioWithinSeasonBox->setChecked(false);
    const QString plain = g.dir.filePath(QStringLiteral("plain.vdp"));
    o.saveParameterFile(plain);
    QFile plainFile(plain);
    QVERIFY(plainFile.open(QIODevice::ReadOnly));
    QVERIFY(!plainFile.readAll().contains("--Options"));

    // A value the window cannot take is refused as the other refusals are, changing nothing.
    QFile bad(g.dir.filePath(QStringLiteral("bad.vdp")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(
        QByteArray::fromStdString(run::paramFileText(run::loadParamFile(plain.toStdString()))) +
        "--Options\r\nbio_within_season=yes\r\n");
    bad.close();
    o.openParameterFile(bad.fileName());
    QCOMPARE(g.prompts.messages.size(), std::size_t{1});
    QCOMPARE(g.prompts.messages[0].caption, QStringLiteral("Error!"));
    QVERIFY2(g.prompts.messages[0].text.contains(QStringLiteral("bio_within_season takes 0 or 1")),
             qPrintable(g.prompts.messages[0].text));
    QVERIFY(g.c.hydrologicalButton->isChecked());
    QCOMPARE(o.gageTable().rowCount(), 1);
}

void MainWindowTest::parameterFileRefusalsChangeNothing() {
    Fixture f;
    f.add({f.file("A.txt", gages("A", 2))});
    const QString title = f.form->windowTitle();
    const struct {
        const char* name;
        const char* content;
        const char* says;
    } cases[] = {{"old.vdp", "VANDO 3.1\r\n--Calculation Period\r\n0\r\n",
                  " is not a VANDO 3.0 parameter file."},
                 {"short.vdp", "VANDO 3.0\r\n--Calculation Period\r\n0\r\n1990\r\n", "ends"},
                 {"bad.vdp", "VANDO 3.0\r\n--Calculation Period\r\nx\r\n", "Invalid numeric"}};
    for (const auto& c : cases) {
        const QString path = f.dir.filePath(QString::fromLatin1(c.name));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        f.prompts.messages.clear();
        f.form->openParameterFile(path);
        QCOMPARE(f.prompts.messages.size(), std::size_t{1});
        QCOMPARE(f.prompts.messages[0].caption, QStringLiteral("Error!"));
        QVERIFY2(f.prompts.messages[0].text.contains(QString::fromLatin1(c.says)),
                 qPrintable(f.prompts.messages[0].text));
        QCOMPARE(f.form->gageTable().rowCount(), 2);
        QCOMPARE(f.form->windowTitle(), title);
    }
    // A named pipe is refused before it is opened: opening it would block the window.
    const QString pipe = f.dir.filePath(QStringLiteral("pipe.vdp"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    f.form->openParameterFile(pipe);
    QCOMPARE(f.prompts.messages.back().text,
             "\"" + pipe + "\" is a named pipe, not a parameter file.");
    QCOMPARE(f.form->windowTitle(), title);
    QCOMPARE(f.prompts.messages[0].text.isEmpty(), false);
    f.form->openParameterFile(f.dir.filePath(QStringLiteral("old.vdp")));
    QCOMPARE(f.prompts.messages.back().text,
             f.dir.filePath(QStringLiteral("old.vdp")) + " is not a VANDO 3.0 parameter file.");
    // With unsaved changes, "Open..." asks first; No keeps everything.
    f.prompts.answers = {false};
    f.form->chooseParameterFile();
    QVERIFY(f.prompts.requests.size() == 1);  // only the flow-file dialog so far
}

void MainWindowTest::missingStoredFilesAreDroppedWithOneMessage() {
    Fixture f;
    const QString a = f.file("A.txt", gages("A", 1));
    const QString b = f.file("B.txt", gages("B", 1));
    const QString c = f.file("C.txt", gages("C", 1));
    f.add({c, b, a});
    const QString vdp = f.dir.filePath(QStringLiteral("three.vdp"));
    f.form->saveParameterFile(vdp);
    QVERIFY(QFile::remove(b));
    f.form->openParameterFile(vdp);
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QCOMPARE(f.prompts.messages[0].text,
             QStringLiteral("One or more flow data files stored with the parameter file is "
                            "missing and deleted from the list:\n\n") +
                 b);
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    QCOMPARE(f.cell(0, 1), QStringLiteral("A1"));
    QCOMPARE(f.cell(1, 1), QStringLiteral("C1"));

    // An empty table saves as no entries and reopens without a message.
    Fixture g;
    const QString empty = g.dir.filePath(QStringLiteral("empty.vdp"));
    g.form->saveParameterFile(empty);
    g.form->openParameterFile(empty);
    QVERIFY(g.prompts.messages.empty());
    QVERIFY(g.form->gageTable().empty());
}

// The window reads through the calculator's reader: a folder or a named pipe is refused with
// the reader's reason, before anything is opened, and the table stays as it was.
void MainWindowTest::foldersAndPipesAreRefusedAsFlowFiles() {
    Fixture f(true);
    const QString pipe = f.dir.filePath(QStringLiteral("pipe.txt"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = f.dir.filePath(QStringLiteral("folder.txt"));
    QVERIFY(QDir().mkpath(folder));
    f.add({folder, pipe});  // read from the end of the list: the pipe first
    QCOMPARE(f.prompts.messages.size(), std::size_t{2});
    const struct {
        const QString& path;
        const char* kind;
    } cases[] = {{pipe, "a named pipe"}, {folder, "a folder"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const QString reason = QStringLiteral(
                                   "(Exception class name = EInOutError, message = "
                                   "\"%1\" is %2, not a flow file)")
                                   .arg(cases[i].path, QString::fromLatin1(cases[i].kind));
        QVERIFY2(f.prompts.messages[i].text.endsWith(reason),
                 qPrintable(f.prompts.messages[i].text));
    }
    QVERIFY(f.form->gageTable().empty());
}

void MainWindowTest::sampleAnalysisOpensFromAnyFolder() {
    Fixture f(true);
    // A copy of the examples folder elsewhere, opened from yet another working folder.
    QTemporaryDir copy;
    for (const QString& name : QDir(examplesDir()).entryList(QDir::Files))
        QVERIFY(QFile::copy(examplesDir() + "/" + name, copy.filePath(name)));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    f.form->openParameterFile(copy.filePath(QStringLiteral("sample.vdp")));
    QDir::setCurrent(cwd);
    for (const auto& m : f.prompts.messages) qWarning() << m.text;
    QVERIFY(f.prompts.messages.empty());
    QCOMPARE(f.form->gageTable().rowCount(), 5);
    QCOMPARE(f.form->gageTable().files(), 4);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("VANDO 3.1b - sample.vdp"));
    QVERIFY(f.form->gageTable().used() > 0);
    for (const auto& row : f.form->gageTable().rows())
        QVERIFY(QFileInfo(QString::fromStdString(row.path)).isAbsolute());
}

void MainWindowTest::commandLineArguments() {
    Fixture f;
    const QString a = f.file("A.txt", gages("A", 1));
    const QString b = f.file("B.flo", gages("B", 1));
    f.form->openArguments({a, b});
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    const QString vdp = f.dir.filePath(QStringLiteral("args.vdp"));
    f.form->saveParameterFile(vdp);

    Fixture g;
    g.reader.files = f.reader.files;
    g.form->openArguments({vdp});
    QCOMPARE(g.form->gageTable().rowCount(), 2);
    QCOMPARE(g.form->windowTitle(), QStringLiteral("VANDO 3.1b - args.vdp"));

    Fixture h;
    h.form->openArguments({h.dir.filePath(QStringLiteral("nothing.txt"))});
    QCOMPARE(h.prompts.messages.size(), std::size_t{1});
    QVERIFY(h.prompts.messages[0].text.startsWith(QStringLiteral("VANDO 3.1b is unable to read")));
    QVERIFY(h.form->gageTable().empty());
}

void MainWindowTest::droppedFlowFilesAreAdded() {
    Fixture f;
    const QString a = f.file("A.txt", gages("A", 1));
    const QString flo = f.file("B.flo", gages("B", 1));
    const QString other = f.dir.filePath(QStringLiteral("notes.doc"));
    const QList<QUrl> urls{QUrl::fromLocalFile(a), QUrl::fromLocalFile(other),
                           QUrl::fromLocalFile(flo)};
    QCOMPARE(ui::FileDropArea::flowFiles(urls), (QStringList{a, flo}));
    f.show();
    QVERIFY(f.drop(urls));
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    QCOMPARE(f.cell(0, 1), QStringLiteral("B1"));
    QVERIFY(f.form->unsavedChanges);
}

namespace {

int saveRequests(const test::ScriptedPrompts& prompts) {
    return static_cast<int>(std::count_if(prompts.requests.begin(), prompts.requests.end(),
                                          [](const ui::FileDialogRequest& r) {
                                              return r.mode == ui::FileDialogRequest::Mode::save;
                                          }));
}

}  // namespace

void MainWindowTest::exitQuestionOnlyWithChanges() {
    {
        Fixture f;
        f.show();
        QVERIFY(f.form->close());
        QVERIFY(f.prompts.questions.empty());
        QVERIFY(f.help.closed);
    }
    Fixture f;
    f.add({f.file("A.txt", gages("A", 2))});
    f.show();
    f.prompts.saveAnswers = {ui::UnsavedChoice::cancel};
    QVERIFY(!f.form->close());
    QCOMPARE(f.prompts.questions.size(), std::size_t{1});
    QCOMPARE(f.prompts.questions[0],
             QStringLiteral("Exiting now will lose changes to the flow data table and "
                            "parameters. Do you want to save them first?"));
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    QVERIFY(!f.help.closed);

    // Save with no parameter file yet asks for one; cancelling that dialog stays.
    f.prompts.saveAnswers = {ui::UnsavedChoice::save};
    QVERIFY(!f.form->close());
    QCOMPARE(f.prompts.requests.back().mode, ui::FileDialogRequest::Mode::save);
    QVERIFY(f.form->isVisible());

    // A save that fails stays too, so that nothing is lost.
    f.prompts.saveAnswers = {ui::UnsavedChoice::save};
    f.prompts.choices = {{f.dir.filePath(QStringLiteral("no/such/folder/x.vdp"))}};
    QVERIFY(!f.form->close());
    QVERIFY(f.form->isVisible());
    QVERIFY(f.form->unsavedChanges);

    // Save and a file name: written, then the window closes.
    const QString vdp = f.dir.filePath(QStringLiteral("kept.vdp"));
    f.prompts.saveAnswers = {ui::UnsavedChoice::save};
    f.prompts.choices = {{vdp}};
    QVERIFY(f.form->close());
    QCOMPARE(run::loadParamFile(vdp.toStdString()).entries.size(), std::size_t{2});
    QVERIFY(f.help.closed);

    // Discard leaves at once, by the Exit button as by the caption.
    Fixture g;
    g.add({g.file("A.txt", gages("A", 2))});
    g.show();
    g.prompts.saveAnswers = {ui::UnsavedChoice::discard};
    g.c.exitButton->click();
    QVERIFY(!g.form->isVisible());
    QVERIFY(g.help.closed);
    QCOMPARE(saveRequests(g.prompts), 0);
}

void MainWindowTest::saveKeepsTheOpenFileAndTheCaptionMarksChanges() {
    Fixture f;
    f.show();
    QVERIFY(!f.c.saveAction->isEnabled());
    f.add({f.file("A.txt", gages("A", 2))});
    QVERIFY(f.c.saveAction->isEnabled());
    QCOMPARE(f.c.saveAction->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(f.form->windowTitle(), QStringLiteral("*VANDO 3.1b"));

    // The first Save asks for a name; later ones write to it without asking.
    const QString vdp = f.dir.filePath(QStringLiteral("plain.vdp"));
    f.prompts.choices = {{vdp}};
    f.c.saveAction->trigger();
    QCOMPARE(saveRequests(f.prompts), 1);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("VANDO 3.1b - plain.vdp"));
    QVERIFY(!f.form->unsavedChanges);

    f.c.commentBox->setPlainText(QStringLiteral("a new comment"));
    QVERIFY(f.form->unsavedChanges);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("*VANDO 3.1b - plain.vdp"));
    QTest::keySequence(f.form.get(), QKeySequence(QKeySequence::Save));
    QCOMPARE(saveRequests(f.prompts), 1);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("VANDO 3.1b - plain.vdp"));
    QCOMPARE(run::loadParamFile(vdp.toStdString()).settings.comments,
             std::vector<std::string>{"a new comment"});
}

void MainWindowTest::helpByContextNumber() {
    Fixture f;
    MainWindow& w = *f.form;
    const std::pair<const QWidget*, int> contexts[] = {{f.c.bioFieldEdits[0], 1004},
                                                       {f.c.acuteButton, 1004},
                                                       {f.c.averagingPeriodsEdit, 1005},
                                                       {f.c.calculateButton, 1006},
                                                       {f.c.period(run::PeriodKind::common), 1003},
                                                       {f.c.gageGrid, 1002},
                                                       {f.c.commentBox, 7},
                                                       {f.c.exitButton, 1001},
                                                       {&w, 1001}};
    for (const auto& [widget, context] : contexts)
        QCOMPARE(MainWindow::helpContextOf(widget), context);
    f.show();
    f.c.acuteButton->setFocus();
    QTest::keyClick(f.c.acuteButton, Qt::Key_F1);
    f.c.averagingPeriodsEdit->setFocus();
    QTest::keyClick(f.c.averagingPeriodsEdit, Qt::Key_F1);
    f.c.helpButton->click();
    f.c.helpAction->trigger();
    QCOMPARE(f.help.calls, (std::vector<int>{1004, 1005, 1001, 0}));
}

void MainWindowTest::runInputCarriesControlsAndRows() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("A.txt", gages("A", 2))});
    w.toggleUseMark(6, 1);
    w.gageModel().setData(w.gageModel().index(0, GageTableModel::colStart), "1995", Qt::EditRole);
    f.c.useDefaultsBox->setChecked(false);
    f.c.bioFieldEdits[0]->setText(QStringLiteral("2"));
    f.c.percentileButton->click();
    f.c.percentileEdit->setText(QStringLiteral("1.5"));
    f.c.commentBox->setPlainText(QStringLiteral("one\ntwo"));
    f.c.period(run::PeriodKind::longest)->setChecked(true);
    const run::RunInput in = w.runInput();
    QCOMPARE(in.texts.seasonStart, std::string("Apr 1"));
    QCOMPARE(in.texts.bioAveragingDays, std::string("2"));
    QVERIFY(!in.texts.useDefaults);
    QVERIFY(in.texts.nonBiological == run::NonBiologicalKind::percentile);
    QCOMPARE(in.texts.percentile, std::string("1.5"));
    QVERIFY(in.texts.period == run::PeriodKind::longest);
    QVERIFY((in.texts.comments == std::vector<std::string>{"one", "two"}));
    QCOMPARE(in.rows.size(), std::size_t{2});
    QCOMPARE(in.rows[0].start, std::string("1995"));
    QCOMPARE(in.rows[0].record, std::string("1990-2021"));
    QVERIFY(in.rows[0].use && !in.rows[1].use);
    QCOMPARE(in.rows[1].gcount, 2);
    QVERIFY(Fixture().form->runInput().texts.comments.empty());
}

void MainWindowTest::aboutBoxIsCentredEveryTime() {
    Fixture f;
    ui::AboutBox& about = f.form->aboutBox();
    QCOMPARE(about.windowTitle(), QStringLiteral("About VANDO"));
    // The version paragraph is filled from the build's version.
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    QVERIFY(std::ranges::any_of(labels, [](const QLabel* l) {
        return l->text().startsWith(QStringLiteral("Version 3.1b reads"));
    }));
    const QRect screen = about.screen()->geometry();
    for (int i = 0; i < 2; ++i) {
        about.show();
        QCOMPARE(about.x(), screen.x() + (screen.width() - about.width()) / 2);
        QCOMPARE(about.y(), screen.y() + (screen.height() - about.height()) / 2);
        about.hide();
        about.move(3, 4);
    }
}

void MainWindowTest::helpViewerOpensSectionsAndClosesAll() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("help.html"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QString html = QStringLiteral("<html><body>");
    for (int c : {1001, 1004})
        html +=
            QStringLiteral("<h2><a name=\"%1\"></a>Section %2</h2>").arg(ui::helpAnchor(c)).arg(c) +
            QStringLiteral("<p>text</p>").repeated(200);
    f.write(html.toUtf8() + "</body></html>");
    f.close();

    ui::HelpViewer help(path);
    QVERIFY(help.window() == nullptr);
    help.displayTopic();
    QTextBrowser* browser = help.window();
    QVERIFY(browser && browser->isVisible());
    QCOMPARE(browser->source().toLocalFile(), path);
    QCOMPARE(browser->verticalScrollBar()->value(), 0);
    help.displayContext(1004);
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    help.closeAll();
    QVERIFY(!browser->isVisible());

    ui::HelpViewer missing(dir.filePath(QStringLiteral("none.html")));
    missing.displayContext(1001);
    QVERIFY(missing.window()->toPlainText().startsWith(QStringLiteral("Help file not found")));
}

void MainWindowTest::shippedHelpFileHasASectionPerContext() {
    QFile f(QStringLiteral(VANDO_HELP_SOURCE));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    for (int c : {1001, 1002, 1003, 1004, 1005, 1006, 5, 6, 7})
        QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(ui::helpAnchor(c))),
                 qPrintable(ui::helpAnchor(c)));
}

void MainWindowTest::everyChangeOfTheAnalysisIsUnsaved() {
    const std::vector<std::pair<const char*, std::function<void(Fixture&)>>> changes{
        {"Use mark", [](Fixture& f) { f.form->toggleUseMark(GageTableModel::colUse, 0); }},
        {"period choice", [](Fixture& f) { f.c.period(run::PeriodKind::longest)->click(); }},
        {"climatic-year box", [](Fixture& f) { f.c.climaticYearBox->click(); }},
        {"Start cell",
         [](Fixture& f) {
             f.form->gageModel().setData(f.form->gageModel().index(0, GageTableModel::colStart),
                                         "1995", Qt::EditRole);
         }},
        {"Remove Unused Files",
         [](Fixture& f) {
             f.form->toggleUseMark(GageTableModel::colUse, 1);
             f.form->unsavedChanges = false;
             f.prompts.answers = {true};
             f.form->removeUnusedFiles();
         }},
        {"Clear All",
         [](Fixture& f) {
             f.prompts.answers = {true};
             f.form->clearAll();
         }},
        {"Use none", [](Fixture& f) { f.form->setAllUseMarks(false); }},
        {"explicit flow", [](Fixture& f) { f.c.flowEdit->setText(QStringLiteral("3")); }},
    };
    for (const auto& [name, change] : changes) {
        Fixture f;
        f.add({f.file("A.txt", gages("A", 1)), f.file("B.txt", gages("B", 1))});
        f.form->unsavedChanges = false;
        change(f);
        QVERIFY2(f.form->unsavedChanges, name);
    }
}

void MainWindowTest::openingAskFirstWithUnsavedChanges() {
    Fixture f;
    const QString a = f.file("A.txt", gages("A", 1));
    f.add({a});
    const QString vdp = f.dir.filePath(QStringLiteral("kept.vdp"));
    f.form->saveParameterFile(vdp);
    f.add({f.file("B.txt", gages("B", 1))});
    QVERIFY(f.form->unsavedChanges);
    // From the command line or dropped: No keeps the analysis, Yes opens the file.
    f.prompts.answers = {false};
    f.form->openArguments({vdp});
    QCOMPARE(f.prompts.questions.size(), std::size_t{1});
    QVERIFY(f.prompts.questions[0].startsWith(QStringLiteral("Opening an old VANDO parameter")));
    QCOMPARE(f.form->gageTable().rowCount(), 2);
    f.prompts.answers = {true};
    f.show();
    QVERIFY(f.drop({QUrl::fromLocalFile(vdp)}));
    QCOMPARE(f.prompts.questions.size(), std::size_t{2});
    QCOMPARE(f.form->gageTable().rowCount(), 1);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("VANDO 3.1b - kept.vdp"));
    QVERIFY(!f.form->unsavedChanges);
}

void MainWindowTest::savingEditedStartOrEndYearsSaysTheyAreNotKept() {
    Fixture f;
    f.add({f.file("A.txt", gages("A", 2))});
    const QString vdp = f.dir.filePath(QStringLiteral("years.vdp"));
    f.form->saveParameterFile(vdp);
    QVERIFY(f.prompts.messages.empty());
    f.form->gageModel().setData(f.form->gageModel().index(1, GageTableModel::colEnd), "2000",
                                Qt::EditRole);
    f.form->saveParameterFile(vdp);
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QCOMPARE(f.prompts.messages[0].text,
             QStringLiteral("The Start and End years of the table are not kept in the parameter "
                            "file; they are read again from the files."));
    QVERIFY(!f.form->unsavedChanges);
}

void MainWindowTest::climaticYearBoxReReadsTheTable() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("A.txt", gages("A", 1))});
    w.toggleUseMark(GageTableModel::colUse, 0);
    f.show();
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Jun 1"));
    const std::size_t before = f.reader.reads.size();
    // Cleared: the end the user had (Mar 31) comes back, and the files are read for it.
    f.c.climaticYearBox->click();
    QCOMPARE(f.reader.reads.size(), before + 1);
    QCOMPARE(f.reader.reads.back().seasonEnd, std::string("Mar 31"));
    QCOMPARE(f.marks(), (std::vector<bool>{false}));
    // Checked again: the day before the start, read again.
    f.c.climaticYearBox->click();
    QCOMPARE(f.reader.reads.size(), before + 2);
    QCOMPARE(f.reader.reads.back().seasonEnd, std::string("May 31"));
    // Leaving the start edit unchanged afterwards reads nothing more.
    f.typeAndLeave(f.c.seasonStartEdit, QStringLiteral("Jun 1"));
    QCOMPARE(f.reader.reads.size(), before + 2);
}

void MainWindowTest::seasonTextThatIsNoDateIsRefused() {
    const struct {
        bool start;
        const char* typed;
        const char* message;
    } cases[] = {
        {true, "13/45", "Start date of season: '13/45' is not a date; use mmm dd or mm/dd"},
        {true, "hello", "Start date of season: 'hello' is not a date; use mmm dd or mm/dd"},
        {true, "Jan 0", "Start date of season: 'Jan 0' is not a date; use mmm dd or mm/dd"},
        // A day past the month's end is refused, not lowered to the last day.
        {true, "6/31", "Start date of season: '6/31' is not a date; use mmm dd or mm/dd"},
        {false, "Feb 29", "End date of season: 'Feb 29' is not a date; use mmm dd or mm/dd"},
        {false, " ", "End date of season: ' ' is not a date; use mmm dd or mm/dd"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.c.climaticYearBox->setChecked(false);
        f.add({f.file("A.txt", gages("A", 1))});
        f.show();
        f.form->unsavedChanges = false;
        const std::size_t reads = f.reader.reads.size();
        f.typeAndLeave(c.start ? f.c.seasonStartEdit : f.c.seasonEndEdit,
                       QString::fromLatin1(c.typed));
        QCOMPARE(f.prompts.messages.size(), std::size_t{1});
        QCOMPARE(f.prompts.messages[0].text, QString::fromLatin1(c.message));
        QCOMPARE(f.c.seasonStartEdit->text(), QStringLiteral("Apr 1"));
        QCOMPARE(f.c.seasonEndEdit->text(), QStringLiteral("Mar 31"));
        QCOMPARE(f.reader.reads.size(), reads);
        QVERIFY(!f.form->unsavedChanges);
    }
}

void MainWindowTest::flowFileDialogShowsEveryKindFirst() {
    Fixture f;
    f.form->chooseFlowFiles();
    QCOMPARE(
        f.prompts.requests.back().filters,
        (QStringList{"Flow files (*.txt *.cgi *.rdb *.flo *.csv *.json *.geojson)",
                     "USGS NWIS flow files (*.txt)", "USGS flow files (*.cgi)",
                     "USGS NWIS RDB files (*.rdb)", "\"Old\" flow files (*.flo)",
                     "Water Data API CSV files (*.csv)", "Water Data API GeoJSON files (*.json)",
                     "Water Data API GeoJSON files (*.geojson)"}));
    const QList<QUrl> urls{QUrl::fromLocalFile("/d/a.RDB"), QUrl::fromLocalFile("/d/b.vdp"),
                           QUrl::fromLocalFile("/d/c.doc")};
    QCOMPARE(ui::FileDropArea::flowFiles(urls), (QStringList{"/d/a.RDB"}));
    QCOMPARE(ui::FileDropArea::droppableFiles(urls), (QStringList{"/d/a.RDB", "/d/b.vdp"}));
}

void MainWindowTest::fileOfMoreThan100GagesSaysHowMany() {
    Fixture f(true);
    const QString path = f.dir.filePath(QStringLiteral("many.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray text = "# Data for the following 101 site(s) are contained in this file\n";
    for (int i = 1; i <= 101; ++i)
        text += QStringLiteral("#    USGS %1 GAGE %2\n").arg(10000000 + i).arg(i).toLatin1();
    text +=
        "# ------------------------------------------------------------------\n#\n"
        "agency_cd\tsite_no\tdatetime\t1234_00060_00003\t1234_00060_00003_cd\n"
        "5s\t15s\t20d\t14n\t10s\n";
    for (int i = 1; i <= 101; ++i)
        for (int day = 1; day <= 3; ++day)
            text += QStringLiteral("USGS\t%1\t2000-01-0%2\t5\tA\n")
                        .arg(10000000 + i)
                        .arg(day)
                        .toLatin1();
    file.write(text);
    file.close();
    f.add({path});
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QCOMPARE(f.prompts.messages[0].text,
             QDir::toNativeSeparators(path) +
                 QStringLiteral(" holds 101 gages; the gage table takes at most 100 per file. The "
                                "batch command vando3-cli batch computes files of any size (see "
                                "\"Files of many gages\" in the help)."));
    QVERIFY(f.form->gageTable().empty());
}

void MainWindowTest::useAllAndUseNone() {
    Fixture f;
    f.add({f.file("A.txt", gages("A", 3))});
    const QList<QAction*> actions = f.c.gageGrid->useMenu()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QStringLiteral("Use all"));
    QCOMPARE(actions[1]->text(), QStringLiteral("Use none"));
    actions[1]->trigger();
    QCOMPARE(f.marks(), (std::vector<bool>{false, false, false}));
    QVERIFY(!f.c.calculateButton->isEnabled());
    QVERIFY(f.c.removeUnusedButton->isEnabled());
    actions[0]->trigger();
    QCOMPARE(f.marks(), (std::vector<bool>{true, true, true}));
    QVERIFY(f.c.calculateButton->isEnabled());
    QVERIFY(!f.c.removeUnusedButton->isEnabled());
}

void MainWindowTest::columnsWidenAndTheTableGrowsWithTheWindow() {
    Fixture f;
    MainWindow& w = *f.form;
    f.add({f.file("A.txt", gages("G", 40))});
    f.show();
    ui::GageGrid* grid = f.c.gageGrid;
    QApplication::processEvents();  // the layout of the shown window
    QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < GageTableModel::columnTotal; ++c)
        QCOMPARE(header->sectionResizeMode(c), QHeaderView::Interactive);
    // Dragging a divider widens the column; the table scrolls sideways to show it all.
    const int gageWidth = header->sectionSize(GageTableModel::colGage);
    header->resizeSection(GageTableModel::colGage, gageWidth + 300);
    QApplication::processEvents();
    QVERIFY(grid->horizontalScrollBar()->maximum() > 0);
    header->resizeSection(GageTableModel::colGage, gageWidth);
    // A larger window gives the table more rows and its Gage column more room.
    const int rows = grid->height() / grid->rowHeight();
    const int gridWidth = grid->width();
    w.resize(w.width() + 200, w.height() + 10 * grid->rowHeight());
    QApplication::processEvents();
    QVERIFY(grid->height() / grid->rowHeight() >= rows + 6);
    QCOMPARE(grid->width(), gridWidth + 200);
    QCOMPARE(header->sectionSize(GageTableModel::colGage), gageWidth + 200);
}

void MainWindowTest::tabFollowsTheLayoutAndLeavesTheTable() {
    Fixture f;
    MainWindow& w = *f.form;
    QVERIFY(!f.c.gageGrid->tabKeyNavigation());
    // Tab walks the controls as the layout places them; in the table it moves on to the
    // period choice, whatever the current cell.
    f.c.climaticYearBox->setChecked(false);
    f.add({f.file("A.txt", gages("A", 2)), f.file("B.txt", gages("B", 1))});
    w.toggleUseMark(GageTableModel::colUse, 0);  // file B unused: Remove Unused is enabled
    f.show();
    const QList<QWidget*> order{
        f.c.seasonStartEdit,    f.c.seasonEndEdit,  f.c.climaticYearBox,
        f.c.bioWithinSeasonBox, f.c.addFilesButton, f.c.removeUnusedButton,
        f.c.clearAllButton,     f.c.gageGrid,       f.c.period(run::PeriodKind::all),
        f.c.firstYearEdit,      f.c.lastYearEdit,   f.c.commentBox};
    f.c.seasonStartEdit->setFocus();
    for (qsizetype i = 1; i < order.size(); ++i) {
        if (order[i - 1] == f.c.gageGrid)
            f.c.gageGrid->setCurrentIndex(w.gageModel().index(1, GageTableModel::colStart));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), order[i]);
    }
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
