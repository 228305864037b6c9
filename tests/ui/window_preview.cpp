// A look at the main and results windows under a virtual display, for the eye: the main
// window opens the given parameter file, is made larger with the Gage column dragged wider,
// a season text that is no date is refused, then the results window shows the hint of its
// biological flow. Each step is grabbed from the screen into the given folder.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <vector>

#include "gage_grid.h"
#include "gage_table_model.h"
#include "main_window.h"
#include "main_window_run.h"
#include "prompts.h"
#include "results/results_grid.h"
#include "results/results_window.h"
#include "ui_fakes.h"
#include "vd_a193.h"

namespace {

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
    const vd::A193 lib = vd::A193::load(vd::programFolder());
    vd::ui::MainWindow main({prompts, help, QString(), &lib, {}});
    main.show();
    main.openArguments({vdp});

    std::vector<std::function<void()>> steps{
        [&] {
            main.resize(main.width() + 250, main.height() + 120);
            main.gageGrid->horizontalHeader()->resizeSection(vd::ui::GageTableModel::colFile, 260);
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
            main.seasonStartEdit->setFocus();
            main.seasonStartEdit->setText(QStringLiteral("hello"));
            main.commentBox->setFocus();
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
                                       results.hintAt(10, 0), results.grid);
                });
                QTimer::singleShot(2600, [&] { grab(out + "results_hint_type.png"); });
                QTimer::singleShot(2800, [&] {
                    d.accept();
                    QApplication::quit();
                });
            };
            main.calculate();
        },
    };
    for (std::size_t i = 0; i < steps.size(); ++i)
        QTimer::singleShot(1000 * static_cast<int>(i + 1), [&, i] { steps[i](); });
    return QApplication::exec();
}
