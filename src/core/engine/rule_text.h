#pragma once

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

}  // namespace zentorix
