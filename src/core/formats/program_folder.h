#pragma once

#include <filesystem>

namespace zentorix {

// The program folder and its sub-folders. Each sub-folder has one spelling.
struct ProgramFolder {
    std::filesystem::path Root;

    std::filesystem::path QuickSave() const { return Root / "QuickSave"; }
    std::filesystem::path Undo() const { return QuickSave() / "undo"; }
    std::filesystem::path Color() const { return Root / "Color"; }
    std::filesystem::path Field() const { return Root / "Field"; }
    std::filesystem::path Rules() const { return Root / "Rules"; }
    std::filesystem::path Language() const { return Root / "Language"; }
    std::filesystem::path Screenshots() const { return Root / "screenshots"; }
    std::filesystem::path SettingsFile() const { return Root / "Zentorix.ini"; }

    // Creates the sub-folders that start-up provides when they are missing;
    // failures are not reported (the commands that need a folder report them).
    void CreateSubfolders() const;
};

// The folder of the executable when it is writable; otherwise (an installed
// program) the per-user data folder ($XDG_DATA_HOME/Zentorix, else
// ~/.local/share/Zentorix), seeded on first use from the shipped data next to
// the executable.
ProgramFolder LocateProgramFolder(const std::filesystem::path& executableFolder);

}  // namespace zentorix
