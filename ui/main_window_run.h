// The calculation run's side of the main window: the results window it fills and shows.
#pragma once

namespace vd::ui {

class MainWindow;
class ResultsWindow;

// The main window's results window, created with its first use and reused by every run.
ResultsWindow& resultsWindowOf(MainWindow& main);

}  // namespace vd::ui
