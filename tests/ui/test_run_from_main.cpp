// "Calculate Design Flows" from the main window: the results window shows what the engine
// computed, and a run the engine refuses shows its message and no results.
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "engine.h"
#include "errors.h"
#include "main_window_run.h"
#include "results/grid_text_model.h"
#include "results/progress_window.h"
#include "results/results_window.h"
#include "results_fixture.h"
#include "widget_lookup.h"

using namespace vd::ui;
using namespace vd::ui::testing;

class TestRunFromMainWindow final : public QObject {
    Q_OBJECT

  private slots:
    void runFillsTheResultsWithTheEngineCells();
    void f1AsksForTheWindowsOwnHelp();
    void refusedAveragingPeriodShowsTheMessageAndNoResults_data();
    void refusedAveragingPeriodShowsTheMessageAndNoResults();
    void closingTheResultsByTheirCaptionGivesTheMainWindowBack();
};

// The results shown as the program shows them, in their own modal loop, and closed as the
// window manager closes a window (its caption's close button), with a plot window open.
void TestRunFromMainWindow::closingTheResultsByTheirCaptionGivesTheMainWindowBack() {
    MainWindowFixture f;
    QVERIFY(f.addExamples());
    MainWindow& main = f.window();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    ResultsWindow& results = resultsWindowOf(main);
    bool closed = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &results, [&] {
        if (!results.isVisible() || closed) return;
        closed = true;
        QVERIFY(results.openPlot(1));
        results.windowHandle()->close();
    });
    poll.start(20);
    main.calculate();  // returns once the results window is closed
    QVERIFY(closed);
    QVERIFY(!results.isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // The main window takes input again: a click asks its question.
    const std::size_t asked = f.prompts().questions.size();
    QTest::mouseClick(vd::test::child<QPushButton>(main, "clearAll"), Qt::LeftButton);
    QCOMPARE(f.prompts().questions.size(), asked + 1);
}

void TestRunFromMainWindow::runFillsTheResultsWithTheEngineCells() {
    MainWindowFixture f;
    QVERIFY(f.addExamples());
    MainWindow& main = f.window();
    vd::test::child<QLineEdit>(main, "averagingPeriods")->setText(QStringLiteral("7,30"));
    QCOMPARE(static_cast<int>(main.runInput().rows.size()), 4);

    ResultsWindow& results = resultsWindowOf(main);
    QCOMPARE(&resultsWindowOf(main), &results);  // one window, reused by every run
    std::vector<std::vector<std::string>> shown;
    bool progressHidden = false;
    results.showModally = [&](QDialog& dialog) {
        QCOMPARE(&dialog, static_cast<QDialog*>(&results));
        shown = results.model().cells();
        progressHidden = main.progressWindow().isHidden();
    };
    QStringList captions;
    bool progressVisibleWhileRunning = true;
    connect(&main.progressWindow(), &QWidget::windowTitleChanged, this, [&](const QString& t) {
        const bool first = captions.isEmpty();
        captions << t;
        // The first caption is set before the window is shown.
        if (!first)
            progressVisibleWhileRunning =
                progressVisibleWhileRunning && main.progressWindow().isVisible();
    });

    main.calculate();

    QVERIFY(f.prompts().messages.empty());
    const vd::run::RunResult expected = vd::run::runCalculation(main.runInput(), f.lib());
    QCOMPARE(static_cast<int>(shown.size()), 4);
    QVERIFY(shown == expected.grid);
    QCOMPARE(static_cast<int>(shown.front().size()), 9 + 2 * 6);
    QVERIFY(progressHidden);
    QVERIFY(!captions.isEmpty());
    // Two typed periods, three gages, three steps each.
    QCOMPARE(captions.front(), QStringLiteral("Calculating - 0 of 18"));
    QVERIFY(progressVisibleWhileRunning);
}

void TestRunFromMainWindow::f1AsksForTheWindowsOwnHelp() {
    MainWindowFixture f;
    QVERIFY(f.addExamples());
    MainWindow& main = f.window();
    ResultsWindow& results = resultsWindowOf(main);
    results.showModally = [&](QDialog& dialog) {
        // Offscreen windows do not take the keyboard; the F1 shortcut is triggered directly.
        const QList<QShortcut*> shortcuts =
            dialog.findChildren<QShortcut*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(shortcuts.size(), 1);
        QCOMPARE(shortcuts.front()->key(), QKeySequence(QKeySequence::HelpContents));
        emit shortcuts.front()->activated();
        if (&dialog == &results) results.onCellDoubleClicked(4, 1);
    };

    main.calculate();

    QCOMPARE(f.help().calls, (std::vector<int>{5, 6}));
}

void TestRunFromMainWindow::refusedAveragingPeriodShowsTheMessageAndNoResults_data() {
    QTest::addColumn<QString>("periods");
    QTest::addColumn<QString>("message");
    // Every refusal names the field.
    QTest::newRow("empty entry") << "7,,30"
                                 << "Non-biological flow averaging period (days): " +
                                        QString::fromStdString(vd::invalidIntegerMessage(""));
    QTest::newRow("above 255") << "7,256"
                               << "Non-biological flow averaging period (days): '256' is not "
                                  "allowed; an averaging period is at most 255 days.";
    QTest::newRow("no period") << " "
                               << "Flow averaging period: give at least one number of days";
}

void TestRunFromMainWindow::refusedAveragingPeriodShowsTheMessageAndNoResults() {
    QFETCH(QString, periods);
    QFETCH(QString, message);
    MainWindowFixture f;
    QVERIFY(f.addExamples());
    MainWindow& main = f.window();
    vd::test::child<QLineEdit>(main, "averagingPeriods")->setText(periods);
    bool resultsShown = false;
    resultsWindowOf(main).showModally = [&](QDialog&) { resultsShown = true; };

    main.calculate();

    QVERIFY(!resultsShown);
    QCOMPARE(static_cast<int>(f.prompts().messages.size()), 1);
    QCOMPARE(f.prompts().messages.front().caption, QStringLiteral("Error"));
    QCOMPARE(f.prompts().messages.front().text, message);
    QVERIFY(main.progressWindow().isHidden());
}

QObject* makeRunFromMainWindowTests() {
    return new TestRunFromMainWindow;
}

#include "test_run_from_main.moc"
