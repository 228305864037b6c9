#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
    const vd::cli::Args args(argv + 1, argv + argc);
    return vd::cli::cliMain(args, std::cout, std::cerr);
}
