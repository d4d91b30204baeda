#include "engine/rule_text.h"

#include <array>
#include <vector>

#include "formats/format_error.h"
#include "model/world.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// Adds one entry d for each digit d 0..9 that occurs anywhere in the text.
void AddDigits(std::vector<std::int32_t>& list, std::string_view text) {
    for (char d = '0'; d <= '9'; ++d)
        if (text.find(d) != std::string_view::npos)
            RuleSet::AddSum(list, d - '0');
}

// Splits at the first "/": the part up to and including it, and the rest. Without
// a slash the first part is the whole text and the rest is empty.
std::pair<std::string_view, std::string_view> SplitAtSlash(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, slash + 1), text.substr(slash + 1)};
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

struct TokenName {
    std::string_view name;
    int position;  // weight index, or -1 for HI/EX/RB/RS
};

const std::array<TokenName, kPositionCount + 4>& TokenNames() {
    static const std::array<TokenName, kPositionCount + 4> names = [] {
        std::array<TokenName, kPositionCount + 4> n{};
        for (int i = 0; i < kPositionCount; ++i)
            n[i] = {kPositionTokens[i].name,
                    PositionIndex(kPositionTokens[i].dx, kPositionTokens[i].dy)};
        n[kPositionCount + 0] = {"HI", -1};
        n[kPositionCount + 1] = {"EX", -1};
        n[kPositionCount + 2] = {"RB", -1};
        n[kPositionCount + 3] = {"RS", -1};
        return n;
    }();
    return names;
}

void ParseTokens(RuleSet& rules, std::string_view source) {
    std::string text(source);
    if (text.empty() || text.back() != ',')
        text += ',';
    const std::string_view t = text;
    // The names by their first letter: most places of a long text begin no name,
    // the others one of a few.
    static const std::array<std::vector<TokenName>, 256> byFirstLetter = [] {
        std::array<std::vector<TokenName>, 256> names;
        for (const TokenName& token : TokenNames())
            names[static_cast<unsigned char>(token.name[0])].push_back(token);
        return names;
    }();
    for (std::size_t p = 0; p < t.size(); ++p) {
        for (const TokenName& token : byFirstLetter[static_cast<unsigned char>(t[p])]) {
            if (t.compare(p, token.name.size(), token.name) != 0)
                continue;
            // The value runs from after the name to the next comma; any signed
            // 32-bit value is accepted so that whatever the writer wrote reads back.
            const std::size_t start = p + token.name.size();
            const std::size_t comma = t.find(',', start);
            const std::int32_t value = ToInteger(t.substr(start, comma - start));
            if (token.position >= 0) {
                rules.Weights[token.position] = value;
            } else if (token.name == "HI") {
                rules.HistoryRange = value;
                rules.History = value >= 2;
            } else if (token.name == "EX") {
                rules.ExtendedValue = value;
                rules.Extended = value != 0;
            } else if (token.name == "RB") {
                RuleSet::AddSum(rules.BirthList, value);
            } else {
                RuleSet::AddSum(rules.SurvivalList, value);
            }
        }
    }
}

void ParseSlashNotation(RuleSet& rules, std::string_view text, bool generations) {
    auto [survival, rest] = SplitAtSlash(text);
    if (text.find('/') == std::string_view::npos) {
        // No slash at all: Life takes its birth digits from the whole text.
        survival = {};
        rest = text;
    }
    AddDigits(rules.SurvivalList, survival);
    if (!generations) {
        AddDigits(rules.BirthList, rest);
        rules.History = false;
        return;
    }
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        rules.History = false;
        return;
    }
    AddDigits(rules.BirthList, rest.substr(0, slash + 1));
    const std::string_view states = TrimBlanks(rest.substr(slash + 1));
    if (states.empty()) {
        rules.History = false;
        return;
    }
    rules.HistoryRange = ToInteger(states);
    rules.History = rules.HistoryRange != 0 && rules.HistoryRange != 1;
}

void ParseOldLife(RuleSet& rules, std::string_view text) {
    const std::size_t marker = text.find("rule = ");
    if (marker != std::string_view::npos)
        text = text.substr(marker);
    // Suffixes such as ":T100,100" name a bounded grid, not the rule.
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos)
        text = text.substr(0, colon);
    const auto [first, rest] = SplitAtSlash(text);
    const bool birthFirst =
        first.find('B') != std::string_view::npos || first.find('b') != std::string_view::npos;
    AddDigits(birthFirst ? rules.BirthList : rules.SurvivalList, first);
    AddDigits(birthFirst ? rules.SurvivalList : rules.BirthList, rest);
}

}  // namespace

std::string FormatRuleTokens(const RuleSet& rules) {
    std::string out;
    auto token = [&out](std::string_view name, std::int64_t value) {
        out += name;
        out += std::to_string(value);
        out += ',';
    };
    for (int i = 0; i < kPositionCount; ++i) {
        if (i >= kInnerTokenCount && !rules.Extended)
            break;
        const PositionToken& p = kPositionTokens[i];
        token(p.name, rules.Weight(p.dx, p.dy));
    }
    token("HI", rules.History ? rules.HistoryRange : 0);
    token("EX", rules.Extended ? 2 : 0);
    for (std::int32_t sum : rules.BirthList)
        token("RB", sum);
    for (std::int32_t sum : rules.SurvivalList)
        token("RS", sum);
    return out;
}

std::string FormatDigitBoxes(const RuleEditorState& editor) {
    std::string out = "#R S";
    for (int d = 0; d <= 9; ++d)
        if (editor.S[d])
            out += static_cast<char>('0' + d);
    out += "/B";
    for (int d = 0; d <= 9; ++d)
        if (editor.B[d])
            out += static_cast<char>('0' + d);
    return out;
}

std::string RuleToString(const World& world, int mode, int index) {
    if (mode == 1)
        return FormatDigitBoxes(world.Editor);
    return FormatRuleTokens(world.Rules.at(static_cast<std::size_t>(index)));
}

void ParseRuleString(World& world, std::string_view text, std::string_view family, int index) {
    RuleSet& rules = world.Rules.at(static_cast<std::size_t>(index));
    if (StartsWith(text, "#R "))
        text.remove_prefix(3);
    if (StartsWith(text, "#RULE "))
        text.remove_prefix(6);
    rules.BirthList.clear();
    rules.SurvivalList.clear();

    const bool classic = family == kFamilyGenerations || family == kFamilyLife ||
                         family == kFamilyVote || family == kFamilyOldLife;
    if (classic) {
        rules.Extended = false;
        rules.ExtendedValue = 0;
        for (int i = 0; i < kInnerTokenCount; ++i) {
            const PositionToken& p = kPositionTokens[i];
            rules.Weights[PositionIndex(p.dx, p.dy)] = 1;
        }
        rules.Weights[kCentre] = family == kFamilyVote ? 1 : 0;
        world.Editor.B.fill(false);
        world.Editor.S.fill(false);
    }

    try {
        if (family == kFamilyZentorix || family == kFamilyWLife) {
            ParseTokens(rules, text);
        } else if (family == kFamilyLife || family == kFamilyGenerations) {
            ParseSlashNotation(rules, text, family == kFamilyGenerations);
        } else if (family == kFamilyOldLife) {
            ParseOldLife(rules, text);
        } else if (family == kFamilyVote) {
            AddDigits(rules.BirthList, text);
            AddDigits(rules.SurvivalList, text);
            rules.History = false;
        }
    } catch (const FormatError&) {
        // Keep the editor in step with what was read before the bad token.
        RefreshRuleEditor(world, world.Editor.EditedRuleSet);
        throw;
    }
    RefreshRuleEditor(world, world.Editor.EditedRuleSet);
}

}  // namespace zentorix
