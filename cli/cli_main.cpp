#include <map>

#include "cli.h"
#include "vd_a193.h"

namespace vd::cli {
namespace {

void usage(std::ostream& err) {
    err << "usage: vando3-cli table [--season-start TEXT] [--season-end TEXT] FILE...\n"
           "       vando3-cli run [options] FILE...\n"
           "       vando3-cli excursions --row R [options] FILE...\n"
           "       vando3-cli batch [options] [--jobs N] [--out FILE.csv] [--files-from LIST]\n"
           "                        [--quiet|--progress] PATH...\n"
           "options of run and excursions: --season-start TEXT --season-end TEXT\n"
           "  --climatic-year 1|0 --period all|common|longest|table|years:FIRST:LAST\n"
           "  --table-years ROW:START:END --bio acute|chronic|ammonia|custom:M,XMR,XMI,XME\n"
           "  --use-defaults 1|0 --nonbio hydro|flow|perc --avg LIST --rp N --flow X\n"
           "  --perc P --unmark ROW --comment LINE --advanced 1|0 --vdp FILE --timing\n";
}

}  // namespace

int cliMain(const Args& args, std::ostream& out, std::ostream& err) {
    using Command = int (*)(const Args&, const A193&, std::ostream&, std::ostream&);
    static const std::map<std::string, Command> commands = {
        {"table", cmdTable}, {"run", cmdRun}, {"excursions", cmdExcursions}, {"batch", cmdBatch}};
    if (args.empty()) {
        usage(err);
        return 2;
    }
    const auto it = commands.find(args[0]);
    if (it == commands.end()) {
        err << "vando3-cli: unknown command '" << args[0] << "'\n";
        usage(err);
        return 2;
    }
    // As the window does, the program starts no work without its log-Pearson library.
    try {
        const A193 lib = A193::load(programFolder());
        return it->second(Args(args.begin() + 1, args.end()), lib, out, err);
    } catch (const BindingError& e) {
        err << e.what() << '\n';
        return 1;
    }
}

}  // namespace vd::cli
