#include "batch_progress.h"

#include <string>

namespace vd::cli {
namespace {

constexpr int barWidth = 24;

std::string clockText(double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    const long minutes = whole / 60;
    const long rest = whole % 60;
    return std::to_string(minutes) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& out) : out_(out) {}

void ProgressLine::show(const BatchCounts& c) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const double share = c.filesTotal ? static_cast<double>(c.filesDone) / c.filesTotal : 1.0;
    const int filled = static_cast<int>(share * barWidth);
    std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(barWidth - filled), '.') + "] " +
                       std::to_string(c.filesDone) + "/" + std::to_string(c.filesTotal) +
                       " files, " + std::to_string(c.gagesDone) + " gages";
    if (elapsed > 0 && c.gagesDone > 0)
        line += ", " + std::to_string(static_cast<long>(c.gagesDone / elapsed)) + " gages/s";
    if (c.filesDone > 0 && c.filesDone < c.filesTotal)
        line += ", " + clockText(elapsed / share - elapsed) + " left";
    out_ << line << "\x1b[K" << std::flush;  // erase what a longer line left
    shown_ = true;
}

void ProgressLine::finish() {
    if (shown_) out_ << '\n' << std::flush;
    shown_ = false;
}

}  // namespace vd::cli
