// The calculation run's side of the main window: the results window it fills and shows.
#pragma once

namespace vd::ui {

class TForm1;
class TForm3;

// The main window's results window, created with its first use and reused by every run.
TForm3& resultsWindowOf(TForm1& main);

}  // namespace vd::ui
