#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zentorix::cli {

// `census ...` and `census-summary ...` (arguments after the command name).
// Exit status as Main: 0 success, 1 a file problem, 2 wrong usage.
int CensusCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CensusSummaryCommand(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err);

// The usage lines and the explanation, for the program's help.
extern const char* const kCensusUsage;
extern const char* const kCensusHelp;

}  // namespace zentorix::cli
