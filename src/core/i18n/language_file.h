#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

// The texts the program composes at run time, by family; a language file
// replaces them by index ("MainStr[01]:СТОП;").
struct LanguageTexts {
    std::array<std::string, 2> MainStr;   // StartButton while stopped, while running
    std::array<std::string, 5> LandStr;   // plural threshold, two words, two prefixes
    std::array<std::string, 5> ColorStr;  // [1] ColorMode off, [2] on; [0], [3], [4] unused
    std::array<std::string, 27> StatStr;  // [1..26] the texts of "stat.txt"; [0] unused
    std::array<std::string, 4> DiagStr;   // [1] the overwrite question; [0], [2], [3] unused
};

// The built-in Ukrainian texts (the statistics texts are filled by whoever owns
// them: the statistics recorder has their built-in wording).
LanguageTexts DefaultLanguageTexts();

// What a language file says besides the text families, in file order: the
// window applies it to whatever controls it has.
struct LanguageFileContent {
    std::string code;  // "#LN": the language code shown in Panel16; empty when absent
    bool hasCode = false;
    // Component name (without the colon) and caption; "Panels[0]" is the status
    // bar's first panel.
    std::vector<std::pair<std::string, std::string>> captions;
    struct ListItem {
        std::string list;  // the list's component name (RegionsSelectorBox gives ComboBox2)
        int index = 0;
        std::string text;
    };
    std::vector<ListItem> listItems;
    // "Text[built-in text]:translation;": every other text of the window (tooltips,
    // messages, captions of our own), keyed by its built-in Ukrainian wording.
    std::vector<std::pair<std::string, std::string>> texts;
    // A non-numeric index stopped the file here; what came before stays applied.
    std::string error;
};

// The language line (line 2): "#LN:" code ";" display name.
struct LanguageRecord {
    std::string baseName;  // file name without ".lng"
    std::string code;
    std::string displayName;
};

inline constexpr char kDefaultLanguageFile[] = "ukraine.lng";
inline constexpr char kFirstStartMarker[] = "#SelLangStart";

// The list families: the key before "[" and the component whose items it replaces.
struct ListFamily {
    std::string_view key;
    std::string_view list;
};
inline constexpr std::array<ListFamily, 8> kListFamilies = {{
    {"CopyFromComboBox", "CopyFromComboBox"},
    {"CopyToComboBox", "CopyToComboBox"},
    {"LoadFieldSelector", "LoadFieldSelector"},
    {"LoadRulesSelector", "LoadRulesSelector"},
    {"RulesSelectorBox", "RulesSelectorBox"},
    {"RegionsSelectorBox", "ComboBox2"},
    {"ColorComboBox", "ColorComboBox"},
    {"GenColorComboBox", "GenColorComboBox"},
}};

// The 178 components a complete language file names: 52 menu items, then the
// other controls.
inline constexpr int kMenuComponentCount = 52;
extern const std::array<std::string_view, 178> kComponentKeys;

// Applies the text of a language file: the families go into `texts` (an index
// outside a family's range leaves the line unused), everything else is returned.
LanguageFileContent ReadLanguageText(std::string_view text, LanguageTexts& texts);

// The same for a file; nothing when the file cannot be read.
std::optional<LanguageFileContent> ReadLanguageFile(const std::filesystem::path& path,
                                                    LanguageTexts& texts);

// Every "*.lng" of the folder with its language line, by file name.
std::vector<LanguageRecord> RefreshLanguageList(const std::filesystem::path& languageFolder);

// The base name of a language file name ("english.lng" gives "english").
std::string LanguageBaseName(std::string_view fileName);

}  // namespace zentorix
