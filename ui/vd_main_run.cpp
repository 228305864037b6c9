// "Calculate Design Flows" and "&Run": the calculation run started from the main window.
// The results window comes with the run; until then the input is gathered and kept.
#include "vd_main.h"

namespace vd::ui {

void TForm1::Run1Click() {
    const vd::run::RunInput input = runInput();
    static_cast<void>(input);
}

}  // namespace vd::ui
