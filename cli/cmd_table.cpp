#include <memory>

#include "calc_state.h"
#include "cli.h"
#include "gage_rows.h"
#include "season_date.h"

namespace vd::cli {
namespace {

struct TableOptions {
    std::string seasonStart = "Apr 1";
    std::string seasonEnd = "Mar 31";
    std::vector<std::string> files;
};

bool parseTableOptions(const Args& args, TableOptions& o, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--season-start" || a == "--season-end") {
            if (i + 1 >= args.size()) {
                err << "vando3-cli table: " << a << " needs a value\n";
                return false;
            }
            (a == "--season-start" ? o.seasonStart : o.seasonEnd) = args[++i];
        } else if (a.starts_with("--")) {
            err << "vando3-cli table: unknown option " << a << "\n";
            return false;
        } else {
            o.files.push_back(a);
        }
    }
    if (o.files.empty()) {
        err << "vando3-cli table: no flow file given\n";
        return false;
    }
    return true;
}

}  // namespace

int cmdTable(const Args& args, const A193& /*lib*/, std::ostream& out, std::ostream& err) {
    TableOptions o;
    if (!parseTableOptions(args, o, err)) return 2;
    if (!niceenoughdate(o.seasonStart).valid()) {
        err << "Invalid start date\n";
        return 1;
    }
    if (!niceenoughdate(o.seasonEnd).valid()) {
        err << "Invalid end date\n";
        return 1;
    }

    auto state = std::make_unique<CalcState>();
    int row = 0;
    int status = 0;
    for (const std::string& path : o.files) {
        try {
            for (const TableGage& g : readGagesForTable(*state, path, o.seasonStart, o.seasonEnd))
                out << rowNumberText(++row) << '\t' << g.name << '\t' << g.file << '\t' << g.record
                    << '\t' << g.start << '\t' << g.end << '\t' << (g.use ? 1 : 0) << '\n';
        } catch (const std::exception& e) {
            err << readErrorMessage(path, e) << '\n';
            status = 1;
        }
    }
    return status;
}

}  // namespace vd::cli
