#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "formats/text_file.h"

namespace zentorix::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> lines;  // of the standard output
};

// Built piece by piece: chains of string + trip a false warning in GCC 12.
inline std::string Quote(const std::filesystem::path& p) {
    return std::string("'").append(p.string()).append("'");
}

// Runs the batch program in `dir` with the arguments (already quoted where
// needed). Standard error goes to `err`, or with `merged` into `out` in the
// order written.
inline CliResult RunCli(const std::filesystem::path& dir, const std::string& args,
                        bool merged = false) {
    const auto errFile = dir / "stderr.txt";
    std::string command = std::string("cd ").append(Quote(dir)).append(" && '");
    command.append(ZENTORIX_CLI).append("' ").append(args);
    command.append(merged ? " 2>&1" : " 2>" + Quote(errFile)).append(" </dev/null");
    CliResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (!merged)
        r.err = TempFolder::Read(errFile);
    r.lines = SplitLines(r.out);
    return r;
}

// A native file of a field `width` by `height` (as written) and the given lines.
inline std::string Zlf(const std::string& width, const std::string& height,
                       std::initializer_list<std::string> lines = {}) {
    std::string text = "#Zentorix\r\n#FileType zlf\r\n";
    text.append(KeyLine("#FieldHeight:", height)).append("\r\n");
    text.append(KeyLine("#FieldWidth:", width)).append("\r\n");
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

}  // namespace zentorix::test
