#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/rule_set.h"

namespace zentorix {

class World;
struct RuleEditorState;

// The rule families ParseRuleText knows.
inline constexpr std::string_view kFamilyZentorix = "Zentorix";
inline constexpr std::string_view kFamilyWLife = "WLife";
inline constexpr std::string_view kFamilyLife = "Life";
inline constexpr std::string_view kFamilyGenerations = "Generations";
inline constexpr std::string_view kFamilyOldLife = "OldLife";
inline constexpr std::string_view kFamilyVote = "Vote";

// A rule as the RLE headers of other Life programs write it: birth-first
// "B3/S23", survival-first "23/3", with a state count "345/2/4" or "B2/S345/C4",
// and a "V" (von Neumann) or "H" (hexagonal) neighbourhood suffix.
struct OldLifeRule {
    std::string birth, survival;  // the digits as written
    int states = 0;               // 0 for two-state rules
    char neighbourhood = 'M';     // 'M' Moore, 'V' von Neumann, 'H' hexagonal
};

// The rule when the whole text reads as one (a ":T.." or ":P.." grid suffix is
// ignored), else nothing.
std::optional<OldLifeRule> ReadOldLifeRule(std::string_view text);

// The neighbourhood letter of a rule that other Life programs can name by birth
// and survival counts: the cell itself weighs 0, the inner neighbours 1 (Moore,
// 'M') or 1 and 0 in the von Neumann ('V') or hexagonal ('H') pattern, no outer
// ring, and every sum a count the neighbourhood can reach. Nothing otherwise.
std::optional<char> CountNeighbourhood(const RuleSet& rules);

// Mode 0: the token text of a rule set, e.g.
// "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,".
std::string FormatRuleTokens(const RuleSet& rules);
// Mode 1: the classic survival/birth line from the editor's digit boxes, "#R S23/B3".
std::string FormatDigitBoxes(const RuleEditorState& editor);

// mode 0: rule set `index` as tokens; mode 1: the digit boxes of the editor.
std::string RuleToString(const World& world, int mode, int index);

// Reads rule text of the named family into rule set `index`. A malformed token
// value raises FormatError; what was read before it stays in the set. Callers
// outside the step use ParseRuleString, which also refreshes the rule editor.
void ParseRuleText(World& world, std::string_view text, std::string_view family, int index);
// The same on one rule set, leaving the editor's digit boxes alone (a rule read
// into a scratch set first).
void ParseRuleText(RuleSet& rules, std::string_view text, std::string_view family);

}  // namespace zentorix
