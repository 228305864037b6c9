#include "program_main.h"

#include <iostream>

#include "descriptor_buffer.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vd::cli {
namespace {

// Reports already end their lines in CR LF; Windows' text mode would add a second CR.
// The console shows the UTF-8 that the program writes (its manifest makes it UTF-8).
void useBinaryStandardStreams() {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
#endif
}

// A standard descriptor that the caller closed would be taken by the first file the
// program opens, and get a report meant for the terminal: each is held by the null device.
// A closed standard output stays closed for the report (its writes fail and are reported).
int standardOutputDescriptor() {
#if defined(_WIN32)
    return 1;
#else
    const bool outputOpen = ::fcntl(1, F_GETFD) != -1;
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) == -1) {
            const int held = ::open("/dev/null", O_RDWR);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    return outputOpen ? 1 : -1;
#endif
}

}  // namespace

int programMain(int argc, char** argv, const ProgramEntry& entry) {
    useBinaryStandardStreams();
    const Args args(argv + 1, argv + argc);
    DescriptorBuffer standardOutput(standardOutputDescriptor());
    std::ostream out(&standardOutput);
    return entry(args, out, std::cerr);
}

}  // namespace vd::cli
