#pragma once

// The command-line run of the model, as a function so that tests call it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace vasora::cli {

/// Runs the command line `args` (without the program name), printing the report to `out` and
/// usage or errors to `err`. Returns the exit status: 0 done, 1 usage error, 2 a value or file
/// was refused (a --set change, an interval, a parameter-set file; the other options still ran).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vasora::cli
