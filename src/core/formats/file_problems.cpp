#include "formats/file_problems.h"

namespace zentorix {

std::string FileProblemsText(const std::filesystem::path& file, FileAction action,
                             const FileProblems& problems) {
    if (problems.empty())
        return {};
    std::string text;
    text.append("\"").append(file.filename().string()).append("\" ");
    text.append(action == FileAction::Opened ? "opened" : "saved").append(" with problems:");
    for (const std::string& problem : problems)
        text.append("\n- ").append(problem);
    return text;
}

}  // namespace zentorix
