// A look at the main and results windows under a virtual display, for the eye: the main
// window opens the given parameter file, is made larger with the File column dragged wider,
// a season text that is no date is refused, the Use column's menu opens, a file of more than
// 100 gages (the optional third argument) is refused, then with a summer season the results
// window shows the hints of its biological flow and its percentile. Each step is grabbed
// from the screen into the folder given second.
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <vector>

#include "gage_grid.h"
#include "gage_table_model.h"
#include "log_pearson_library.h"
#include "main_window.h"
#include "main_window_run.h"
#include "prompts.h"
#include "results/grid_text_model.h"
#include "results/results_grid.h"
#include "results/results_window.h"
#include "ui_fakes.h"
#include "widget_lookup.h"

namespace {

using vd::test::child;

void grab(const QString& file) {
    QApplication::processEvents();
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) return 2;
    const QString vdp = args[1];
    const QString out = args[2] + QStringLiteral("/");
    vd::ui::WidgetPrompts prompts;
    vd::test::RecordingHelp help;
    const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    const QString helpFile = QCoreApplication::applicationDirPath() + "/Vando31.html";
    vd::ui::MainWindow main({prompts, help, helpFile, &lib, {}});
    main.show();
    main.openArguments({vdp});
    vd::ui::GageGrid* grid = child<vd::ui::GageGrid>(main, "gageGrid");

    std::vector<std::function<void()>> steps{
        [&] {
            main.resize(main.width() + 250, main.height() + 120);
            grid->horizontalHeader()->resizeSection(vd::ui::GageTableModel::colFile, 260);
        },
        [&] { grab(out + "main_widened.png"); },
        [&] {
            // The message box is modal: grab it from a timer while it is up.
            QTimer::singleShot(700, [&] {
                grab(out + "season_refused.png");
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->accept();
            });
            QApplication::setActiveWindow(&main);
            child<QLineEdit>(main, "seasonStart")->setFocus();
            child<QLineEdit>(main, "seasonStart")->setText(QStringLiteral("hello"));
            child<QPlainTextEdit>(main, "comments")->setFocus();
        },
        [&] {
            const QRect use =
                grid->visualRect(main.gageModel().index(0, vd::ui::GageTableModel::colUse));
            QTimer::singleShot(700, [&] {
                grab(out + "use_menu.png");
                grid->useMenu()->close();
            });
            grid->useMenu()->exec(grid->viewport()->mapToGlobal(use.center()));
        },
        [&] {
            if (args.size() < 4) return;
            QTimer::singleShot(700, [&] {
                grab(out + "many_gages.png");
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->accept();
            });
            main.addFlowFiles({args[3]});
        },
        [&] {
            // A summer season: the hints of the values over the whole record say so.
            child<QCheckBox>(main, "climaticYear")->setChecked(false);
            child<QLineEdit>(main, "seasonStart")->setText(QStringLiteral("Jun 1"));
            child<QLineEdit>(main, "seasonEnd")->setText(QStringLiteral("Sep 30"));
        },
        [&] {
            vd::ui::ResultsWindow& results = vd::ui::resultsWindowOf(main);
            results.showModally = [&](QDialog& d) {
                d.show();
                QTimer::singleShot(800, [&] {
                    const QRect cell = results.grid->visualRect(results.model().index(0, 4));
                    const QPoint at = results.grid->viewport()->mapToGlobal(cell.center());
                    QToolTip::showText(at, results.hintAt(4, 1), results.grid);
                });
                QTimer::singleShot(1600, [&] { grab(out + "results_hint_bio.png"); });
                QTimer::singleShot(1800, [&] {
                    const QRect cell = results.grid->visualRect(results.model().index(0, 10));
                    QToolTip::showText(results.grid->viewport()->mapToGlobal(cell.center()),
                                       results.hintAt(5, 0), results.grid);
                });
                QTimer::singleShot(2600, [&] { grab(out + "results_hint_summer_percentile.png"); });
                QTimer::singleShot(2800, [&] {
                    d.accept();
                    main.unsavedChanges = false;  // quitting closes the window: no question
                    QApplication::quit();
                });
            };
            main.calculate();
        },
    };
    // Each step starts a second after the one before has ended (a modal step ends when its
    // box is closed).
    std::function<void(std::size_t)> runFrom = [&](std::size_t i) {
        if (i == steps.size()) return;
        steps[i]();
        QTimer::singleShot(1000, [&, i] { runFrom(i + 1); });
    };
    QTimer::singleShot(1000, [&] { runFrom(0); });
    return QApplication::exec();
}
