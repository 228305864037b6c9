// A look at the plot window under a virtual display: the main window on the given flow
// files runs with the averaging periods "7,30"; the plot window of the first row opens
// over the results and shows each tab for a few seconds, then the program ends.
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

#include "log_pearson_library.h"
#include "main_window.h"
#include "main_window_run.h"
#include "plot_window.h"
#include "results/results_window.h"
#include "ui_fakes.h"
#include "widget_lookup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList paths = QApplication::arguments().mid(1);
    const int seconds = 3;
    vd::test::ScriptedPrompts prompts;
    vd::test::RecordingHelp help;
    const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    vd::ui::MainWindow main({prompts, help, QString(), &lib, {}});
    main.show();
    main.addFlowFiles(paths);
    vd::test::child<QLineEdit>(main, "averagingPeriods")->setText(QStringLiteral("7,30"));

    vd::ui::ResultsWindow& results = vd::ui::resultsWindowOf(main);
    vd::ui::PlotWindow* plots = nullptr;
    QTimer::singleShot(seconds * 1000, &results, [&] {
        plots = results.openPlot(1);
        if (plots) plots->move(0, 0);
    });
    for (int tab = 1; tab < 3; ++tab)
        QTimer::singleShot((tab + 1) * seconds * 1000, &results, [&, tab] {
            if (plots) plots->tabs->setCurrentIndex(tab);
        });
    QTimer::singleShot(4 * seconds * 1000, &results, [&] {
        results.accept();
        QApplication::quit();
    });
    QTimer::singleShot(0, &main, [&] { main.calculate(); });
    return QApplication::exec();
}
