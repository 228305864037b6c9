// `vando3-cli plot`: charts are drawn by Qt, which vando3-cli does without. The command runs
// the chart program beside it with the same arguments and standard streams.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli.h"
#include "log_pearson_library.h"
#include "utf8_path.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace vd::cli {
namespace {

#if defined(_WIN32)
constexpr const char* kPlotProgram = "vando3-plot.exe";
#else
constexpr const char* kPlotProgram = "vando3-plot";
#endif

// The program's exit status, or -1 with errno set when it could not be started.
int runAndWait(const std::filesystem::path& program, const Args& args) {
#if defined(_WIN32)
    std::vector<std::wstring> texts = {program.wstring()};
    for (const std::string& a : args) texts.push_back(pathFromUtf8(a).wstring());
    std::vector<const wchar_t*> argv;
    for (const std::wstring& t : texts) argv.push_back(t.c_str());
    argv.push_back(nullptr);
    return static_cast<int>(_wspawnv(_P_WAIT, program.c_str(), argv.data()));
#else
    std::vector<std::string> texts = {program.string()};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& t : texts) argv.push_back(t.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int started =
        posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (started != 0) {
        errno = started;
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) == -1)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
#endif
}

}  // namespace

int cmdPlotProgram(const Args& args, const LogPearsonLibrary& /*lib*/, std::ostream& out,
                   std::ostream& err) {
    const std::filesystem::path program = pathFromUtf8(programFolder()) / kPlotProgram;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(program, ec)) {
        err << "vando3-cli plot: charts are drawn by " << kPlotProgram
            << ", which is not installed beside vando3-cli (" << utf8Text(program) << ")\n";
        return 1;
    }
    out.flush();
    err.flush();
    const int status = runAndWait(program, args);
    if (status < 0) {
        err << "vando3-cli plot: cannot start " << utf8Text(program) << ": " << std::strerror(errno)
            << '\n';
        return 1;
    }
    return status;
}

}  // namespace vd::cli
