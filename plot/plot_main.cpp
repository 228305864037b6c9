// vando3-plot: the charts of `vando3-cli plot`, in a program of their own so that
// vando3-cli needs no Qt. It takes the options of `vando3-cli plot`.
#include "plot_command.h"
#include "program_main.h"

int main(int argc, char** argv) {
    return vd::cli::programMain(
        argc, argv, [](const vd::cli::Args& args, std::ostream& out, std::ostream& err) {
            return vd::cli::runCommand(vd::cli::cmdPlot, args, out, err);
        });
}
