#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentorix {

// The rules built into the program. List positions 0..146 of the rules list are
// these entries in this order; rule files follow them.
inline constexpr int BuiltInPresetCount = 147;

// The name of built-in entry `index` (0-based); empty for an index outside the table.
std::string_view PresetName(int index);

// The rule string of built-in entry `index` in "Zentorix" notation, in the form
// RuleToString writes it: the nine inner weights, "HI", "EX0", the birth sums and
// then the survival sums in ascending order, every token followed by a comma.
// Empty for an index outside the table.
std::string PresetRuleString(int index);

// The index of the built-in entry with exactly this name (case-sensitive).
std::optional<int> FindPreset(std::string_view name);

}  // namespace zentorix
