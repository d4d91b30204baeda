#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zentorix {

// Things that went wrong while a file was opened or saved without stopping it: a
// rule line that could not be read, data that gave no cell, a rule the chosen
// format cannot carry. Each entry is one sentence for the user.
using FileProblems = std::vector<std::string>;

enum class FileAction { Opened, Saved };

// The one text that tells the user about them: the window shows it in a message,
// the batch program prints it on standard error. Empty when there is nothing to say.
std::string FileProblemsText(const std::filesystem::path& file, FileAction action,
                             const FileProblems& problems);

}  // namespace zentorix
