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

std::filesystem::path UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "Zentorix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "Zentorix";
    return std::filesystem::temp_directory_path() / "Zentorix";
}

}  // namespace

void ProgramFolder::CreateSubfolders() const {
    std::error_code ec;
    for (const auto& folder : {QuickSave(), Color(), Field(), Rules(), Language()})
        std::filesystem::create_directories(folder, ec);
}

ProgramFolder LocateProgramFolder(const std::filesystem::path& executableFolder) {
    if (IsWritableFolder(executableFolder))
        return {executableFolder};
    ProgramFolder user{UserDataFolder()};
    std::error_code ec;
    if (!std::filesystem::exists(user.Root, ec)) {
        std::filesystem::create_directories(user.Root, ec);
        // Seed with the shipped data (not the programs themselves).
        for (const auto& entry : std::filesystem::directory_iterator(executableFolder, ec)) {
            const auto perms = entry.status(ec).permissions();
            const bool program =
                entry.is_regular_file(ec) &&
                (perms & std::filesystem::perms::owner_exec) != std::filesystem::perms::none;
            if (program)
                continue;
            std::filesystem::copy(entry.path(), user.Root / entry.path().filename(),
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::skip_existing,
                                  ec);
        }
    }
    return user;
}

}  // namespace zentorix
