#include "formats/program_folder.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace zentorix {

namespace {

bool IsWritableFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return false;
    const auto probe = folder / ".zentorix-write-probe";
    {
        std::ofstream out(probe);
        if (!out)
            return false;
    }
    std::filesystem::remove(probe, ec);
    return true;
}

std::filesystem::path InstalledData(const std::filesystem::path& executableFolder) {
    // "/usr/bin/" names the same folder as "/usr/bin".
    std::filesystem::path folder = executableFolder.lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    return folder.parent_path() / "share" / "zentorix";
}

bool IsInstalled(const std::filesystem::path& executableFolder) {
    std::error_code ec;
    return std::filesystem::is_directory(InstalledData(executableFolder), ec);
}

}  // namespace

void ProgramFolder::CreateSubfolders() const {
    std::error_code ec;
    for (const auto& folder : {QuickSave(), Color(), Field(), Rules()})
        std::filesystem::create_directories(folder, ec);
    if (Shipped.empty())
        std::filesystem::create_directories(Language(), ec);
}

std::filesystem::path UserDataFolder() {
    // Relative paths in the XDG variables are to be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME");
        xdg && *xdg && std::filesystem::path(xdg).is_absolute())
        return std::filesystem::path(xdg) / "Zentorix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "Zentorix";
    return std::filesystem::temp_directory_path() / "Zentorix";
}

ProgramFolder ChooseProgramFolder(const std::filesystem::path& executableFolder,
                                  bool executableFolderWritable,
                                  const std::filesystem::path& userDataFolder) {
    if (IsInstalled(executableFolder))
        return {userDataFolder, InstalledData(executableFolder)};
    if (executableFolderWritable)
        return {executableFolder, {}};
    return {userDataFolder, executableFolder};
}

ProgramFolder LocateProgramFolder(const std::filesystem::path& executableFolder) {
    const bool writable = !IsInstalled(executableFolder) && IsWritableFolder(executableFolder);
    ProgramFolder folder = ChooseProgramFolder(executableFolder, writable, UserDataFolder());
    std::error_code ec;
    std::filesystem::create_directories(folder.Root, ec);
    return folder;
}

}  // namespace zentorix
