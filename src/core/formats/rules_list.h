#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

class World;

// The rules list shows the built-in entries (positions 0..BuiltInPresetCount-1)
// followed by the rule files of the rules folder, given here by their names
// without ".rul".
int RulesListCount(const std::vector<std::string>& ruleFiles);
// The text of the entry at `position`; nothing for a position outside the list.
std::optional<std::string> RulesListEntry(int position, const std::vector<std::string>& ruleFiles);
// The first position whose entry has exactly this text (the tool-bar list chooses
// the rules-list entry of the same name this way).
std::optional<int> RulesListPosition(std::string_view text,
                                     const std::vector<std::string>& ruleFiles);

// The name a rule is saved under: a built-in entry's name would list a second
// entry of that name, so it becomes the first of "Name (2)", "Name (3)", ...
// that the list does not hold yet; any other name stays.
std::string RuleFileNameBesidePresets(std::string_view name,
                                      const std::vector<std::string>& ruleFiles);

// Puts the built-in rule of that name into the rule set the editor edits: the nine
// inner weights, history, "EX0" and the two lists; the outer-ring weights stay.
// A name that is not in the table changes no rule, but the editor is refreshed
// all the same. Gives whether the name was found.
bool ApplyBuiltInPreset(World& world, std::string_view name);

// The user chose the entry at `position` of the rules list: the list shows the
// entry's text, the description is emptied, and a built-in entry is applied to the
// edited rule set, a rule-file entry read from the rules folder into rule set 0.
// A position outside the list does nothing. A bad number in a rule file raises
// FormatError.
void SelectRulesListEntry(World& world, const std::filesystem::path& rulesFolder, int position,
                          const std::vector<std::string>& ruleFiles);

// The names of the rule files in the rules folder: every "*.rul" file, named
// without its extension, sorted so the list is the same on every system. A
// missing or unreadable folder gives an empty list.
std::vector<std::string> RefreshRuleFileList(const std::filesystem::path& rulesFolder);

// After the rule files were listed anew the list selects the position it showed
// before; a position that is now past the end selects nothing (-1).
int KeptListPosition(int position, const std::vector<std::string>& ruleFiles);

}  // namespace zentorix
