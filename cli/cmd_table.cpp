#include "cli.h"

namespace vd::cli {

int cmdTable(const Args&, std::ostream&, std::ostream& err) {
    err << "vando3-cli table: not built yet\n";
    return 1;
}

}  // namespace vd::cli
