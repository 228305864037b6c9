// "Calculate Design Flows" and "&Run": the calculation run started from the main window.
// The engine does the work on this thread; the progress window repaints from its
// callback, and the results window is shown modally once the run has finished.
#include "main_window_run.h"

#include <QShortcut>

#include "engine.h"
#include "errors.h"
#include "help_viewer.h"
#include "main_window.h"
#include "prompts.h"
#include "results/excursion_window.h"
#include "results/progress_window.h"
#include "results/results_window.h"

namespace vd::ui {
namespace {

constexpr int resultsHelpContext = 5;
constexpr int excursionHelpContext = 6;

// F1 in the results and excursion windows asks for their own help contexts.
void connectHelp(ResultsWindow& results, const std::function<void(QWidget* window)>& showHelp) {
    results.setProperty("helpContext", resultsHelpContext);
    results.excursionWindow().setProperty("helpContext", excursionHelpContext);
    for (QWidget* window :
         {static_cast<QWidget*>(&results), static_cast<QWidget*>(&results.excursionWindow())}) {
        auto* f1 = new QShortcut(QKeySequence::HelpContents, window);
        QObject::connect(f1, &QShortcut::activated, window,
                         [window, showHelp] { showHelp(window); });
    }
}

}  // namespace

ResultsWindow& resultsWindowOf(MainWindow& main) {
    if (auto* existing = main.findChild<ResultsWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new ResultsWindow(&main);
}

void MainWindow::calculate() {
    ResultsWindow& results = resultsWindowOf(*this);
    if (!results.property("helpContext").isValid())
        connectHelp(results, [this](QWidget* window) {
            const QWidget* focused = window->focusWidget();
            help_.displayContext(helpContextOf(focused ? focused : window));
        });
    const vd::run::RunInput input = runInput();
    auto showProgress = [this](const std::string& caption, int gauge) {
        progress_->progress(caption, gauge);
    };
    vd::run::RunResult result;
    try {
        if (lpiii_ == nullptr)
            throw vd::Error(vd::ErrorCode::calculation, "The log-Pearson library is not loaded.");
        result = vd::run::runCalculation(input, *lpiii_, showProgress);
    } catch (const std::exception& e) {
        // An abandoned run shows no results; the progress window must not stay behind.
        progress_->hide();
        prompts_.message(this, QStringLiteral("Error"), QString::fromStdString(e.what()),
                         MessageIcon::exclamation);
        return;
    }
    progress_->hide();
    results.setResults(std::move(result));
    results.setParameterFile(parameterFilePath);
    results.showResultsModally();
}

}  // namespace vd::ui
