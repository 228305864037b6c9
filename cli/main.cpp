#include "cli.h"
#include "program_main.h"

int main(int argc, char** argv) {
    return vd::cli::programMain(argc, argv, vd::cli::cliMain);
}
