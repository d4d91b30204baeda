#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

class World;
struct RuleEditorState;

inline constexpr std::string_view kRuleFileExtension = ".rul";
// A rule string is stored in lines of at most this many characters.
inline constexpr std::size_t kRuleLinePiece = 77;

// The "#R0 " lines that carry a rule string: pieces of 77 characters, and one
// empty "#R0 " line after a string whose length is a multiple of 77.
std::vector<std::string> RuleStringLines(std::string_view rule);

// The whole rule file for the edited rule set under `name`: the heading, the name,
// the character, family and author lines, the rule lines and one "#D " line per
// description line. Lines end in CR LF.
std::string RuleFileText(const World& world, std::string_view name);

// The name a save uses: the shown text of the rules list, or, when that is empty,
// "Zentorix" followed by the number of list entries, which the list then shows.
std::string RuleFileSaveName(RuleEditorState& editor, int listEntryCount);

// The file a name is saved to: the name with ".rul" added.
std::filesystem::path RuleFilePath(const std::filesystem::path& rulesFolder, std::string_view name);
// Whether saving under `name` would overwrite a file (the caller asks first).
bool RuleFileExists(const std::filesystem::path& rulesFolder, std::string_view name);

// Writes the rule file of the edited rule set. The file is replaced as a whole or
// not at all; a name that is empty or holds a folder separator is refused. Throws
// FileError.
void SaveRuleFile(const World& world, const std::filesystem::path& rulesFolder,
                  std::string_view name);

// Reads rule-file lines: the information lines, the rule text ("#R0 " and "#R "
// pieces joined) and the description lines. A rule text goes into rule set 0. The
// information read is kept through the rule change, also when the rule text holds
// a bad number (FormatError is raised after the editor is back to normal).
void ApplyRuleFileText(World& world, std::string_view bytes);

// Reads the rule file `name` from the rules folder (".rul" is added when the name
// does not end in it). A missing file changes no rule; the author line is emptied
// all the same.
void LoadRuleFile(World& world, const std::filesystem::path& rulesFolder, std::string_view name);

}  // namespace zentorix
