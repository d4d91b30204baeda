#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/temp_folder.h"
#include "formats/program_folder.h"

namespace zentorix {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::Tree;

// The shipped files as the build lays them beside the executables.
void Ship(const fs::path& folder) {
    fs::create_directories(folder / "Language");
    fs::create_directories(folder / "Museum" / "Guns");
    std::ofstream(folder / "Language" / "ukraine.lng") << "lng";
    std::ofstream(folder / "ZentorixUA.html") << "help";
    std::ofstream(folder / "Museum" / "Guns" / "gun.zlf") << "#Zentorix";
}

// Sets an environment variable until the end of the scope (nullopt: unset).
struct EnvironmentValue {
    const char* name;
    std::optional<std::string> old;
    EnvironmentValue(const char* n, const std::optional<std::string>& value) : name(n) {
        if (const char* v = std::getenv(n))
            old = v;
        Set(value);
    }
    ~EnvironmentValue() { Set(old); }
    void Set(const std::optional<std::string>& v) const {
        v ? setenv(name, v->c_str(), 1) : unsetenv(name);
    }
};

// Where the user's files and the shipped ones go for each way the program can
// lie on disk, and what the first start leaves in the user's folder: its own
// sub-folders and nothing of what ships.
TEST(ProgramFolder, ShippedAndUserFilesLiveWhereTheProgramLies) {
    struct Case {
        const char* what;
        const char* executable;  // relative to the test folder
        bool installed;          // the shipped files in ../share/zentorix
        bool writable;
        const char* root;   // "user" or relative to the test folder
        const char* data;   // relative to the test folder
        bool ownLanguages;  // the language folder is the user's own
    };
    const Case cases[] = {
        {"build folder", "build/bin", false, true, "build/bin", "build/bin", true},
        {"read-only build folder", "build/bin", false, false, "user", "build/bin", false},
        {"installed, run as root", "usr/bin", true, true, "user", "usr/share/zentorix", false},
        {"installed, folder given with a slash", "usr/bin/", true, true, "user",
         "usr/share/zentorix", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        const fs::path executable = dir / c.executable;
        fs::create_directories(executable);
        std::ofstream(executable / "zentorix") << "program";
        Ship(c.installed ? dir / "usr/share/zentorix" : executable);
        const std::set<std::string> shipped = Tree(dir.Path());
        const fs::path user = dir / "home/.local/share/Zentorix";

        const ProgramFolder folder = ChooseProgramFolder(executable, c.writable, user);
        const fs::path root = c.root == std::string("user") ? user : dir / c.root;
        EXPECT_EQ(folder.Root.lexically_normal(), root.lexically_normal());
        EXPECT_EQ(folder.Data().lexically_normal(), (dir / c.data).lexically_normal());
        EXPECT_TRUE(fs::exists(folder.Language() / "ukraine.lng") &&
                    fs::exists(folder.Museum() / "Guns" / "gun.zlf"));
        EXPECT_EQ(folder.SettingsFile(), folder.Root / "Zentorix.ini");

        folder.CreateSubfolders();
        std::set<std::string> made = {"QuickSave", "Color", "Field", "Rules"};
        if (c.ownLanguages) {
            // Beside the executable: the shipped folder is the user's too.
            made.insert({"Language", "Language/ukraine.lng", "ZentorixUA.html", "Museum",
                         "Museum/Guns", "Museum/Guns/gun.zlf", "zentorix"});
        }
        EXPECT_EQ(Tree(folder.Root), made);
        // The shipped files are where they were, and whatever was made lies in
        // the user's folder or on the way to it.
        const std::string rootName = folder.Root.lexically_relative(dir.Path()).generic_string();
        std::set<std::string> after = Tree(dir.Path());
        for (const std::string& name : shipped)
            EXPECT_EQ(after.erase(name), 1u) << name;
        for (const std::string& name : after)
            EXPECT_TRUE(name.rfind(rootName, 0) == 0 || rootName.rfind(name + "/", 0) == 0) << name;
    }
}

// $XDG_DATA_HOME names the user's data folder when it is an absolute path; an
// empty or relative one is ignored for ~/.local/share.
TEST(ProgramFolder, TheUserFolderFollowsXdgDataHome) {
    TempFolder dir;
    const std::string home = (dir / "home").string();
    const std::pair<std::optional<std::string>, fs::path> cases[] = {
        {(dir / "data").string(), dir / "data" / "Zentorix"},
        {std::string(), dir / "home/.local/share/Zentorix"},
        {std::string("relative/data"), dir / "home/.local/share/Zentorix"},
        {std::nullopt, dir / "home/.local/share/Zentorix"},
    };
    {
        const EnvironmentValue homeValue("HOME", home);
        for (const auto& [xdg, expected] : cases) {
            SCOPED_TRACE(xdg.value_or("(unset)"));
            const EnvironmentValue xdgValue("XDG_DATA_HOME", xdg);
            EXPECT_EQ(UserDataFolder(), expected);
        }
        // With neither, the system's temporary folder.
        const EnvironmentValue noHome("HOME", std::string());
        const EnvironmentValue noXdg("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(UserDataFolder(), fs::temp_directory_path() / "Zentorix");
    }

    // The first start makes the user's folder. A build folder that can be
    // written is the user's, one that is gone is not.
    const EnvironmentValue xdgValue("XDG_DATA_HOME", (dir / "data").string());
    fs::create_directories(dir / "build/bin");
    const struct {
        fs::path executable, root, data;
    } starts[] = {
        {dir / "build/bin", dir / "build/bin", dir / "build/bin"},
        {dir / "gone/bin", dir / "data/Zentorix", dir / "gone/bin"},
        // A folder no one may write into, not even root.
        {"/proc", dir / "data/Zentorix", "/proc"},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.executable);
        const ProgramFolder folder = LocateProgramFolder(start.executable);
        EXPECT_EQ(std::tuple(folder.Root, fs::is_directory(folder.Root), folder.Data()),
                  std::tuple(start.root, true, start.data));
    }
    EXPECT_EQ(Tree(dir / "build/bin").size(), 0u);
}

}  // namespace
}  // namespace zentorix
