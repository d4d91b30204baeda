#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

class World;

// What a rule-name file says about one rule.
struct RuleNameEntry {
    std::array<std::string, 4> info;  // name, character, family, author
    std::vector<std::string> description;
};

inline constexpr char kFallbackRuleNameFile[] = "ukraine-rules.rlg";

// The first entry of the file text whose joined "#R " lines equal `rule`.
std::optional<RuleNameEntry> FindRuleName(std::string_view fileText, std::string_view rule);

// The language's rule-name file: its base name + "-rules.rlg" in the language
// folder, else "ukraine-rules.rlg"; nothing when neither exists.
std::optional<std::filesystem::path> RuleNameFile(const std::filesystem::path& languageFolder,
                                                  std::string_view languageFile);

// Shows the entry of `rule` in the rule editor's name, information lines and
// description: only the lines the entry has, and its description only where the
// editor holds none (a rule file's own stays as written). Without a rule-name
// file nothing changes; without an entry the information stays as RuleChanged
// left it and the list shows its first line.
void LookUpRuleName(World& world, const std::filesystem::path& languageFolder,
                    std::string_view languageFile, std::string_view rule);

}  // namespace zentorix
