// Placeholder until the calculation-run commands land; removed by them.
#include "cli.h"

namespace vd::cli {

int cmdRun(const Args&, std::ostream&, std::ostream& err) {
    err << "vando3-cli run: not built yet\n";
    return 1;
}
int cmdExcursions(const Args&, std::ostream&, std::ostream& err) {
    err << "vando3-cli excursions: not built yet\n";
    return 1;
}

}  // namespace vd::cli
