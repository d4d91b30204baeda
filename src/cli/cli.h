#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zentorix::cli {

// Runs the batch program on its arguments (without the program name), writing
// results to `out` and messages to `err`. Gives the exit status: 0 success,
// 1 a file that is missing, fits no format or cannot be read or written,
// 2 wrong usage.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zentorix::cli
