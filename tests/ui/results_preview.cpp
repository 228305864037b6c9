// A look at the results windows under a virtual display: the main window on the given
// flow files runs with the averaging periods "7,30"; the results window stays up for a
// few seconds, then scrolled to its last column, then the excursion analysis of the first
// row, then the program ends.
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include "log_pearson_library.h"
#include "main_window.h"
#include "main_window_run.h"
#include "results/excursion_window.h"
#include "results/results_grid.h"
#include "results/results_window.h"
#include "ui_fakes.h"
#include "widget_lookup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList paths = QApplication::arguments().mid(1);
    const int seconds = 2;
    vd::test::ScriptedPrompts prompts;
    vd::test::RecordingHelp help;
    const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    vd::ui::MainWindow main({prompts, help, QString(), &lib, {}});
    main.show();
    main.addFlowFiles(paths);
    vd::test::child<QLineEdit>(main, "averagingPeriods")->setText(QStringLiteral("7,30"));

    vd::ui::ResultsWindow& results = vd::ui::resultsWindowOf(main);
    QTimer::singleShot(seconds * 1000, &results, [&] {
        QScrollBar* bar = results.grid->horizontalScrollBar();
        bar->setValue(bar->maximum());
    });
    QTimer::singleShot(2 * seconds * 1000, &results, [&] { results.onCellDoubleClicked(4, 1); });
    QTimer::singleShot(3 * seconds * 1000, &results, [&] {
        results.excursionWindow().accept();
        results.accept();
        QApplication::quit();
    });
    QTimer::singleShot(0, &main, [&] { main.calculate(); });
    return QApplication::exec();
}
