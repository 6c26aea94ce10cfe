#include <iostream>

#include "tools/vasora-cli/CliRun.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vasora::cli::run(args, std::cout, std::cerr);
}
