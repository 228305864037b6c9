#include <iostream>

#include "cli.h"
#include "descriptor_buffer.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#endif

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

}  // namespace

int main(int argc, char** argv) {
    useBinaryStandardStreams();
    const vd::cli::Args args(argv + 1, argv + argc);
    // Standard output keeps the reason of a refused write, for the message that follows.
    vd::DescriptorBuffer standardOutput(1);
    std::ostream out(&standardOutput);
    return vd::cli::cliMain(args, out, std::cerr);
}
