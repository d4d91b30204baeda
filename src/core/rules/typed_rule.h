#pragma once

#include <string>
#include <string_view>

#include "model/rule_set.h"

namespace zentorix {

class World;

// The notation a typed rule text is read in: "Zentorix" for token text
// ("NW1,NN1,…,RB3,"), "Generations" for text with two slashes ("345/2/4",
// "B2/S345/C4"), "OldLife" for text with B or S letters or one slash ("B36/S23",
// "23/3"); empty for anything else (digits only, unknown letters).
std::string_view TypedRuleFamily(std::string_view text);

// What became of a typed rule: the notation it was read in, or why it was refused.
struct TypedRuleResult {
    std::string family;   // empty when refused
    std::string problem;  // the message for the user when refused
};

// Reads a typed rule over `rules` (the set it starts from): only a text that
// reads cleanly replaces it, so a bad text changes nothing. The batch census
// reads its rule lists with it, exactly as the box reads them.
TypedRuleResult ReadTypedRule(RuleSet& rules, std::string_view text);

// Reads a rule the user typed into a copy of the edited rule set; only a text
// that reads cleanly replaces the edited rule set (and refreshes the editor), so
// a bad text changes nothing.
TypedRuleResult ApplyTypedRule(World& world, std::string_view text);

}  // namespace zentorix
