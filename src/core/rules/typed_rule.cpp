#include "rules/typed_rule.h"

#include <algorithm>

#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

constexpr std::string_view kNotations =
    "the box reads Zentorix tokens (NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,), "
    "Generations (345/2/4 or B2/S345/C4) and OldLife (B3/S23 or 23/3)";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// A token name followed by its number somewhere in the text.
bool HasToken(std::string_view text) {
    auto numberAt = [text](std::size_t at) {
        return at < text.size() && (text[at] == '-' || (text[at] >= '0' && text[at] <= '9'));
    };
    for (std::string_view name : {"HI", "EX", "RB", "RS"})
        for (std::size_t at = text.find(name); at != text.npos; at = text.find(name, at + 1))
            if (numberAt(at + name.size()))
                return true;
    for (const PositionToken& p : kPositionTokens)
        for (std::size_t at = text.find(p.name); at != text.npos; at = text.find(p.name, at + 1))
            if (numberAt(at + p.name.size()))
                return true;
    return false;
}

// "345/2/4", "345/2/" or "345/2/0": digits in three parts, a state count of at
// most 256 (the longest history the editor offers).
bool IsPlainGenerations(std::string_view text) {
    if (std::count(text.begin(), text.end(), '/') != 2 ||
        text.find_first_not_of("0123456789/") != text.npos)
        return false;
    const std::string_view states = text.substr(text.rfind('/') + 1);
    return states.empty() || (states.size() <= 3 && ParseInteger(states).value_or(999) <= 256);
}

}  // namespace

std::string_view TypedRuleFamily(std::string_view text) {
    text = Trim(text);
    if (text.substr(0, 3) == "#R ")
        text = Trim(text.substr(3));
    if (HasToken(text))
        return kFamilyZentorix;
    const auto slashes = std::count(text.begin(), text.end(), '/');
    if (slashes == 2)
        return kFamilyGenerations;
    if (slashes == 1 || text.find_first_of("BbSs") != text.npos)
        return kFamilyOldLife;
    return {};
}

TypedRuleResult ReadTypedRule(RuleSet& rules, std::string_view typed) {
    std::string_view text = Trim(typed);
    if (text.substr(0, 3) == "#R ")
        text = Trim(text.substr(3));
    const std::string_view family = TypedRuleFamily(text);
    std::string quoted(1, '\'');
    quoted.append(text).push_back('\'');
    if (family.empty())
        return {{}, quoted + " is not a rule: " + std::string(kNotations)};

    RuleSet scratch = rules;
    if (family == kFamilyZentorix) {
        try {
            ParseRuleText(scratch, text, kFamilyZentorix);
        } catch (const FormatError& e) {
            return {{}, std::string(e.what()) + "; " + std::string(kNotations)};
        }
    } else if (ReadOldLifeRule(text)) {
        // Letters, slashes, state counts and V/H suffixes, read whole.
        ParseRuleText(scratch, text, kFamilyOldLife);
    } else if (family == kFamilyGenerations && IsPlainGenerations(text)) {
        // A state count of 0 or 1 (or none) names a rule without history.
        ParseRuleText(scratch, text, kFamilyGenerations);
    } else {
        return {
            {},
            quoted + " does not read as " + std::string(family) + ": " + std::string(kNotations)};
    }
    rules = std::move(scratch);
    return {std::string(family), {}};
}

TypedRuleResult ApplyTypedRule(World& world, std::string_view typed) {
    RuleSet& edited = world.Rules.at(static_cast<std::size_t>(world.Editor.EditedRuleSet));
    TypedRuleResult result = ReadTypedRule(edited, typed);
    if (result.problem.empty())
        RefreshRuleEditor(world, world.Editor.EditedRuleSet);
    return result;
}

}  // namespace zentorix
