#pragma once

#include <filesystem>

namespace zentorix {

// The program's folders: what ships with it (language files, rule names, help,
// the Museum), read only, and what the user writes (settings, quick saves,
// palettes, layers, rules, screenshots, statistics). Run from its build folder
// the program keeps both in one place; installed, they are apart. Each
// sub-folder has one spelling.
struct ProgramFolder {
    // Where the user's files go.
    std::filesystem::path Root;
    // Where the shipped files are; empty when they lie in Root.
    std::filesystem::path Shipped{};

    const std::filesystem::path& Data() const { return Shipped.empty() ? Root : Shipped; }

    std::filesystem::path QuickSave() const { return Root / "QuickSave"; }
    std::filesystem::path Undo() const { return QuickSave() / "undo"; }
    std::filesystem::path Color() const { return Root / "Color"; }
    std::filesystem::path Field() const { return Root / "Field"; }
    std::filesystem::path Rules() const { return Root / "Rules"; }
    std::filesystem::path Screenshots() const { return Root / "screenshots"; }
    std::filesystem::path SettingsFile() const { return Root / "Zentorix.ini"; }
    std::filesystem::path Language() const { return Data() / "Language"; }
    std::filesystem::path Museum() const { return Data() / "Museum"; }

    // Creates the user's sub-folders that start-up provides when they are
    // missing (and the language folder where it is the user's own); failures are
    // not reported (the commands that need a folder report them).
    void CreateSubfolders() const;
};

// The per-user data folder: $XDG_DATA_HOME/Zentorix when that is an absolute
// path, else ~/.local/share/Zentorix.
std::filesystem::path UserDataFolder();

// The folders of a program whose executable lies in `executableFolder`.
// Installed (the shipped files in ../share/zentorix), the user's files go to
// `userDataFolder`, even where the executable's folder could be written (a
// program run as root must not write into /usr/bin). Otherwise the shipped
// files are beside the executable, and so are the user's when that folder is
// writable; else they go to `userDataFolder`. Nothing is copied anywhere.
ProgramFolder ChooseProgramFolder(const std::filesystem::path& executableFolder,
                                  bool executableFolderWritable,
                                  const std::filesystem::path& userDataFolder);

// ChooseProgramFolder with the executable folder's writability tried on disk
// and UserDataFolder().
ProgramFolder LocateProgramFolder(const std::filesystem::path& executableFolder);

}  // namespace zentorix
